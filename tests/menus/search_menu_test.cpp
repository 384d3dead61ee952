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
    std::pair<int, int> opened;  // full list, custom list

    MenuRig() {
        svc.GFXSpeed = -1;  // no animation passes
        progress.menu = &menu;
        menu.openFullList = [this] { ++opened.first; };
        menu.openCustomList = [this] { ++opened.second; };
    }
    void typeMenu(const std::string& keys) {
        for (char c : keys) menu.keyTyped(std::string(1, c));
    }
    void openMenu() { transitions->open(*main, menu); }
    // Exactly one entry carries the highlighted look, the one at `index`.
    void expectHighlightOn(int index) const {
        EXPECT_EQ(menu.aktbutt(), index);
        const auto back = [this](int i) { return menu.MainButt[i]->palette().color(QPalette::Window); };
        for (int i = 0; i < 6; ++i) EXPECT_EQ(back(i) == back(index), i == index) << "entry " << i;
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
    EXPECT_EQ(rig.opened, std::pair(1, 2));
    // 7 to 9, unknown keys and entries without a screen yet do nothing here.
    rig.typeMenu("789z345");
    rig.expectHighlightOn(0);
    EXPECT_EQ(rig.opened, std::pair(1, 2));
    rig.typeMenu("aaaac#");  // Ok on "SAVE PLAYLIST", then back
    EXPECT_TRUE(rig.menu.isHidden());
    for (auto* b : rig.main->MainButt) EXPECT_TRUE(b->isVisibleTo(rig.main.get()));
    rig.openMenu();
    rig.expectHighlightOn(4);
    rig.svc.KeyUp = "1";  // key settings equal to a digit win over it
    rig.svc.KeyOk = "2";
    rig.typeMenu("11112");  // up to entry 0 and Ok on it, not the custom list
    EXPECT_EQ(rig.opened, std::pair(2, 2));
}

// The update entry rescans the music folder and rewrites the cache, the menu staying;
// whatever arrives during the scan is taken but does nothing. A cache that cannot be
// written keeps its contents and the user is told; a music folder that is away leaves
// the cache alone.
TEST(SearchMenu, UpdateArchiveRescansAndRewritesTheCacheIgnoringKeysMeanwhile) {
    QTemporaryDir work;
    MenuRig rig;
    rig.services.workDir = work.path().toStdString();
    const std::string music = rig.services.workDir + "/music/", cache = rig.services.workDir + "/CashList.kvx";
    ASSERT_TRUE(QDir(work.path()).mkdir("music") && writeLinesAtomic(rig.services.workDir + "/Mp3Path.kvx", {music}));
    for (const char* name : {"b.mp3", "A.mp3"}) writeFileAtomic(music + name, "");
    int notices = 0;
    rig.services.notSaved = [&] { ++notices; };
    rig.openMenu();
    rig.typeMenu("aa");
    const QString caption = rig.menu.MainButt[5]->text();
    const auto expectScanned = [&](const std::string& lines, int16_t count) {
        std::string bytes;
        readFileBytes(cache, bytes);
        EXPECT_EQ(bytes, lines);
        EXPECT_EQ(rig.svc.ArchiveCount, count);
        EXPECT_EQ(rig.menu.MainButt[5]->text(), caption);
        EXPECT_FALSE(rig.menu.isHidden());
        rig.expectHighlightOn(2);
    };
    rig.pump.onYield = [&] {
        rig.typeMenu("6#1q");
        emit rig.menu.frame.MainBack->clicked();
    };
    rig.typeMenu("6");
    rig.pump.onYield = nullptr;
    ASSERT_EQ(rig.progress.captions.size(), 1u);   // no second scan
    EXPECT_NE(rig.progress.captions[0], caption);  // the entry asks to wait meanwhile
    EXPECT_EQ(rig.opened, std::pair(0, 0));
    expectScanned("A.mp3\r\nb.mp3\r\n", 1);
    writeFileAtomic(music + "c.mp3", "");
    EXPECT_FALSE(underFileSizeLimit(10, [&] { rig.typeMenu("6"); return notices == 0; }));
    expectScanned("A.mp3\r\nb.mp3\r\n", 2);
    std::filesystem::remove_all(music);
    rig.typeMenu("6");
    expectScanned("A.mp3\r\nb.mp3\r\n", 2);
    EXPECT_EQ(notices, 1);
    rig.typeMenu("q");  // keys work again afterwards
    rig.expectHighlightOn(1);
}
