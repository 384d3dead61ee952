#include "menus/alpha_input.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"

using namespace kelvorn;

namespace {

const QString kMark = QString(QChar(0x2588));

struct AlphaRig : CoreRig {
    AlphaInput alpha{&stage, services};

    AlphaRig() {
        svc.GFXSpeed = -1;  // no animation passes unless a test asks for them
        alpha.Timer1.stop();  // ticks are driven by the tests
        svc.AlphaRunning = true;
    }
    void press(const std::string& keys) {
        for (char c : keys) alpha.keyTyped(std::string(1, c));
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) alpha.Timer1_Timer();
    }
    // The pending character after each of the keys.
    std::string pendingAfterEach(const std::string& keys) {
        std::string seen;
        for (char c : keys) {
            press(std::string(1, c));
            seen += alpha.SearchChr();
        }
        return seen;
    }
};

}  // namespace

TEST(AlphaInput, MultiTapCyclesTheKeySetAndCommitsOnOtherKeyOrTimeOut) {
    AlphaRig rig;
    EXPECT_EQ(rig.alpha.Timer1.interval(), 50);
    EXPECT_EQ(rig.pendingAfterEach("222"), "2AB");
    EXPECT_EQ(rig.alpha.Timer1.interval(), 100);
    EXPECT_TRUE(rig.alpha.Timer1.isActive());
    rig.ticks(29);
    EXPECT_EQ(rig.alpha.SearchChr(), "B");
    rig.ticks(1);
    EXPECT_EQ(rig.svc.AlphaText + "|" + rig.alpha.SearchChr(), "B|");

    rig.svc.AlphaText.clear();
    rig.press("23");
    EXPECT_EQ(rig.svc.AlphaText + "|" + rig.alpha.SearchChr(), "2|3");

    rig.svc.AlphaText.clear();
    rig.alpha.TVDEL_Click();
    EXPECT_EQ(rig.pendingAfterEach("22222"), "2ABC2");
    EXPECT_EQ(rig.pendingAfterEach("11"), "1_");  // commits the "2"
    rig.press("99999900");
    emit rig.alpha.MainButt[6]->clicked();  // "7PQRS"
    EXPECT_EQ(rig.svc.AlphaText + "|" + rig.alpha.SearchChr(), "2_9+|7");
}

TEST(AlphaInput, AcceptCancelAndDelete) {
    AlphaRig rig;
    rig.press("44c");
    EXPECT_EQ(rig.svc.AlphaText, "G");
    EXPECT_FALSE(rig.svc.AlphaRunning || rig.svc.AlphaCancel);
    EXPECT_EQ(rig.alpha.SearchChr(), "G");  // kept until the next FadeIn

    rig.alpha.FadeIn();
    rig.svc.AlphaRunning = true;
    rig.press("53#");
    EXPECT_TRUE(rig.svc.AlphaCancel);
    EXPECT_FALSE(rig.svc.AlphaRunning);
    EXPECT_EQ(rig.svc.AlphaText, "5");
    EXPECT_EQ(rig.alpha.SearchChr(), "3");

    rig.press("x");  // pending discarded, the text stays
    EXPECT_EQ(rig.svc.AlphaText + "|" + rig.alpha.SearchChr(), "5|");
    emit rig.alpha.TVDEL->clicked();
    EXPECT_EQ(rig.svc.AlphaText, "");
    rig.press("x");
    EXPECT_EQ(rig.svc.AlphaText + rig.alpha.SearchChr(), "");

    rig.svc.AlphaRunning = true;
    emit rig.alpha.MainCont->clicked();
    EXPECT_FALSE(rig.svc.AlphaRunning || rig.svc.AlphaCancel);
    rig.svc.AlphaRunning = true;
    emit rig.alpha.frame.MainBack->clicked();
    EXPECT_FALSE(rig.svc.AlphaRunning);
    EXPECT_TRUE(rig.svc.AlphaCancel);
}

TEST(AlphaInput, UpAndDownStepThroughTheCharacterSet) {
    AlphaRig rig;
    EXPECT_EQ(rig.pendingAfterEach(std::string(51, 'a')), "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`AB");

    rig.alpha.TVDEL_Click();
    rig.press("q");
    EXPECT_EQ(rig.alpha.SearchChr(), "Z");
    for (int i = 0; i < 200; ++i) rig.press("q");
    EXPECT_EQ(rig.alpha.SearchChr(), std::string(1, '\0'));  // stays at code 0

    // A step restarts the time-out; "B" reached by stepping belongs to key "2".
    rig.alpha.TVDEL_Click();
    rig.ticks(20);
    rig.press("q");
    rig.press(std::string(24, 'q'));
    EXPECT_EQ(rig.alpha.SearchChr(), "B");
    EXPECT_EQ(rig.alpha.TimeOut(), 0);
    rig.press("2");
    EXPECT_EQ(rig.alpha.SearchChr(), "C");
    EXPECT_EQ(rig.svc.AlphaText, "");
}

TEST(AlphaInput, KeySettingsBeforeTheDigitsExceptDelete) {
    AlphaRig rig;
    rig.svc.KeyUp = "2";
    rig.svc.KeyAlt = "3";
    rig.press("2");
    EXPECT_EQ(rig.alpha.SearchChr(), "Z");
    rig.press("3zx!");  // the digit, then keys without an action here
    EXPECT_EQ(rig.svc.AlphaText + rig.alpha.SearchChr(), "Z3");
}

