#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <set>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "lists/custom_list.h"
#include "lists/full_list.h"

using namespace kelvorn;

namespace {

constexpr long kFlashPasses = 24 * 201;

struct ListRig : CoreRig {
    FullList* full = nullptr;  // owned by the stage, as on the real one
    CustomList* custom = nullptr;

    FullList& fullList() {
        if (!full) full = new FullList(&stage, services, *transitions);
        return *full;
    }
    CustomList& customList() {
        if (!custom) custom = new CustomList(&stage, services, *transitions);
        return *custom;
    }
    static SongList numbered(int entries, const char* stem) {
        SongList names;
        for (int i = 0; i < entries; ++i) names.push_back(stem + std::to_string(i) + ".mp3");
        return names;
    }
    void archive(SongList names) {
        svc.ArchiveCount = static_cast<int16_t>(names.size()) - 1;
        svc.ArchiveList = std::move(names);
    }
    void customSongs(SongList names) {
        svc.CustomCount = static_cast<int16_t>(names.size()) - 1;
        svc.CustomSongs = std::move(names);
    }
    static void keys(ListBrowser& list, const std::string& typed) {
        for (char c : typed) list.keyTyped(std::string(1, c));
    }
    static std::string line(ListBrowser& list, int i) {
        return list.ListLine[static_cast<size_t>(i)]->text().toStdString();
    }
    static void press(QWidget* w, Qt::MouseButton button) {
        QMouseEvent ev(QEvent::MouseButtonPress, QPointF(4, 4), w->mapToGlobal(QPointF(4, 4)), button, button,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(w, &ev);
    }
};

}  // namespace

TEST(ListBrowser, PagesFirstLastAndTheLastEntryAlone) {
    ListRig rig;
    rig.archive(ListRig::numbered(26, "s"));  // count 25
    FullList& list = rig.fullList();
    EXPECT_EQ(ListRig::line(list, 9), "s9");
    list.AktListPos = 16;
    list.FillList();
    ListRig::keys(list, "8");
    EXPECT_EQ(list.AktListPos, 25);
    EXPECT_EQ(ListRig::line(list, 0), "s25");
    for (int i = 1; i < 10; ++i) EXPECT_EQ(ListRig::line(list, i), "");
    ListRig::keys(list, "2");
    EXPECT_EQ(list.AktListPos, 15);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ListRig::line(list, i), "s" + std::to_string(15 + i));
    ListRig::keys(list, "9");
    EXPECT_EQ(list.AktListPos, 16);
    EXPECT_EQ(ListRig::line(list, 9), "s25");
    ListRig::keys(list, "3");
    EXPECT_EQ(list.AktListPos, 0);
    ListRig::keys(list, "2");
    EXPECT_EQ(list.AktListPos, 0);
    // The click strips page like "2" and "8".
    emit list.Label2->clicked();
    EXPECT_EQ(list.AktListPos, 10);
    emit list.Label1->clicked();
    EXPECT_EQ(list.AktListPos, 0);
    EXPECT_EQ(list.aktbutt, 0);  // paging never moves the highlight
}

TEST(ListBrowser, LetterJumpsMoveTheHighlightToLineZero) {
    ListRig rig;
    rig.archive({"Abba.mp3", "Abc.mp3", "Beat.mp3", "Bird.mp3", "Cold.mp3", "Dance.mp3"});
    FullList& list = rig.fullList();
    ListRig::keys(list, "aaa");  // down to Bird
    ListRig::keys(list, "1");
    EXPECT_EQ(list.AktListPos, 0);
    EXPECT_EQ(list.aktbutt, 0);
    EXPECT_EQ(list.lineBackground(0), kHighlightBack);
    EXPECT_EQ(list.lineBackground(3), kLineBack);
    ListRig::keys(list, "aaa7");
    EXPECT_EQ(list.AktListPos, 4);
    EXPECT_EQ(ListRig::line(list, 0), "Cold");
    EXPECT_EQ(list.aktbutt, 0);

    ListRig shorter;
    shorter.archive({"Abba.mp3", "Abc.mp3", "Beat.mp3", "Bird.mp3", "Cold.mp3"});
    FullList& five = shorter.fullList();
    ListRig::keys(five, "aaa7");
    EXPECT_EQ(five.AktListPos, 0);
    EXPECT_EQ(ListRig::line(five, 4), "Cold");
}

