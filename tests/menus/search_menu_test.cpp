// SPDX-License-Identifier: GPL-3.0-or-later
// The lists menu, the keypad entry screen, and a text entry run from the one on the other.
#include "menus/search_menu.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <utility>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "fakes/file_size_limit.h"
#include "library/archive_scan.h"
#include "menus/alpha_input.h"
#include "menus/text_entry.h"
#include "platform/atomic_file.h"
#include "platform/text_file.h"

using namespace kelvorn;

namespace {

struct MenusRig : CoreRig {
    ScanProgress progress;
    SearchMenu menu{&stage, services, *transitions, progress};
    AlphaInput alpha{&stage, services};
    std::pair<int, int> opened;  // full list, custom list

    MenusRig() {
        svc.GFXSpeed = -1;    // no animation passes
        alpha.Timer1.stop();  // the entry's ticks are driven by the tests
        QObject::connect(&menu, &SearchMenu::fullListWanted, [this] { ++opened.first; });
        QObject::connect(&menu, &SearchMenu::customListWanted, [this] { ++opened.second; });
    }
    void menuKeys(const std::string& typed) {
        for (char c : typed) menu.keyTyped(std::string(1, c));
    }
    // Types on the entry screen; returns its pending character after each key.
    std::string alphaKeys(const std::string& typed) {
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

// Digits 7 to 0 do nothing. An update whose cache write fails keeps the old and says so; a
// music folder away leaves the cache alone; keys and clicks are dropped meanwhile.
TEST(SearchMenu, EntriesOpenTheirScreensAndUpdateArchiveRewritesTheCacheIgnoringKeysMeanwhile) {
    QTemporaryDir work;
    MenusRig rig;
    rig.services.workDir = work.path().toStdString();
    const std::string music = rig.services.workDir + "/music/", cache = rig.services.workDir + "/CashList.kvx";
    ASSERT_TRUE(std::filesystem::create_directory(music) &&
                writeLinesAtomic(rig.services.workDir + "/Mp3Path.kvx", {music}));
    for (const char* name : {"b.mp3", "A.mp3"}) writeFileAtomic(music + name, "");
    struct : NoticeBoard {
        int count = 0;
        void notice(const std::string&) override { ++count; }
    } notices;
    rig.services.notices = &notices;
    rig.transitions->open(*rig.main, rig.menu);
    rig.menuKeys("ac2z78903451a");
    EXPECT_EQ(rig.opened, std::pair(1, 2));
    const auto expectCache = [&](int16_t count) {
        std::string bytes;
        readFileBytes(cache, bytes);
        EXPECT_TRUE(bytes == "A.mp3\r\nb.mp3\r\n" && rig.svc.ArchiveCount == count && !rig.menu.isHidden()) << bytes;
    };
    rig.pump.onYield = [&] {
        rig.menuKeys("6#1q");
        emit rig.menu.frame.MainBack->clicked();
    };
    rig.menuKeys("6");
    EXPECT_TRUE(rig.opened == std::pair(1, 2) && rig.menu.aktbutt() == 2);
    expectCache(1);
    writeFileAtomic(music + "c.mp3", "");
    EXPECT_FALSE(underFileSizeLimit(10, [&] {
        rig.menuKeys("6");
        return notices.count == 0;
    }));
    expectCache(2);
    std::filesystem::remove_all(music);
    rig.menuKeys("6");
    expectCache(2);
    EXPECT_EQ(notices.count, 1);
    rig.menuKeys("q#");  // keys work again afterwards
    EXPECT_TRUE(rig.menu.isHidden() && rig.menu.aktbutt() == 1);
}

TEST(AlphaInput, MultiTapCommitsOnOtherKeyOrTimeOutAndAcceptCancelDeleteAndStepWork) {
    MenusRig rig;
    rig.svc.AlphaRunning = true;
    EXPECT_EQ(rig.alphaKeys("222"), "2AB");
    rig.ticks(29);
    EXPECT_EQ(rig.entry(), "|B");
    rig.ticks(1);
    EXPECT_EQ(rig.entry(), "B|");
    EXPECT_EQ(rig.alphaKeys("2222211"), "2ABC21_");
    rig.alphaKeys("9007");
    EXPECT_EQ(rig.entry(), "B2_9+|7");
    rig.alphaKeys("xx");  // the pending character, then the last one
    EXPECT_EQ(rig.entry(), "B2_9|");
    rig.alphaKeys("44c");  // accept commits the pending "G"
    EXPECT_TRUE(rig.svc.AlphaText == "B2_9G" && !rig.svc.AlphaRunning && !rig.svc.AlphaCancel);
    rig.alpha.FadeIn();
    EXPECT_EQ(rig.entry(), "|");
    // Up and down step the codes from "Z", lower case folded; a "B" so reached belongs to "2".
    EXPECT_EQ(rig.alphaKeys("qq" + std::string(9, 'a') + "2x"), "ZYZ[\\]^_`ABC");
    rig.svc.AlphaRunning = true;
    rig.alphaKeys("53#");
    EXPECT_TRUE(rig.svc.AlphaCancel && !rig.svc.AlphaRunning && rig.entry() == "5|3");
    // The ticks' counters stop at their top between entries: the next first tick commits "3".
    rig.ticks(40000);
    rig.svc.AlphaRunning = true;
    rig.ticks(1);
    EXPECT_EQ(rig.alpha.displayText(), "53" + QString(QChar(0x2588)));
}

// A forced return (sleep end, alarm) cancels the entry; a second entry's accept is not the first's.
TEST(TextEntry, ForcedReturnCancelsTheEntryAndALaterEntryIsNotTakenForIt) {
    MenusRig rig;
    rig.clock.set(23, 30, 0);
    rig.type("0");  // the sleep timer runs; the clock's next tick ends it
    rig.clock.set(1, 30, 0);
    bool innerAccepted = false;
    rig.pump.onPass = [&] {
        if (!rig.svc.AlphaRunning) return;
        if (rig.svc.AlphaEntry == 1) {
            rig.main->Timer1_Timer();
            EXPECT_TRUE(!rig.svc.AlphaRunning && rig.svc.AlphaCancel);
            innerAccepted = rig.run();
        } else {
            rig.svc.AlphaText = "B";
            rig.alpha.MainCont_Click();
        }
    };
    EXPECT_FALSE(rig.run());
    EXPECT_TRUE(innerAccepted);
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "07:00:00";
    rig.clock.set(7, 0, 0);
    rig.pump.onPass = [&] {
        if (rig.svc.AlphaRunning) rig.main->alarmClock().tick();
    };
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
                rig.alphaKeys(std::string("2") + key);
            }
        };
        const bool accept = std::string(key) == "c";
        EXPECT_EQ(rig.run(), accept) << key;
        EXPECT_TRUE(rig.svc.AlphaText == (accept ? "2" : "") && !rig.alpha.MainCont->isHidden()) << key;
    }
}