TEST(AlphaInput, CursorMarkShowsOneTickInSixAndDisplayIsWrittenOnlyOnChange) {
    AlphaRig rig;
    rig.press("2");
    std::vector<int> markTicks;
    long passesBefore = rig.pump.passes;
    for (int tick = 1; tick <= 18; ++tick) {
        rig.ticks(1);
        if (rig.alpha.displayText() == kMark) markTicks.push_back(tick);
        else EXPECT_EQ(rig.alpha.displayText(), "2") << "tick " << tick;
    }
    EXPECT_EQ(markTicks, (std::vector<int>{5, 11, 17}));
    // "2" once, then the mark on and off three times: one pass per change.
    EXPECT_EQ(rig.pump.passes - passesBefore, 1 + 3 * 2);

    // A digit key while the mark shows: the next tick shows the pending character.
    rig.ticks(5);
    rig.press("2");
    EXPECT_EQ(rig.alpha.displayText(), kMark);
    rig.ticks(1);
    EXPECT_EQ(rig.alpha.displayText(), "A");
    rig.ticks(3);  // and the blink counts from the mark that showed
    EXPECT_EQ(rig.alpha.displayText(), "A");
    rig.ticks(1);
    EXPECT_EQ(rig.alpha.displayText(), kMark);
    rig.ticks(2);
    EXPECT_EQ(rig.alpha.displayText(), "A");

    // Nothing visible happens while no entry runs.
    rig.svc.AlphaRunning = false;
    rig.press("3");
    rig.ticks(40);
    EXPECT_EQ(rig.alpha.displayText(), "A");
    EXPECT_EQ(rig.alpha.SearchChr(), "3");
}

TEST(AlphaInput, CountersStayBoundedThroughALongIdleAndTheNextEntryWorks) {
    AlphaRig rig;
    rig.svc.AlphaRunning = false;
    rig.press("6");
    bool bounded = true;
    for (int tick = 1; tick <= 1000000; ++tick) {
        rig.alpha.Timer1_Timer();
        if (tick >= 30 && (rig.alpha.TimeOut() < 30 || rig.alpha.TimeOut2() < 5)) bounded = false;
    }
    EXPECT_TRUE(bounded);
    EXPECT_EQ(rig.alpha.SearchChr(), "6");

    rig.svc.AlphaRunning = true;
    rig.ticks(1);  // the first tick commits and shows the mark
    EXPECT_EQ(rig.svc.AlphaText, "6");
    EXPECT_EQ(rig.alpha.displayText(), "6" + kMark);
    EXPECT_EQ(rig.alpha.TimeOut(), 0);
    rig.ticks(1);
    EXPECT_EQ(rig.alpha.displayText(), "6");
}

TEST(AlphaInput, FadeInClearsTheEntryAndBuildsUpInOrderFadeOutClearsAtOnce) {
    AlphaRig rig;
    rig.press("78");
    rig.ticks(1);
    rig.svc.GFXSpeed = 2;
    rig.alpha.FadeOut();
    EXPECT_FALSE(rig.alpha.MainButt[0]->isVisibleTo(&rig.alpha) || rig.alpha.TVDEL->isVisibleTo(&rig.alpha));
    EXPECT_TRUE(rig.alpha.AlphaDisplay->isVisibleTo(&rig.alpha));

    bool orderKept = true;
    int buttonsAtLine5 = -1;
    rig.pump.onPass = [&] {
        auto visible = [&](QWidget* w) { return w->isVisibleTo(&rig.alpha); };
        if (visible(rig.alpha.frame.Line1) != visible(rig.alpha.TVDEL)) orderKept = false;
        if (visible(rig.alpha.MainGo) || visible(rig.alpha.Shape2)) orderKept = false;
        if (visible(rig.alpha.MainCont) != visible(rig.alpha.Line6)) orderKept = false;
        if (visible(rig.alpha.Line5) && buttonsAtLine5 < 0) {
            buttonsAtLine5 = 0;
            for (auto* b : rig.alpha.MainButt) buttonsAtLine5 += visible(b);
        }
    };
    rig.pump.passes = 0;
    rig.alpha.FadeIn();
    // Title 26 x (150 + 1), six groups of 5001, ten buttons of 1001.
    EXPECT_EQ(rig.pump.passes, 26 * 151 + 6 * 5001 + 10 * 1001);
    EXPECT_TRUE(orderKept);
    EXPECT_EQ(buttonsAtLine5, 10);
    EXPECT_EQ(rig.svc.AlphaText, "");
    EXPECT_EQ(rig.alpha.SearchChr(), "");
    EXPECT_EQ(rig.alpha.displayText(), "78");  // the last caption, until the next tick
    EXPECT_TRUE(rig.alpha.MainGo->isVisibleTo(&rig.alpha) && rig.alpha.Shape2->isVisibleTo(&rig.alpha));

    rig.pump.onPass = nullptr;
    rig.pump.passes = 0;
    rig.alpha.frame.setTitleSize(5);  // as if a build-up had been cut short
    rig.alpha.FadeOut();
    EXPECT_EQ(rig.pump.passes, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{rig.alpha.frame.MainLabel, rig.alpha.frame.MainOff,
                                                      rig.alpha.frame.Line4, rig.alpha.TVDEL, rig.alpha.MainButt[9],
                                                      rig.alpha.Line5, rig.alpha.MainCont, rig.alpha.MainGo})
        EXPECT_FALSE(w->isVisibleTo(&rig.alpha));
    EXPECT_EQ(rig.alpha.frame.MainLabel->font().pointSizeF(), rig.twips.font("Arial", 26, true).pointSizeF());
}