TEST(ListBrowser, AnEmptyListIsInert) {
    ListRig rig;
    FullList& list = rig.fullList();  // ArchiveCount -1
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ListRig::line(list, i), "");
    ListRig::keys(list, "cx9");
    ListRig::press(list.ListLine[0], Qt::LeftButton);
    ListRig::press(list.ListLine[0], Qt::RightButton);
    EXPECT_EQ(rig.pump.passes, 0);
    EXPECT_EQ(list.AktListPos, 0);
    EXPECT_EQ(rig.svc.CustomCount, -1);
    EXPECT_FALSE(rig.svc.PlayOn);
    EXPECT_FALSE(rig.svc.NewSong);
    EXPECT_EQ(list.lineBackground(0), kHighlightBack);
}

TEST(ListBrowser, HighlightLimitsDifferBetweenFullAndCustomList) {
    ListRig rig;
    rig.archive(ListRig::numbered(3, "a"));
    FullList& full = rig.fullList();
    ListRig::keys(full, "aaaaaaaaaaaa");  // onto the empty lines, down to line 9 and no further
    EXPECT_EQ(full.aktbutt, 9);
    EXPECT_EQ(full.AktListPos, 0);
    ListRig::keys(full, "qqqqqqqqqqqq");
    EXPECT_EQ(full.aktbutt, 0);
    EXPECT_EQ(full.AktListPos, 0);

    rig.customSongs(ListRig::numbered(6, "c"));  // CustomCount 5
    CustomList& custom = rig.customList();
    ListRig::keys(custom, "aaaaaaaaa");
    EXPECT_EQ(custom.aktbutt, 5);
    ListRig::keys(custom, "8");
    EXPECT_EQ(custom.AktListPos, 5);
    EXPECT_EQ(ListRig::line(custom, 0), "c5");
    ListRig::keys(custom, "qqqqqqq");
    EXPECT_EQ(custom.aktbutt, 0);
    ListRig::keys(custom, "aaaaaaaaa");
    EXPECT_EQ(custom.aktbutt, 5);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(custom.lineBackground(i), i == 5 ? kHighlightBack : kLineBack) << "line " << i;
}

TEST(ListBrowser, KeysSetToDigitsActOnlyWhereTheTablePutsThemFirst) {
    ListRig rig;
    rig.archive(ListRig::numbered(30, "s"));
    rig.svc.KeyUp = "2";
    rig.svc.KeyOk = "5";
    FullList& list = rig.fullList();
    ListRig::keys(list, "8aa2");
    EXPECT_EQ(list.AktListPos, 10);  // "2" moved the highlight, it did not page up
    EXPECT_EQ(list.aktbutt, 1);
    ListRig::keys(list, "5");  // not playing: the skip does nothing, and nothing is selected
    EXPECT_FALSE(rig.svc.PlayOn);
    EXPECT_EQ(rig.pump.passes, 0);
    rig.svc.PlayOn = true;
    rig.svc.SongPos = 3;
    ListRig::keys(list, "5");
    EXPECT_EQ(rig.svc.SongPos, 4);
    EXPECT_TRUE(rig.svc.NewSong);
    EXPECT_EQ(rig.pump.passes, 0);
    rig.svc.PlayOn = false;
    rig.svc.NewSong = false;
    ListRig::keys(list, "44");  // back a song even while stopped
    EXPECT_EQ(rig.svc.SongPos, 2);
    EXPECT_TRUE(rig.svc.NewSong);
    // A shuffled skip draws over the playing list.
    rig.svc.PlayOn = rig.svc.ShuffleOn = rig.svc.ListMode = true;
    rig.customSongs(ListRig::numbered(11, "c"));
    rig.random.values = {0.55};
    ListRig::keys(list, "5");
    EXPECT_EQ(rig.svc.SongPos, 5);
}

