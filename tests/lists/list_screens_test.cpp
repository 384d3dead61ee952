#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "library/alpha_search.h"
#include "library/playlists.h"
#include "lists/custom_list.h"
#include "lists/full_list.h"
#include "lists/play_list.h"
#include "lists/tmp_list.h"

using namespace kelvorn;

namespace {

using Texts = std::vector<std::string>;

SongList numbered(int entries, const char* stem) {
    SongList names;
    for (int i = 0; i < entries; ++i) names.push_back(stem + std::to_string(i) + ".mp3");
    return names;
}

// Both list screens over the given archive and custom list, on the fakes.
struct ListRig : CoreRig {
    FullList* full;  // owned by the stage, as on the real one
    CustomList* custom;

    explicit ListRig(SongList archive = {}, SongList customSongs = {}) {
        svc.ArchiveCount = static_cast<int16_t>(archive.size()) - 1;
        svc.ArchiveList = std::move(archive);
        svc.CustomCount = static_cast<int16_t>(customSongs.size()) - 1;
        svc.CustomSongs = std::move(customSongs);
        full = new FullList(&stage, services, *transitions);
        custom = new CustomList(&stage, services, *transitions);
    }
    // The playback request and the custom list's count as one text.
    std::string request() const {
        return "song " + std::to_string(svc.SongPos) + (svc.NewSong ? " new" : "") + (svc.PlayOn ? " on" : "") +
               (svc.ListMode ? " list" : "") + " custom " + std::to_string(svc.CustomCount);
    }
};

void keys(ListBrowser& list, const std::string& typed) {
    for (char c : typed) list.keyTyped(std::string(1, c));
}

Texts lines(const ListBrowser& list) {
    Texts texts;
    for (auto* line : list.ListLine) texts.push_back(line->text().toStdString());
    return texts;
}

// The page position, the highlighted line and the lines painted as highlighted.
std::string where(const ListBrowser& list) {
    std::string lit;
    for (int i = 0; i < kListLines; ++i)
        if (list.lineBackground(i) == kHighlightBack) lit += std::to_string(i);
    return std::to_string(list.AktListPos) + "+" + std::to_string(list.aktbutt) + " lit " + lit;
}

void press(QWidget* w, Qt::MouseButton button) {
    QMouseEvent ev(QEvent::MouseButtonPress, QPointF(4, 4), w->mapToGlobal(QPointF(4, 4)), button, button,
                   Qt::NoModifier);
    QCoreApplication::sendEvent(w, &ev);
}

}  // namespace

