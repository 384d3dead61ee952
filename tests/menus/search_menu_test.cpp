#include "menus/search_menu.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "library/archive_scan.h"
#include "library/cash_list.h"

using namespace kelvorn;

namespace {

// Records what the menu shows while the scan runs.
struct RecordingProgress : ScanProgress {
    std::function<void()> onStart;
    int starts = 0;
    int finishes = 0;
    void scanStarted() override {
        ++starts;
        if (onStart) onStart();
    }
    void scanFinished() override { ++finishes; }
};

struct MenuRig : CoreRig {
    RecordingProgress progress;
    SearchMenu menu{&stage, services, *transitions, progress};
    int fullLists = 0;
    int customLists = 0;

    MenuRig() {
        svc.GFXSpeed = -1;  // no animation passes unless a test asks for them
        menu.openFullList = [this] { ++fullLists; };
        menu.openCustomList = [this] { ++customLists; };
    }
    void typeMenu(const std::string& keys) {
        for (char c : keys) menu.keyTyped(std::string(1, c));
    }
    void openMenu() { transitions->open(*main, menu); }
};

const QColor kHighlightBack(0xFF, 0x80, 0x00);

// Exactly one entry carries the highlighted look, the one at `index`.
void expectHighlightOn(const SearchMenu& menu, int index) {
    EXPECT_EQ(menu.aktbutt(), index);
    for (int i = 0; i < 6; ++i) {
        const QPalette p = menu.MainButt[static_cast<size_t>(i)]->palette();
        EXPECT_EQ(p.color(QPalette::Window) == kHighlightBack, i == index) << "entry " << i;
        EXPECT_EQ(p.color(QPalette::WindowText),
                  i == index ? QColor(0xC0, 0x00, 0x00) : QColor(0xC0, 0xC0, 0xFF))
            << "entry " << i;
    }
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

TEST(SearchMenu, HighlightWrapsBothWaysAndDigitsLeaveIt) {
    MenuRig rig;
    expectHighlightOn(rig.menu, 0);
    rig.typeMenu("q");
    expectHighlightOn(rig.menu, 5);
    rig.typeMenu("a");
    expectHighlightOn(rig.menu, 0);
    rig.typeMenu("aa2");
    expectHighlightOn(rig.menu, 2);
    EXPECT_EQ(rig.customLists, 1);
    rig.typeMenu("1789z");  // 7 to 9 and unknown keys do nothing here
    expectHighlightOn(rig.menu, 2);
    EXPECT_EQ(rig.fullLists, 1);
    EXPECT_EQ(rig.customLists, 1);
}

TEST(SearchMenu, OkRunsTheHighlightedEntryAndClicksRunTheirOwn) {
    MenuRig rig;
    rig.typeMenu("ac");
    EXPECT_EQ(rig.customLists, 1);
    EXPECT_EQ(rig.fullLists, 0);
    rig.typeMenu("qc");
    EXPECT_EQ(rig.fullLists, 1);
    emit rig.menu.MainButt[1]->clicked();
    EXPECT_EQ(rig.customLists, 2);
    expectHighlightOn(rig.menu, 0);
    // Entries without a screen yet run nothing and keep the menu as it is.
    rig.typeMenu("345");
    expectHighlightOn(rig.menu, 0);
    EXPECT_EQ(rig.fullLists + rig.customLists, 3);
}

TEST(SearchMenu, KeySettingEqualToADigitWins) {
    MenuRig rig;
    rig.svc.KeyUp = "1";
    rig.svc.KeyOk = "2";
    rig.typeMenu("1");
    expectHighlightOn(rig.menu, 5);
    EXPECT_EQ(rig.fullLists, 0);
    rig.typeMenu("a2");  // Ok on entry 0, not the custom list
    EXPECT_EQ(rig.fullLists, 1);
    EXPECT_EQ(rig.customLists, 0);
}

TEST(SearchMenu, BackReturnsToTheMainScreenAndReopeningKeepsTheHighlight) {
    MenuRig rig;
    rig.main->FadeOut();
    rig.openMenu();
    EXPECT_FALSE(rig.menu.isHidden());
    EXPECT_TRUE(rig.menu.MainButt[5]->isVisibleTo(&rig.menu));
    EXPECT_TRUE(rig.menu.frame.Line1->isVisibleTo(&rig.menu));
    rig.typeMenu("aaaac");  // Ok on "SAVE PLAYLIST"
    rig.typeMenu("#");
    EXPECT_TRUE(rig.menu.isHidden());
    EXPECT_FALSE(rig.menu.MainButt[0]->isVisibleTo(&rig.menu));
    EXPECT_FALSE(rig.main->isHidden());
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
    int shownAtFirstButton = -1;
    rig.pump.onPass = [&] {
        if (shownAtFirstButton < 0 && rig.menu.MainButt[0]->isVisibleTo(&rig.menu))
            shownAtFirstButton = static_cast<int>(rig.pump.passes);
    };
    rig.menu.FadeOut();
    rig.menu.FadeIn();
    // Title 26 x (150 + 1), four frame groups of 5001, five entries of 2501.
    EXPECT_EQ(rig.pump.passes, 26 * 151 + 4 * 5001 + 5 * 2501);
    EXPECT_EQ(shownAtFirstButton, 26 * 151 + 4 * 5001 + 1);
    for (auto* b : rig.menu.MainButt) EXPECT_TRUE(b->isVisibleTo(&rig.menu));
    rig.pump.passes = 0;
    rig.menu.FadeOut();
    EXPECT_EQ(rig.pump.passes, 0);
    const MenuFrame& f = rig.menu.frame;
    for (QWidget* w : std::initializer_list<QWidget*>{f.MainLabel, f.MainOff, f.Shape1, f.Line3,
                                                      f.MainBack, rig.menu.MainButt[3]})
        EXPECT_FALSE(w->isVisibleTo(&rig.menu));
}

class UpdateArchive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        rig.services.workDir = work.path().toStdString();
        ASSERT_TRUE(QDir(work.path()).mkdir("music"));
        music = work.path().toStdString() + "/music/";
        writeFile(rig.services.workDir + "/Mp3Path.kvx", music + "\r\n");
        writeFile(rig.services.workDir + "/CashList.kvx", "gone.mp3\r\n");
        rig.progress.onStart = [this] { captionsDuringScan.push_back(caption()); };
        rig.openMenu();
        rig.typeMenu("aa");
    }
    QString caption() const { return rig.menu.MainButt[5]->text(); }
    std::string cache() const { return readFile(rig.services.workDir + "/CashList.kvx"); }

