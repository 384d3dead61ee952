#include "menus/search_menu.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <utility>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "fakes/file_size_limit.h"
#include "library/archive_scan.h"
#include "platform/text_file.h"

using namespace kelvorn;

namespace {

// Records the caption of the update entry as each scan starts.
struct RecordingProgress : ScanProgress {
    const SearchMenu* menu = nullptr;
    std::vector<QString> captions;
    void scanStarted() override { captions.push_back(menu->MainButt[5]->text()); }
};

struct MenuRig : CoreRig {
    RecordingProgress progress;
    SearchMenu menu{&stage, services, *transitions, progress};
    int fullLists = 0;
    int customLists = 0;

    MenuRig() {
        svc.GFXSpeed = -1;  // no animation passes
        progress.menu = &menu;
        menu.openFullList = [this] { ++fullLists; };
        menu.openCustomList = [this] { ++customLists; };
    }
    void typeMenu(const std::string& keys) {
        for (char c : keys) menu.keyTyped(std::string(1, c));
    }
    void openMenu() { transitions->open(*main, menu); }
    // Exactly one entry carries the highlighted look, the one at `index`.
    void expectHighlightOn(int index) const {
        EXPECT_EQ(menu.aktbutt(), index);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(menu.MainButt[static_cast<size_t>(i)]->palette().color(QPalette::Window) == QColor(0xFF, 0x80, 0x00),
                      i == index) << "entry " << i;
    }
};

}  // namespace

TEST(SearchMenu, HighlightWrapsDigitsLeaveItBackReturnsAndReopeningKeepsIt) {
    MenuRig rig;
    rig.main->FadeOut();
    rig.openMenu();
    rig.typeMenu("q");
    rig.expectHighlightOn(5);
    rig.typeMenu("aacqc2");  // wraps to 0, Ok on entry 1, up and Ok on entry 0, digit 2
    EXPECT_EQ(std::pair(rig.fullLists, rig.customLists), std::pair(1, 2));
    // 7 to 9, unknown keys and entries without a screen yet do nothing here.
    rig.typeMenu("789z345");
    rig.expectHighlightOn(0);
    EXPECT_EQ(std::pair(rig.fullLists, rig.customLists), std::pair(1, 2));
    rig.typeMenu("aaaac#");  // Ok on "SAVE PLAYLIST", then back
    EXPECT_TRUE(rig.menu.isHidden());
    for (auto* b : rig.main->MainButt) EXPECT_TRUE(b->isVisibleTo(rig.main.get()));
    rig.openMenu();
    rig.expectHighlightOn(4);
}

TEST(SearchMenu, SecondBackWhileClosingRunsNoSecondTransition) {
    MenuRig rig;
    rig.openMenu();
    const long start = rig.pump.passes;
    rig.typeMenu("#");
    const long single = rig.pump.passes - start;
    rig.openMenu();
    bool again = true;
    rig.pump.onPass = [&] {
        if (std::exchange(again, false)) rig.typeMenu("#");
    };
    const long before = rig.pump.passes;
    rig.typeMenu("#");
    EXPECT_EQ(rig.pump.passes - before, single);
    EXPECT_TRUE(rig.menu.isHidden());
}

TEST(SearchMenu, KeySettingEqualToADigitWins) {
    MenuRig rig;
    rig.svc.KeyUp = "1";
    rig.svc.KeyOk = "2";
    rig.typeMenu("1");
    rig.expectHighlightOn(5);
    rig.typeMenu("a2");  // Ok on entry 0, not the custom list
    EXPECT_EQ(std::pair(rig.fullLists, rig.customLists), std::pair(1, 0));
}

// The update entry rescans the music folder and rewrites the cache, the menu staying;
// whatever arrives during the scan is taken but does nothing.
TEST(SearchMenu, UpdateArchiveRescansEmptyAndFilledFoldersIgnoringKeysMeanwhile) {
    QTemporaryDir work;
    MenuRig rig;
    ASSERT_TRUE(work.isValid() && QDir(work.path()).mkdir("music"));
    rig.services.workDir = work.path().toStdString();
    const std::string music = rig.services.workDir + "/music/";
    ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/Mp3Path.kvx", {music}));
    ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/CashList.kvx", {"gone.mp3"}));
    rig.openMenu();
    rig.typeMenu("aa");
    auto expectScanned = [&](const std::string& lines, int16_t count) {
        EXPECT_EQ(rig.menu.MainButt[5]->text(), "   6 - UPDATE ARCHIVE");
        EXPECT_FALSE(rig.menu.isHidden());
        std::string bytes;
        readFileBytes(rig.services.workDir + "/CashList.kvx", bytes);
        EXPECT_EQ(bytes, lines);
        EXPECT_EQ(rig.svc.ArchiveCount, count);
    };
    emit rig.menu.MainButt[5]->clicked();  // an empty folder
    expectScanned("", -1);
    rig.expectHighlightOn(2);

    for (const char* name : {"b.mp3", "A.mp3", "c.MP3", "notes.txt"}) writeFileAtomic(music + name, "");
    rig.pump.onYield = [&] {
        rig.typeMenu("6#1q");
        emit rig.menu.frame.MainBack->clicked();
    };
    rig.typeMenu("6");
    rig.pump.onYield = nullptr;
    EXPECT_EQ(rig.progress.captions, std::vector<QString>(2, "   !!! PLEASE WAIT !!!"));
    EXPECT_EQ(rig.fullLists, 0);
    expectScanned("A.mp3\r\nb.mp3\r\nc.MP3\r\n", 2);
    rig.expectHighlightOn(2);
    rig.typeMenu("q");  // keys work again afterwards
    rig.expectHighlightOn(1);

    // A cache that cannot be written keeps its contents and the user is told; a music
    // folder that is away leaves archive and cache alone.
    int notices = 0;
    rig.services.notSaved = [&] { ++notices; };
    writeFileAtomic(music + "d.mp3", "");
    EXPECT_FALSE(underFileSizeLimit(10, [&] { rig.typeMenu("6"); return notices == 0; }));
    expectScanned("A.mp3\r\nb.mp3\r\nc.MP3\r\n", 3);
    std::filesystem::remove_all(music);
    rig.typeMenu("6");
    expectScanned("A.mp3\r\nb.mp3\r\nc.MP3\r\n", 3);
    EXPECT_EQ(rig.svc.ArchiveList[3], "d.mp3");
    EXPECT_EQ(notices, 1);
}
