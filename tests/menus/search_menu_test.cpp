// The lists menu, the keypad entry screen, and a text entry run from the one on the other.
#include "menus/search_menu.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <filesystem>
#include <utility>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "fakes/file_size_limit.h"
#include "library/archive_scan.h"
#include "menus/alpha_input.h"
#include "menus/text_entry.h"
#include "platform/text_file.h"

using namespace kelvorn;

namespace {

struct CountingProgress : ScanProgress {
    int scans = 0;
    void scanStarted() override { ++scans; }
};

struct MenusRig : CoreRig {
    CountingProgress progress;
    SearchMenu menu{&stage, services, *transitions, progress};
    AlphaInput alpha{&stage, services};
    std::pair<int, int> opened;  // full list, custom list

    MenusRig() {
        svc.GFXSpeed = -1;    // no animation passes
        alpha.Timer1.stop();  // the entry's ticks are driven by the tests
        menu.openFullList = [this] { ++opened.first; };
        menu.openCustomList = [this] { ++opened.second; };
    }
    template <class Screen>
    static void keys(Screen& screen, const std::string& typed) {
        for (char c : typed) screen.keyTyped(std::string(1, c));
    }
    // Exactly one entry of the menu carries the highlighted look, the one at `index`.
    void expectHighlightOn(int index) const {
        EXPECT_EQ(menu.aktbutt(), index);
        const auto back = [this](int i) { return menu.MainButt[i]->palette().color(QPalette::Window); };
        for (int i = 0; i < 6; ++i) EXPECT_EQ(back(i) == back(index), i == index) << "entry " << i;
    }
    // The entry's pending character after each of the keys.
    std::string pendingAfterEach(const std::string& typed) {
        std::string seen;
        for (char c : typed) {
            alpha.keyTyped(std::string(1, c));
            seen += alpha.SearchChr();
        }
        return seen;
    }
    std::string entry() const { return svc.AlphaText + "|" + alpha.SearchChr(); }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) alpha.Timer1_Timer();
    }
    bool run() { return runTextEntry(services, *transitions, menu, alpha, "SAVE PLAYLIST"); }
};

}  // namespace

TEST(SearchMenu, HighlightWrapsDigitsLeaveItBackReturnsAndReopeningKeepsIt) {
    MenusRig rig;
    rig.main->FadeOut();
    rig.transitions->open(*rig.main, rig.menu);
    rig.keys(rig.menu, "q");
    rig.expectHighlightOn(5);
    rig.keys(rig.menu, "aacqc2");  // wraps to 0, Ok on entry 1, up and Ok on entry 0, digit 2
    EXPECT_EQ(rig.opened, std::pair(1, 2));
    rig.keys(rig.menu, "789z345");  // 7 to 9, unknown keys and entries without a screen do nothing
    rig.expectHighlightOn(0);
    EXPECT_EQ(rig.opened, std::pair(1, 2));
    rig.keys(rig.menu, "aaaac#");  // Ok on "SAVE PLAYLIST", then back
    EXPECT_TRUE(rig.menu.isHidden());
    for (auto* b : rig.main->MainButt) EXPECT_TRUE(b->isVisibleTo(rig.main.get()));
    rig.transitions->open(*rig.main, rig.menu);
    rig.expectHighlightOn(4);
    rig.svc.KeyUp = "1";  // key settings equal to a digit win over it
    rig.svc.KeyOk = "2";
    rig.keys(rig.menu, "11112");  // up to entry 0 and Ok on it, not the custom list
    EXPECT_EQ(rig.opened, std::pair(2, 2));
}

// A cache that cannot be written keeps its contents and the user is told; a music folder
// that is away leaves it alone.
TEST(SearchMenu, UpdateArchiveRescansAndRewritesTheCacheIgnoringKeysMeanwhile) {
    QTemporaryDir work;
    MenusRig rig;
    rig.services.workDir = work.path().toStdString();
    const std::string music = rig.services.workDir + "/music/", cache = rig.services.workDir + "/CashList.kvx";
    ASSERT_TRUE(QDir(work.path()).mkdir("music") && writeLinesAtomic(rig.services.workDir + "/Mp3Path.kvx", {music}));
    for (const char* name : {"b.mp3", "A.mp3"}) writeFileAtomic(music + name, "");
    int notices = 0;
    rig.services.notSaved = [&] { ++notices; };
    rig.transitions->open(*rig.main, rig.menu);
    rig.keys(rig.menu, "aa");
    const auto expectCache = [&](const std::string& lines, int16_t count) {
        std::string bytes;
        readFileBytes(cache, bytes);
        EXPECT_TRUE(bytes == lines && rig.svc.ArchiveCount == count && !rig.menu.isHidden()) << bytes;
        rig.expectHighlightOn(2);
    };
    rig.pump.onYield = [&] {
        rig.keys(rig.menu, "6#1q");
        emit rig.menu.frame.MainBack->clicked();
    };
    rig.keys(rig.menu, "6");
    rig.pump.onYield = nullptr;
    EXPECT_EQ(rig.progress.scans, 1);
    EXPECT_EQ(rig.opened, std::pair(0, 0));
    expectCache("A.mp3\r\nb.mp3\r\n", 1);
    writeFileAtomic(music + "c.mp3", "");
    EXPECT_FALSE(underFileSizeLimit(10, [&] { rig.keys(rig.menu, "6"); return notices == 0; }));
    expectCache("A.mp3\r\nb.mp3\r\n", 2);
    std::filesystem::remove_all(music);
    rig.keys(rig.menu, "6");
    expectCache("A.mp3\r\nb.mp3\r\n", 2);
    EXPECT_EQ(notices, 1);
    rig.keys(rig.menu, "q");  // keys work again afterwards
    rig.expectHighlightOn(1);
}