    QTemporaryDir work;
    MenuRig rig;
    std::string music;
    std::vector<QString> captionsDuringScan;
};

TEST_F(UpdateArchive, RescansAndRewritesTheCacheWhileTheMenuStays) {
    for (const char* name : {"b.mp3", "A.mp3", "c.MP3", "notes.txt"}) writeFile(music + name, "");
    rig.typeMenu("6");
    ASSERT_EQ(captionsDuringScan.size(), 1u);
    EXPECT_EQ(captionsDuringScan[0], "   !!! PLEASE WAIT !!!");
    EXPECT_EQ(caption(), "   6 - UPDATE ARCHIVE");
    EXPECT_EQ(rig.progress.finishes, 1);
    EXPECT_EQ(cache(), "A.mp3\r\nb.mp3\r\nc.MP3\r\n");
    EXPECT_EQ(rig.svc.ArchiveCount, 2);
    EXPECT_EQ(rig.svc.Mp3Path, music);
    EXPECT_FALSE(rig.menu.isHidden());
    expectHighlightOn(rig.menu, 2);
}

TEST_F(UpdateArchive, AnEmptyFolderStillRestoresTheCaption) {
    rig.typeMenu("c");  // Ok on entry 2 runs no update
    EXPECT_EQ(rig.progress.starts, 0);
    emit rig.menu.MainButt[5]->clicked();
    ASSERT_EQ(captionsDuringScan.size(), 1u);
    EXPECT_EQ(captionsDuringScan[0], "   !!! PLEASE WAIT !!!");
    EXPECT_EQ(caption(), "   6 - UPDATE ARCHIVE");
    EXPECT_EQ(cache(), "");
    EXPECT_EQ(rig.svc.ArchiveCount, -1);
}

TEST_F(UpdateArchive, KeysAndClicksDuringTheScanCannotCutIntoIt) {
    writeFile(music + "a.mp3", "");
    // The scan lets events run; whatever arrives then is taken but does nothing.
    rig.pump.onYield = [this] {
        rig.typeMenu("6#1q");
        emit rig.menu.frame.MainBack->clicked();
    };
    rig.typeMenu("6");
    rig.pump.onYield = nullptr;
    EXPECT_EQ(rig.progress.starts, 1);
    EXPECT_EQ(rig.fullLists, 0);
    EXPECT_FALSE(rig.menu.isHidden());
    expectHighlightOn(rig.menu, 2);
    EXPECT_EQ(cache(), "a.mp3\r\n");
    rig.typeMenu("q");  // keys work again afterwards
    expectHighlightOn(rig.menu, 1);
}