// Paging ("8" "2" "9" "3"), the highlight at the ends and the letter jumps ("1" "7"),
// each from a fresh screen: the page, the highlight and the first and last line after.
TEST(ListBrowser, KeysPageAndMoveTheHighlightInsideTheList) {
    const SongList abc = {"Abba.mp3", "abc.mp3", "Beat.mp3", "bird.mp3", "Cold.mp3", "Dance.mp3"};
    const std::string down12(12, 'a');
    const struct { SongList archive, custom; std::string keys; const char* where; const char* ends; } cases[] = {
        {numbered(26, "s"), {}, "88", "20+0 lit 0", "s20,"},
        {numbered(26, "s"), {}, "888", "25+0 lit 0", "s25,"},  // the last entry alone
        {numbered(26, "s"), {}, "8882", "15+0 lit 0", "s15,s24"},
        {numbered(26, "s"), {}, "9", "16+0 lit 0", "s16,s25"},
        {numbered(26, "s"), {}, "a93", "0+1 lit 1", "s0,s9"},  // paging never moves the highlight
        {numbered(26, "s"), {}, "2", "0+0 lit 0", "s0,s9"},
        {numbered(3, "a"), {}, down12, "0+9 lit 9", "a0,"},  // onto the empty lines
        {numbered(3, "a"), {}, down12 + std::string(12, 'q'), "0+0 lit 0", "a0,"},
        // The custom list's highlight stops on its last entry; up scrolls at the top line.
        {{}, numbered(6, "c"), "aaaaaaaaa8", "5+5 lit 5", "c5,"},
        {{}, numbered(6, "c"), "aaaaaaaaa8qqqqqqqaaaaaaaaa", "3+5 lit 5", "c3,"},
        // From bird back to the A group and on to the C group, whatever the case; with five
        // entries the C group lies on the last page, which then starts at the top.
        {abc, {}, "aaa1", "0+0 lit 0", "Abba,"},
        {abc, {}, "aaa7", "4+0 lit 0", "Cold,"},
        {SongList(abc.begin(), abc.begin() + 5), {}, "aaa7", "0+0 lit 0", "Abba,"},
    };
    for (const auto& c : cases) {
        ListRig rig(c.archive, c.custom);
        ListBrowser& list = c.archive.empty() ? static_cast<ListBrowser&>(*rig.custom) : *rig.full;
        keys(list, c.keys);
        EXPECT_EQ(where(list) + " " + lines(list)[0] + "," + lines(list)[9], std::string(c.where) + " " + c.ends)
            << c.archive.size() << " entries, keys " << c.keys;
    }
    ListRig rig(numbered(26, "s"));
    emit rig.full->Label2->clicked();  // the click strips page like "8" and "2"
    EXPECT_EQ(rig.full->AktListPos, 10);
    emit rig.full->Label1->clicked();
    EXPECT_EQ(where(*rig.full), "0+0 lit 0");
}

TEST(ListBrowser, EmptyListsAndEmptyLinesAreInert) {
    ListRig rig;  // ArchiveCount -1
    keys(*rig.full, "cx9");
    press(rig.full->ListLine[0], Qt::LeftButton);
    press(rig.full->ListLine[0], Qt::RightButton);
    EXPECT_EQ(where(*rig.full), "0+0 lit 0");

    // Entries shorter than an extension are shown whole; an extension alone is an empty line.
    ListRig shortNames({"ab", "abc.mp3", ".mp3", "x"});
    EXPECT_EQ(lines(*shortNames.full), (Texts{"ab", "abc", "", "x", "", "", "", "", "", ""}));
    keys(*shortNames.full, "aac");
    for (const ListRig* r : {&rig, &shortNames})  // and no flash either
        EXPECT_EQ(r->request() + " " + std::to_string(r->pump.passes), "song 0 custom -1 0");
    keys(*shortNames.full, "qqc");
    EXPECT_EQ(shortNames.request(), "song 0 new on custom -1");
}

// "5" skips (only while playing) and "4" goes back a song; the move keys come first in the
// key table and the select keys after the digits.
TEST(ListBrowser, PlaybackKeysAndKeysSetToDigitsActWhereTheTablePutsThem) {
    ListRig rig(numbered(30, "s"));
    rig.svc.KeyUp = "2";
    rig.svc.KeyOk = "5";
    keys(*rig.full, "8aa25");
    EXPECT_EQ(where(*rig.full) + " " + rig.request(), "10+1 lit 1 song 0 custom -1");
    rig.svc.PlayOn = true;
    rig.svc.SongPos = 3;
    keys(*rig.full, "5");
    EXPECT_EQ(rig.request(), "song 4 new on custom -1");
    rig.svc.PlayOn = rig.svc.NewSong = false;
    keys(*rig.full, "44");
    EXPECT_EQ(rig.request() + " " + std::to_string(rig.pump.passes), "song 2 new custom -1 0");  // no flash
}

