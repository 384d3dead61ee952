// The keypad entry screen, and a text entry run from the lists menu on it.
#include "menus/alpha_input.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "library/archive_scan.h"
#include "menus/search_menu.h"
#include "menus/text_entry.h"

using namespace kelvorn;

namespace {

const QString kMark = QString(QChar(0x2588));

struct AlphaRig : CoreRig {
    ScanProgress progress;
    SearchMenu menu{&stage, services, *transitions, progress};
    AlphaInput alpha{&stage, services};

    AlphaRig() {
        svc.GFXSpeed = -1;    // no animation passes
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
    bool run() { return runTextEntry(services, *transitions, menu, alpha, "SAVE PLAYLIST"); }
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

// The mark blinks on one tick in six, and the display is rewritten only on a change: "2"
// once, then the mark on and off three times.
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
    EXPECT_EQ(rig.pump.passes - passesBefore, 7);
    // A long idle between entries, past the 16-bit range: the counters stop high instead
    // of wrapping, and nothing commits while no entry runs.
    rig.svc.AlphaRunning = false;
    rig.press("6");
    rig.ticks(40000);
    EXPECT_TRUE(rig.alpha.TimeOut() >= 30 && rig.alpha.TimeOut2() >= 5);
    EXPECT_EQ(rig.alpha.SearchChr(), "6");
    rig.svc.AlphaRunning = true;
    rig.ticks(1);  // the first tick commits and shows the mark
    EXPECT_EQ(rig.alpha.displayText(), "26" + kMark);
}

// The sleep end returns to the main screen while the entry waits. Keys served during
// its build-up may start a second entry; accepting that one must not also accept the
// first, which would then save the list under the second one's text. The alarm forces
// the main screen back too.
TEST(TextEntry, ForcedReturnCancelsTheEntryAndALaterEntryIsNotTakenForIt) {
    AlphaRig rig;
    rig.svc.AlphaRunning = false;
    rig.clock.set(23, 30, 0);
    rig.type("0");  // the sleep timer runs
    int phase = 0;
    bool innerAccepted = false;
    rig.pump.onPass = [&] {
        if (phase == 0 && rig.svc.AlphaRunning) {
            phase = 1;
            rig.clock.set(1, 30, 0);
            rig.main->Timer1_Timer();  // the sleep ends
            EXPECT_TRUE(!rig.svc.AlphaRunning && rig.svc.AlphaCancel);
            phase = 2;
            innerAccepted = rig.run();
        } else if (phase == 2 && rig.svc.AlphaRunning) {
            phase = 3;
            rig.svc.AlphaText = "B";
            rig.alpha.MainCont_Click();
        }
    };
    EXPECT_FALSE(rig.run());
    EXPECT_TRUE(innerAccepted && phase == 3);
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "07:00:00";
    rig.pump.onPass = [&] {
        if (rig.svc.AlphaRunning) rig.main->alarmClock().tick();
    };
    rig.clock.set(7, 0, 0);
    EXPECT_FALSE(rig.run());
}

TEST(TextEntry, AcceptOrCancelTypedWhileTheScreenBuildsUpCounts) {
    for (const char* key : {"c", "#"}) {
        AlphaRig rig;
        rig.svc.GFXSpeed = 30;
        bool typed = false;
        rig.pump.onPass = [&] {
            if (!typed && !rig.alpha.isHidden() && rig.alpha.MainCont->isHidden() && rig.pump.passes > 50) {
                typed = true;
                rig.press(std::string("2") + key);
            }
        };
        const bool accept = std::string(key) == "c";
        EXPECT_EQ(rig.run(), accept) << key;
        EXPECT_EQ(rig.svc.AlphaText, accept ? "2" : "") << key;  // the digit typed then counts
        EXPECT_FALSE(rig.alpha.MainCont->isHidden()) << key;     // the build-up went on to its end
    }
}