TEST(FullList, LeftClickPlaysRightClickAppends) {
    ListRig rig;
    rig.archive(ListRig::numbered(30, "s"));
    FullList& list = rig.fullList();
    ListRig::keys(list, "8");
    ListRig::press(list.ListLine[2], Qt::RightButton);
    EXPECT_EQ(rig.svc.CustomCount, 0);
    EXPECT_EQ(entryAt(rig.svc.CustomSongs, 0), "s12.mp3");
    EXPECT_TRUE(rig.svc.AltSelect);
    EXPECT_FALSE(rig.svc.PlayOn);
    EXPECT_FALSE(rig.svc.NewSong);

    rig.svc.ListMode = true;
    ListRig::press(list.ListLine[3], Qt::LeftButton);
    EXPECT_FALSE(rig.svc.AltSelect);
    EXPECT_FALSE(rig.svc.ListMode);
    EXPECT_EQ(rig.svc.SongPos, 13);
    EXPECT_TRUE(rig.svc.NewSong);
    EXPECT_TRUE(rig.svc.PlayOn);
    EXPECT_EQ(list.aktbutt, 0);  // the highlight does not follow a click
    rig.main->Timer2_Timer();
    EXPECT_EQ(rig.lastOpened(), "/music/s13.mp3");
}

TEST(FullList, FlashesCountPassesAndRestoreTheSavedColour) {
    ListRig rig;
    rig.archive(ListRig::numbered(5, "s"));
    FullList& list = rig.fullList();
    std::vector<unsigned> seen;
    QColor secondStep;
    rig.pump.onPass = [&] {
        if (seen.empty() || seen.back() != list.lineBackground(0)) seen.push_back(list.lineBackground(0));
        if (rig.pump.passes == 202) secondStep = list.ListLine[0]->palette().color(QPalette::Window);
    };
    ListRig::keys(list, "c");
    EXPECT_EQ(rig.pump.passes, kFlashPasses);
    EXPECT_EQ(seen.size(), 24u);  // a new colour every 201 passes
    EXPECT_EQ(secondStep, QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(list.lineBackground(0), kHighlightBack);
    EXPECT_EQ(list.ListLine[0]->palette().color(QPalette::Window), QColor(0xFF, 0x80, 0x00));

    // A line that is not highlighted gets its normal background back; GFXSpeed has no say.
    rig.svc.GFXSpeed = 4;
    rig.pump.onPass = nullptr;
    ListRig::press(list.ListLine[2], Qt::RightButton);
    EXPECT_EQ(rig.pump.passes, 2 * kFlashPasses);
    EXPECT_EQ(list.lineBackground(2), kLineBack);
    EXPECT_EQ(list.lineTextColour(2), kLineText);
}

TEST(FullList, SecondSelectStopsAtTheHighestReachableCount) {
    ListRig rig;
    rig.archive(ListRig::numbered(3, "s"));
    rig.svc.CustomCount = 32767;
    rig.svc.CustomSongs.assign(32768, "old.mp3");
    FullList& list = rig.fullList();
    ListRig::keys(list, "x");
    EXPECT_EQ(rig.svc.CustomCount, 32767);
    EXPECT_EQ(rig.svc.CustomSongs.size(), 32768u);
    EXPECT_EQ(rig.svc.CustomSongs.back(), "old.mp3");

    rig.svc.CustomCount = 32766;
    ListRig::keys(list, "x");
    EXPECT_EQ(rig.svc.CustomCount, 32767);
    EXPECT_EQ(rig.svc.CustomSongs[32767], "s0.mp3");
}

TEST(FullList, ShortEntriesAreShownWholeAndAnExtensionAloneIsEmpty) {
    ListRig rig;
    rig.archive({"ab", "abc.mp3", ".mp3", "x"});
    FullList& list = rig.fullList();
    EXPECT_EQ(ListRig::line(list, 0), "ab");
    EXPECT_EQ(ListRig::line(list, 1), "abc");
    EXPECT_EQ(ListRig::line(list, 2), "");
    EXPECT_EQ(ListRig::line(list, 3), "x");
    ListRig::keys(list, "aac");  // the empty line stays inert
    EXPECT_EQ(rig.pump.passes, 0);
    ListRig::keys(list, "qqc");
    EXPECT_EQ(rig.svc.SongPos, 0);
    EXPECT_TRUE(rig.svc.PlayOn);
}

TEST(CustomList, RemovalKeepsTheOrderAndLeavesPlaybackAlone) {
    ListRig rig;
    rig.customSongs(ListRig::numbered(6, "c"));
    rig.svc.SongPos = 2;
    CustomList& list = rig.customList();
    ListRig::keys(list, "aaax");
    EXPECT_EQ(rig.svc.CustomCount, 4);
    const SongList expected = {"c0.mp3", "c1.mp3", "c2.mp3", "c4.mp3", "c5.mp3"};
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(rig.svc.CustomSongs[static_cast<size_t>(i)], expected[static_cast<size_t>(i)]);
    EXPECT_EQ(ListRig::line(list, 3), "c4");
    EXPECT_EQ(ListRig::line(list, 5), "");
    EXPECT_EQ(list.aktbutt, 3);
    EXPECT_EQ(list.lineBackground(3), kHighlightBack);
    EXPECT_EQ(rig.svc.SongPos, 2);
    EXPECT_FALSE(rig.svc.NewSong);
    EXPECT_FALSE(rig.svc.PlayOn);

    ListRig::press(list.ListLine[1], Qt::LeftButton);  // play the list from c1
    EXPECT_TRUE(rig.svc.ListMode);
    EXPECT_EQ(rig.svc.SongPos, 1);
    EXPECT_TRUE(rig.svc.PlayOn);
    ListRig::press(list.ListLine[0], Qt::RightButton);
    EXPECT_EQ(rig.svc.CustomCount, 3);
    EXPECT_EQ(ListRig::line(list, 0), "c1");

    ListRig one;
    one.customSongs({"only.mp3"});
    CustomList& single = one.customList();
    ListRig::keys(single, "x");
    EXPECT_EQ(one.svc.CustomCount, -1);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ListRig::line(single, i), "");
}