TEST(FullList, ClickPlaysFromTheArchiveAndSecondSelectStopsAtTheHighestReachableCount) {
    ListRig rig(numbered(30, "s"), SongList(32766, "old.mp3"));  // count 32765: two more fit
    FullList& list = *rig.full;
    keys(list, "8");
    rig.svc.ListMode = true;
    press(list.ListLine[3], Qt::LeftButton);
    EXPECT_EQ(rig.request(), "song 13 new on custom 32765");
    EXPECT_EQ(list.aktbutt, 0);  // the highlight does not follow a click
    press(list.ListLine[2], Qt::RightButton);
    keys(list, "xx");
    EXPECT_EQ(rig.svc.CustomCount, 32767);
    EXPECT_EQ(SongList(rig.svc.CustomSongs.begin() + 32765, rig.svc.CustomSongs.end()),
              (SongList{"old.mp3", "s12.mp3", "s10.mp3"}));
    // The highlight moves during a flash: the flashed line takes its look as it is now.
    rig.pump.passes = 0;
    rig.pump.onPass = [&] { if (rig.pump.passes == 100) keys(list, "a"); };
    keys(list, "c");
    EXPECT_EQ(where(list) + " " + rig.request(), "10+1 lit 1 song 10 new on custom 32767");
}

TEST(CustomList, RemovalKeepsTheOrderAndLeavesPlaybackAlone) {
    ListRig rig({}, numbered(6, "c"));
    rig.svc.SongPos = 2;
    CustomList& list = *rig.custom;
    keys(list, "aaax");
    EXPECT_EQ(lines(list), (Texts{"c0", "c1", "c2", "c4", "c5", "", "", "", "", ""}));
    EXPECT_EQ(where(list) + " " + rig.request(), "0+3 lit 3 song 2 custom 4");  // playback is left alone
    press(list.ListLine[1], Qt::LeftButton);  // play the list from c1
    EXPECT_EQ(rig.request(), "song 1 new on list custom 4");
    for (int i = 0; i < 5; ++i) press(list.ListLine[0], Qt::RightButton);  // down to the last entry, and none
    EXPECT_EQ(lines(list), Texts(10));
    EXPECT_EQ(rig.svc.CustomCount, -1);
}

TEST(CustomList, KeysDuringAFlashNeverRemovePastTheEnd) {
    ListRig rig({}, numbered(6, "c"));
    CustomList& list = *rig.custom;
    keys(list, "aaaaa");  // the last entry, c5
    rig.pump.onPass = [&] {
        if (rig.pump.passes == 100) keys(list, "x");  // removes c5 inside the first flash
    };
    keys(list, "x");
    EXPECT_EQ(rig.svc.CustomCount, 4);  // the outer removal found the line past the end
    EXPECT_EQ(rig.svc.CustomSongs[4], "c4.mp3");
    EXPECT_EQ(where(list), "0+5 lit 5");
    // Closing in the middle of a flash: the flash ends and changes nothing more.
    rig.svc.GFXSpeed = -1;
    rig.pump.passes = 0;
    rig.pump.onPass = [&] {
        if (rig.pump.passes == 10) keys(list, "#");
    };
    keys(list, "qc");
    EXPECT_TRUE(list.isHidden());
    EXPECT_EQ(rig.svc.SongPos, 4);
}

TEST(ListBrowser, BackKeyOrButtonReturnsToTheMainScreenOnceOnly) {
    ListRig rig(numbered(12, "s"));
    FullList& list = *rig.full;
    for (bool button : {false, true}) {
        rig.pump.onPass = nullptr;
        rig.transitions->open(*rig.main, list);
        EXPECT_FALSE(list.isHidden() || list.ListLine[9]->isHidden() || !rig.main->MainButt[0]->isHidden());
        rig.pump.onPass = [&] { keys(list, "#"); };  // back keys during the wipe change nothing
        if (button) emit list.frame.MainBack->clicked();
        else keys(list, "#");
        EXPECT_TRUE(list.isHidden() && list.ListLine[0]->isHidden()) << button;
        for (auto* b : rig.main->MainButt) EXPECT_FALSE(b->isHidden()) << button;
    }
}