TEST(AlphaInput, MultiTapCommitsOnOtherKeyOrTimeOutAndAcceptCancelAndDeleteWork) {
    MenusRig rig;
    rig.svc.AlphaRunning = true;
    EXPECT_EQ(rig.pendingAfterEach("222"), "2AB");
    rig.ticks(29);
    EXPECT_EQ(rig.entry(), "|B");
    rig.ticks(1);
    EXPECT_EQ(rig.entry(), "B|");
    EXPECT_EQ(rig.pendingAfterEach("2222211"), "2ABC21_");
    rig.keys(rig.alpha, "99999900");
    emit rig.alpha.MainButt[6]->clicked();  // "7PQRS"
    EXPECT_EQ(rig.entry(), "B2_9+|7");
    rig.keys(rig.alpha, "x");
    emit rig.alpha.TVDEL->clicked();
    EXPECT_EQ(rig.entry(), "B2_9|");
    rig.keys(rig.alpha, "44c");  // accept commits the pending "G"
    EXPECT_TRUE(rig.svc.AlphaText == "B2_9G" && !rig.svc.AlphaRunning && !rig.svc.AlphaCancel);
    rig.alpha.FadeIn();
    EXPECT_EQ(rig.entry(), "|");
    rig.svc.AlphaRunning = true;
    rig.keys(rig.alpha, "53#");
    EXPECT_TRUE(rig.svc.AlphaCancel && !rig.svc.AlphaRunning && rig.entry() == "5|3");
    rig.svc.AlphaRunning = true;
    rig.svc.AlphaCancel = false;
    emit rig.alpha.frame.MainBack->clicked();
    EXPECT_TRUE(rig.svc.AlphaCancel && !rig.svc.AlphaRunning);
}

// Lower case folds to upper case; "B" reached by stepping belongs to key "2".
TEST(AlphaInput, UpAndDownStepThroughTheCharacterSet) {
    MenusRig rig;
    EXPECT_EQ(rig.pendingAfterEach(std::string(51, 'a')), "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`AB");
    rig.alpha.TVDEL_Click();
    EXPECT_EQ(rig.pendingAfterEach("q"), "Z");
    rig.keys(rig.alpha, std::string(200, 'q'));
    EXPECT_EQ(rig.alpha.SearchChr(), std::string(1, '\0'));  // stays at code 0
    rig.alpha.TVDEL_Click();
    rig.ticks(20);
    rig.keys(rig.alpha, std::string(25, 'q'));
    EXPECT_TRUE(rig.alpha.SearchChr() == "B" && rig.alpha.TimeOut() == 0);
    rig.keys(rig.alpha, "2");
    EXPECT_EQ(rig.entry(), "|C");
}

// The display is rewritten only on a change: "2" once, the mark on and off three times.
TEST(AlphaInput, CursorMarkShowsOneTickInSixOnlyChangesAreWrittenAndCountersStayBounded) {
    MenusRig rig;
    rig.svc.AlphaRunning = true;
    rig.keys(rig.alpha, "2");
    const QString mark(QChar(0x2588));
    std::string shown;
    const long passesBefore = rig.pump.passes;
    for (int tick = 1; tick <= 18; ++tick) {
        rig.ticks(1);
        shown += rig.alpha.displayText() == "2" ? '2' : rig.alpha.displayText() == mark ? 'M' : '?';
    }
    EXPECT_EQ(shown, "2222M22222M22222M2");
    EXPECT_EQ(rig.pump.passes - passesBefore, 7);
    rig.svc.AlphaRunning = false;
    rig.keys(rig.alpha, "6");
    rig.ticks(40000);
    EXPECT_TRUE(rig.alpha.TimeOut() >= 30 && rig.alpha.TimeOut2() >= 5 && rig.alpha.SearchChr() == "6");
    rig.svc.AlphaRunning = true;
    rig.ticks(1);  // the first tick commits and shows the mark
    EXPECT_EQ(rig.alpha.displayText(), "26" + mark);
}

// The sleep end (or the alarm) returns to the main screen while the entry waits; keys
// then may start a second entry, whose accept must not also accept the first.
TEST(TextEntry, ForcedReturnCancelsTheEntryAndALaterEntryIsNotTakenForIt) {
    MenusRig rig;
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
        MenusRig rig;
        rig.svc.GFXSpeed = 30;
        bool typed = false;
        rig.pump.onPass = [&] {
            if (!typed && !rig.alpha.isHidden() && rig.alpha.MainCont->isHidden() && rig.pump.passes > 50) {
                typed = true;
                rig.keys(rig.alpha, std::string("2") + key);
            }
        };
        const bool accept = std::string(key) == "c";
        EXPECT_EQ(rig.run(), accept) << key;
        EXPECT_TRUE(rig.svc.AlphaText == (accept ? "2" : "") && !rig.alpha.MainCont->isHidden()) << key;
    }
}