TEST(CustomList, KeysDuringAFlashNeverRemovePastTheEnd) {
    ListRig rig;
    rig.customSongs(ListRig::numbered(6, "c"));
    CustomList& list = rig.customList();
    ListRig::keys(list, "aaaaa");  // the last entry, c5
    bool nested = false;
    rig.pump.onPass = [&] {
        if (rig.pump.passes == 100 && !nested) {
            nested = true;
            ListRig::keys(list, "x");  // removes c5 inside the first flash
        }
    };
    ListRig::keys(list, "x");
    EXPECT_EQ(rig.svc.CustomCount, 4);  // the outer removal found the line past the end
    EXPECT_EQ(rig.svc.CustomSongs[4], "c4.mp3");
    EXPECT_EQ(list.lineBackground(5), kHighlightBack);

    // Closing in the middle of a flash: the flash ends and changes nothing more.
    rig.pump.passes = 0;
    rig.svc.GFXSpeed = -1;
    rig.pump.onPass = [&] {
        if (rig.pump.passes == 10) ListRig::keys(list, "#");
    };
    ListRig::keys(list, "qc");
    EXPECT_TRUE(list.isHidden());
    EXPECT_TRUE(rig.svc.PlayOn);
    EXPECT_EQ(rig.svc.SongPos, 4);
}

TEST(ListBrowser, FadeInShowsTheLinesInPairsAndBackReturnsToTheMainScreen) {
    ListRig rig;
    rig.archive(ListRig::numbered(12, "s"));
    FullList& list = rig.fullList();
    rig.svc.GFXSpeed = 1000;
    std::set<std::vector<int>> shownSets;
    rig.pump.onPass = [&] {
        std::vector<int> shown;
        for (int i = 0; i < 10; ++i)
            if (!list.ListLine[static_cast<size_t>(i)]->isHidden()) shown.push_back(i);
        shownSets.insert(shown);
    };
    rig.transitions->open(*rig.main, list);
    const std::set<std::vector<int>> expected = {
        {}, {0, 9}, {0, 1, 8, 9}, {0, 1, 2, 7, 8, 9}, {0, 1, 2, 3, 6, 7, 8, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
    shownSets.insert({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});  // the last pair shows after the last pass
    EXPECT_EQ(shownSets, expected);
    EXPECT_FALSE(list.frame.Line1->isHidden());
    EXPECT_FALSE(list.isHidden());
    EXPECT_TRUE(rig.main->MainButt[0]->isHidden());

    rig.pump.onPass = nullptr;
    ListRig::keys(list, "#");
    EXPECT_TRUE(list.isHidden());
    EXPECT_TRUE(list.ListLine[0]->isHidden());
    for (auto* b : rig.main->MainButt) EXPECT_FALSE(b->isHidden());

    rig.transitions->open(*rig.main, list);
    emit list.frame.MainBack->clicked();
    EXPECT_TRUE(list.isHidden());
    EXPECT_FALSE(rig.main->MainButt[5]->isHidden());
}