TEST(TmpList, ResultsStartOnTheFirstAndSelectPlaysOrCopiesTheArchiveEntry) {
    SongList archive = numbered(50, "Song ");
    for (size_t i : {7u, 40u, 41u}) archive[i] = "Hit " + std::to_string(i) + ".mp3";  // only these hold "HIT"
    ListRig rig(archive);
    TmpList& list = *new TmpList(&rig.stage, rig.services, *rig.transitions);
    auto search = [&](const char* text) {  // the lists menu's order: search, hide, fill, reveal
        AlphaSearch(rig.svc, text);
        list.FadeOut();
        list.FillList();
        list.FadeIn();
    };
    search("SONG");
    keys(list, "aaqq");  // down to line 2 and back: only the lines passed over lose the dark yellow
    for (int i = 0; i < kListLines; ++i)
        EXPECT_EQ(list.lineTextColour(i), i == 0 ? kHighlightText : i <= 2 ? kLineText : kResultText) << i;
    EXPECT_EQ(where(list), "0+0 lit 0");
    keys(list, "aaa8");
    rig.svc.ListMode = true;
    search("HIT");  // every new search starts on the first result
    EXPECT_EQ(where(list), "0+0 lit 0");
    keys(list, "aac");  // the third result
    EXPECT_EQ(rig.request(), "song 41 new on custom -1");
    keys(list, "x");  // the archive entry, extension included
    EXPECT_EQ(rig.svc.CustomSongs, SongList{"Hit 41.mp3"});

    // No results; then results left over from a larger archive, and one without an index.
    rig.svc.PlayOn = false;
    search("NOTHING");
    keys(list, "cx");
    rig.svc.TmpSongs = {"Gone.mp3", "Lost.mp3"};
    rig.svc.TmpIdx = {99};
    rig.svc.TmpCount = 1;
    list.FillList();
    keys(list, "cxac");
    EXPECT_EQ(rig.request(), "song 41 new custom 0");
}

TEST(PlayList, ListsThePlaylistsAfreshAndLoadsAndPlaysTheChosenOneFromItsStart) {
    ListRig rig;
    QTemporaryDir dir;
    const std::string music = dir.path().toStdString() + "/music/";
    std::filesystem::create_directory(music);
    std::ofstream(dir.path().toStdString() + "/Mp3Path.kvx") << music << "\r\n";
    rig.services.workDir = dir.path().toStdString();
    PlayList& list = *new PlayList(&rig.stage, rig.services, *rig.transitions);
    keys(list, "ac");  // an empty folder: nothing to load, no flash
    emit list.ListLine[0]->rightClicked();
    EXPECT_EQ(rig.request() + " " + std::to_string(rig.pump.passes) + rig.svc.ListName, "song 0 custom -1 0");

    std::ofstream(music + "Party.m3u") << "p1.mp3\r\np2.mp3\r\n";
    std::ofstream(music + "ALARM.m3u") << "a1.mp3\r\n";
    list.FadeIn();
    EXPECT_EQ(lines(list), (Texts{"ALARM", "Party", "", "", "", "", "", "", "", ""}));
    for (bool right : {false, true}) {
        rig.svc.SongPos = 7;
        rig.svc.ListMode = rig.svc.NewSong = rig.svc.PlayOn = false;
        if (right) emit list.ListLine[1]->rightClicked();
        else emit list.ListLine[1]->clicked();
        EXPECT_EQ(rig.request() + " " + rig.svc.ListName + " " + entryAt(rig.svc.CustomSongs, 1),
                  "song 0 new on list custom 1 Party.m3u p2.mp3") << right;
    }
    keys(list, "aaaqx");  // down stops on the last playlist; second select loads it too
    EXPECT_EQ(rig.svc.ListName, "ALARM.m3u");
    keys(list, "a");
    ASSERT_EQ(SavePlaylist(rig.svc, "B"), SaveResult::Saved);
    list.FadeIn();
    EXPECT_EQ(lines(list), (Texts{"ALARM", "B", "Party", "", "", "", "", "", "", ""}));
    EXPECT_EQ(list.aktbutt, 1);  // the highlight is not reset
}
