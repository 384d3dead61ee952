#include "menus/search_menu.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
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
        svc.GFXSpeed = -1;  // no animation passes unless a test asks for them
        progress.menu = &menu;
        menu.openFullList = [this] { ++fullLists; };
        menu.openCustomList = [this] { ++customLists; };
    }
    void typeMenu(const std::string& keys) {
        for (char c : keys) menu.keyTyped(std::string(1, c));
    }
    void openMenu() { transitions->open(*main, menu); }
};

// Exactly one entry carries the highlighted look, the one at `index`.
void expectHighlightOn(const SearchMenu& menu, int index) {
    EXPECT_EQ(menu.aktbutt(), index);
    for (int i = 0; i < 6; ++i) {
        const QPalette p = menu.MainButt[static_cast<size_t>(i)]->palette();
        EXPECT_EQ(p.color(QPalette::Window) == QColor(0xFF, 0x80, 0x00), i == index) << "entry " << i;
        EXPECT_EQ(p.color(QPalette::WindowText), i == index ? QColor(0xC0, 0x00, 0x00) : QColor(0xC0, 0xC0, 0xFF))
            << "entry " << i;
    }
}

}  // namespace

TEST(SearchMenu, HighlightWrapsDigitsLeaveItAndOkRunsTheHighlightedEntry) {
    MenuRig rig;
    rig.typeMenu("q");
    expectHighlightOn(rig.menu, 5);
    rig.typeMenu("aac");  // wraps to 0, then Ok on entry 1
    EXPECT_EQ(rig.customLists, 1);
    rig.typeMenu("qc2");
    EXPECT_EQ(rig.fullLists, 1);
    EXPECT_EQ(rig.customLists, 2);
    emit rig.menu.MainButt[1]->clicked();
    EXPECT_EQ(rig.customLists, 3);
    // 7 to 9, unknown keys and entries without a screen yet do nothing here.
    rig.typeMenu("789z345");
    expectHighlightOn(rig.menu, 0);
    EXPECT_EQ(rig.fullLists + rig.customLists, 4);
}

TEST(SearchMenu, KeySettingEqualToADigitWins) {
    MenuRig rig;
    rig.svc.KeyUp = "1";
    rig.svc.KeyOk = "2";
    rig.typeMenu("1");
    expectHighlightOn(rig.menu, 5);
    rig.typeMenu("a2");  // Ok on entry 0, not the custom list
    EXPECT_EQ(rig.fullLists, 1);
    EXPECT_EQ(rig.customLists, 0);
}

TEST(SearchMenu, BackReturnsToTheMainScreenAndReopeningKeepsTheHighlight) {
    MenuRig rig;
    rig.main->FadeOut();
    rig.openMenu();
    EXPECT_TRUE(rig.menu.MainButt[5]->isVisibleTo(&rig.menu));
    rig.typeMenu("aaaac#");  // Ok on "SAVE PLAYLIST", then back
    EXPECT_TRUE(rig.menu.isHidden());
    for (auto* b : rig.main->MainButt) EXPECT_TRUE(b->isVisibleTo(rig.main.get()));
    rig.openMenu();
    expectHighlightOn(rig.menu, 4);
    emit rig.menu.frame.MainBack->clicked();
    EXPECT_TRUE(rig.menu.isHidden());
    EXPECT_TRUE(rig.main->MainButt[0]->isVisibleTo(rig.main.get()));
}

TEST(SearchMenu, FadeInBuildsUpInPacedStepsAndFadeOutClearsAtOnce) {
    MenuRig rig;
    rig.svc.GFXSpeed = 2;
    rig.menu.FadeOut();
    rig.menu.FadeIn();
    // Title 26 x (150 + 1), four frame groups of 5001, five entries of 2501.
    EXPECT_EQ(rig.pump.passes, 26 * 151 + 4 * 5001 + 5 * 2501);
    EXPECT_TRUE(rig.menu.frame.Line1->isVisibleTo(&rig.menu) && rig.menu.MainButt[5]->isVisibleTo(&rig.menu));
    rig.pump.passes = 0;
    rig.menu.FadeOut();
    EXPECT_EQ(rig.pump.passes, 0);
    EXPECT_FALSE(rig.menu.frame.MainLabel->isVisibleTo(&rig.menu) || rig.menu.MainButt[3]->isVisibleTo(&rig.menu));
}

class UpdateArchive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        rig.services.workDir = work.path().toStdString();
        ASSERT_TRUE(QDir(work.path()).mkdir("music"));
        music = rig.services.workDir + "/music/";
        ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/Mp3Path.kvx", {music}));
        ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/CashList.kvx", {"gone.mp3"}));
        rig.openMenu();
        rig.typeMenu("aa");
    }
    QString caption() const { return rig.menu.MainButt[5]->text(); }
    std::string cache() const {
        std::string bytes;
        readFileBytes(rig.services.workDir + "/CashList.kvx", bytes);
        return bytes;
    }

    QTemporaryDir work;
    MenuRig rig;
    std::string music;
};

TEST_F(UpdateArchive, RescansAndRewritesTheCacheWhileTheMenuStays) {
    rig.typeMenu("c");  // Ok on entry 2 runs no update
    EXPECT_TRUE(rig.progress.captions.empty());
    emit rig.menu.MainButt[5]->clicked();  // an empty folder
    EXPECT_EQ(caption(), "   6 - UPDATE ARCHIVE");
    EXPECT_EQ(cache(), "");
    EXPECT_EQ(rig.svc.ArchiveCount, -1);
    for (const char* name : {"b.mp3", "A.mp3", "c.MP3", "notes.txt"}) writeFileAtomic(music + name, "");
    rig.typeMenu("6");
    EXPECT_EQ(rig.progress.captions, std::vector<QString>(2, "   !!! PLEASE WAIT !!!"));
    EXPECT_EQ(caption(), "   6 - UPDATE ARCHIVE");
    EXPECT_EQ(cache(), "A.mp3\r\nb.mp3\r\nc.MP3\r\n");
    EXPECT_EQ(rig.svc.ArchiveCount, 2);
    EXPECT_EQ(rig.svc.Mp3Path, music);
    EXPECT_FALSE(rig.menu.isHidden());
    expectHighlightOn(rig.menu, 2);
}

TEST_F(UpdateArchive, KeysAndClicksDuringTheScanCannotCutIntoIt) {
    writeFileAtomic(music + "a.mp3", "");
    // The scan lets events run; whatever arrives then is taken but does nothing.
    rig.pump.onYield = [this] {
        rig.typeMenu("6#1q");
        emit rig.menu.frame.MainBack->clicked();
    };
    rig.typeMenu("6");
    rig.pump.onYield = nullptr;
    EXPECT_EQ(rig.progress.captions.size(), 1u);
    EXPECT_EQ(rig.fullLists, 0);
    EXPECT_FALSE(rig.menu.isHidden());
    expectHighlightOn(rig.menu, 2);
    EXPECT_EQ(cache(), "a.mp3\r\n");
    rig.typeMenu("q");  // keys work again afterwards
    expectHighlightOn(rig.menu, 1);
}
