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
        svc.GFXSpeed = -1;  // no animation passes
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
    std::string entry() const { return svc.AlphaText + "|" + alpha.SearchChr(); }
};

}  // namespace

TEST(AlphaInput, MultiTapCyclesTheKeySetAndCommitsOnOtherKeyOrTimeOut) {
    AlphaRig rig;
    EXPECT_EQ(rig.pendingAfterEach("222"), "2AB");
    rig.ticks(29);
    EXPECT_EQ(rig.entry(), "|B");
    rig.ticks(1);
    EXPECT_EQ(rig.entry(), "B|");
    rig.press("23");
    EXPECT_EQ(rig.entry(), "B2|3");
    rig.alpha.TVDEL_Click();
    EXPECT_EQ(rig.pendingAfterEach("22222"), "2ABC2");
    EXPECT_EQ(rig.pendingAfterEach("11"), "1_");  // commits the "2"
    rig.press("99999900");
    emit rig.alpha.MainButt[6]->clicked();  // "7PQRS"
    EXPECT_EQ(rig.entry(), "B22_9+|7");
}

TEST(AlphaInput, AcceptCancelAndDelete) {
    AlphaRig rig;
    rig.press("44c");  // accept commits the pending "G"
    EXPECT_TRUE(rig.svc.AlphaText == "G" && !rig.svc.AlphaRunning && !rig.svc.AlphaCancel);
    rig.alpha.FadeIn();
    EXPECT_EQ(rig.entry(), "|");
    rig.svc.AlphaRunning = true;
    rig.press("53#");
    EXPECT_TRUE(rig.svc.AlphaCancel && !rig.svc.AlphaRunning);
    EXPECT_EQ(rig.entry(), "5|3");
    rig.press("x");  // pending discarded, the text stays
    EXPECT_EQ(rig.entry(), "5|");
    emit rig.alpha.TVDEL->clicked();
    rig.press("x");
    EXPECT_EQ(rig.entry(), "|");
    rig.svc.AlphaRunning = true;
    rig.svc.AlphaCancel = false;
    emit rig.alpha.frame.MainBack->clicked();
    EXPECT_TRUE(rig.svc.AlphaCancel && !rig.svc.AlphaRunning);
}

TEST(AlphaInput, UpAndDownStepThroughTheCharacterSet) {
    AlphaRig rig;
    // Lower case folds back to upper case.
    EXPECT_EQ(rig.pendingAfterEach(std::string(51, 'a')), "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`AB");

    rig.alpha.TVDEL_Click();
    EXPECT_EQ(rig.pendingAfterEach("q"), "Z");
    rig.press(std::string(200, 'q'));
    EXPECT_EQ(rig.alpha.SearchChr(), std::string(1, '\0'));  // stays at code 0

    // A step restarts the time-out; "B" reached by stepping belongs to key "2".
    rig.alpha.TVDEL_Click();
    rig.ticks(20);
    rig.press(std::string(25, 'q'));
    EXPECT_TRUE(rig.alpha.SearchChr() == "B" && rig.alpha.TimeOut() == 0);
    rig.press("2");
    EXPECT_EQ(rig.entry(), "|C");
}

TEST(AlphaInput, CursorMarkShowsOneTickInSixOnlyChangesAreWrittenAndCountersStayBounded) {
    AlphaRig rig;
    rig.press("2");
    std::vector<int> markTicks;
    const long passesBefore = rig.pump.passes;
    for (int tick = 1; tick <= 18; ++tick) {
        rig.ticks(1);
        if (rig.alpha.displayText() == kMark) markTicks.push_back(tick);
        else EXPECT_EQ(rig.alpha.displayText(), "2") << "tick " << tick;
    }
    EXPECT_EQ(markTicks, (std::vector<int>{5, 11, 17}));
    // "2" once, then the mark on and off three times: one pass per change.
    EXPECT_EQ(rig.pump.passes - passesBefore, 1 + 3 * 2);

    // A long idle between entries: the counters stop high instead of wrapping.
    rig.svc.AlphaRunning = false;
    rig.press("6");
    bool bounded = true;
    for (int tick = 1; tick <= 1000000; ++tick) {
        rig.alpha.Timer1_Timer();
        if (tick >= 30 && (rig.alpha.TimeOut() < 30 || rig.alpha.TimeOut2() < 5)) bounded = false;
    }
    EXPECT_TRUE(bounded && rig.alpha.SearchChr() == "6");  // nothing commits while no entry runs
    rig.svc.AlphaRunning = true;
    rig.ticks(1);  // the first tick commits and shows the mark
    EXPECT_EQ(rig.alpha.displayText(), "26" + kMark);
}
