// SPDX-License-Identifier: GPL-3.0-or-later
// The list screens on the fakes: paging, highlight, letter jumps, select; the video loop and intro.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "library/alpha_search.h"
#include "library/playlists.h"
#include "lists/custom_list.h"
#include "lists/full_list.h"
#include "lists/play_list.h"
#include "lists/tmp_list.h"
#include "lists/video_form.h"
#include "lists/video_list_form.h"

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

// The video screen and list over "Video i" / "clips/vi.mp4", with or without a video player.
struct VideoRig : CoreRig {
    VideoForm* form;  // owned by the stage, as on the real one
    VideoListForm* list;
    RecordingNightScreens screens;

    explicit VideoRig(int videos, bool withPlayer = true) {
        if (!withPlayer) services.VideoPlayer = nullptr;
        svc.GFXSpeed = -1;  // no build-up steps when the sleep end shows the main screen
        for (int i = 0; i < videos; ++i) {
            storeEntry(svc.VideoName, i, "Video " + std::to_string(i), kVideoSlots);
            storeEntry(svc.VideoFile, i, file(i), kVideoSlots);
        }
        svc.VideoCount = static_cast<int16_t>(videos - 1);
        form = new VideoForm(&stage, services);
        list = new VideoListForm(&stage, services, *transitions, *form);
        screens.onStopVideo = [this] { stopVideoForSleep(services, *form); };
        main->alarmClock().setScreens(&screens);
    }
    static std::string file(int i) { return "clips/v" + std::to_string(i) + ".mp4"; }
    // Runs `step` on every pass made while a video plays; a loop that never ends fails.
    void whilePlaying(std::function<void()> step) {
        pump.onPass = [this, step] {
            if (video.playState() == MediaPlayer::Playing) step();
            if (pump.passes < 2'000'000) return;
            svc.VideoPlaying = false;
            ADD_FAILURE() << "the video loop did not end";
        };
    }
    // The state every ended loop leaves.
    void expectLoopEnded() const {
        EXPECT_FALSE(svc.VideoPlaying || svc.VideoMode || !form->isHidden());
        EXPECT_EQ(video.playState(), MediaPlayer::Stopped);
    }
};

}  // namespace

// Paging ("8" "2" "9" "3"), the ends and the letter jumps ("1" "7"), each on a fresh screen.
TEST(ListBrowser, KeysPageAndMoveTheHighlightInsideTheList) {
    const SongList s26 = numbered(26, "s"), full = numbered(32768, ""),
                   abc = {"Abba.mp3", "abc.mp3", "Beat.mp3", "bird.mp3", "Cold.mp3", "D.mp3"};
    const std::tuple<SongList, SongList, std::string, const char*> cases[] = {
        {s26, {}, "8882", "15+0 lit 0 s15,s24"},  // the third page down shows the last entry alone
        {s26, {}, "qa932", "0+1 lit 1 s0,s9"},    // paging never moves the highlight
        {s26, {}, "9", "16+0 lit 0 s16,s25"},     // the last page ends with the last entry
        // The last page of a full archive ends at the top of the 16-bit range.
        {full, {}, "92" + std::string(20, 'a'), "32758+9 lit 9 32758,32767"},
        {full, {}, "988", "32767+0 lit 0 32767,"},
        {s26, {}, "88aaaaaaa1", "0+0 lit 0 s0,s9"},                     // from a line past the end
        {s26, {}, "88aaaaaaa7", "16+0 lit 0 s16,s25"},                  // to the last page
        {numbered(3, "a"), {}, std::string(12, 'a'), "0+9 lit 9 a0,"},  // onto the empty lines
        // The custom list's highlight stops on the line numbered by its highest index; up scrolls.
        {{}, numbered(6, "c"), "aaaaaaaaa8qqqqqqqaaaaaaaaa", "3+5 lit 5 c3,"},
        // From bird to the A and C groups, whatever the case; the last page may start at the top.
        {abc, {}, "aaa1", "0+0 lit 0 Abba,"},
        {abc, {}, "aaa7", "4+0 lit 0 Cold,"},
        {SongList(abc.begin(), abc.begin() + 5), {}, "aaa7", "0+0 lit 0 Abba,"},
        {{}, {}, "1793", "0+0 lit 0 ,"},
    };
    for (const auto& [archive, custom, typed, after] : cases) {
        ListRig rig(archive, custom);
        ListBrowser& list = custom.empty() ? static_cast<ListBrowser&>(*rig.full) : *rig.custom;
        keys(list, typed);
        EXPECT_EQ(where(list) + " " + lines(list)[0] + "," + lines(list)[9], after) << archive.size() << " " << typed;
    }
}

TEST(ListBrowser, EmptyLinesAreInertAndBackReturnsToTheMainScreen) {
    ListRig rig({"ab", "", "Caf\xE9.mp3"});  // no extension: shown whole; Latin-1
    EXPECT_EQ(lines(*rig.full)[0] + "," + lines(*rig.full)[1] + "," + lines(*rig.full)[2], "ab,,Caf\xC3\xA9");
    keys(*rig.full, "ac9xaac");  // an empty line inside the list and one past its end
    EXPECT_EQ(rig.request() + " " + std::to_string(rig.pump.passes), "song 0 custom -1 0");  // not even a flash
    keys(*rig.full, "qqqc");
    EXPECT_EQ(rig.request(), "song 0 new on custom -1");
    rig.transitions->open(*rig.main, *rig.full);
    keys(*rig.full, "#");
    EXPECT_TRUE(rig.full->isHidden() && !rig.main->MainButt[0]->isHidden());
}

// "5" skips, "4" goes back; a click plays its line; a second select stops at the highest count.
TEST(FullList, KeysAndClicksPlayOrCopyTheArchiveEntryUpToTheHighestReachableCount) {
    ListRig rig(numbered(30, "s"), SongList(32766, "old.mp3"));  // count 32765: two more fit
    FullList& list = *rig.full;
    rig.svc.PlayOn = true;
    rig.svc.SongPos = 3;
    keys(list, "8a554");
    EXPECT_EQ(where(list) + " " + rig.request(), "10+1 lit 1 song 4 new on custom 32765");
    rig.svc.ListMode = true;
    emit list.ListLine[3]->clicked();
    EXPECT_EQ(rig.request(), "song 13 new on custom 32765");
    emit list.ListLine[2]->rightClicked();
    keys(list, "xx");
    EXPECT_EQ(SongList(rig.svc.CustomSongs.begin() + 32765, rig.svc.CustomSongs.end()),
              (SongList{"old.mp3", "s12.mp3", "s11.mp3"}));
    // The highlight moves during a flash: the flashed line takes its look as it is now.
    rig.pump.at(100, [&] { keys(list, "a"); });
    emit list.ListLine[1]->clicked();
    EXPECT_EQ(where(list) + " " + rig.request(), "10+2 lit 2 song 11 new on custom 32767");
}

// A removal inside the flash of the last entry's removal leaves the outer one past the end.
TEST(CustomList, RemovalKeepsTheOrderLeavesPlaybackAloneAndNeverPassesTheEnd) {
    ListRig rig({}, numbered(6, "c"));
    rig.svc.SongPos = 2;
    CustomList& list = *rig.custom;
    keys(list, "aaax");
    EXPECT_EQ(where(list) + " " + rig.request(), "0+3 lit 3 song 2 custom 4");
    keys(list, "a");  // c5, the last entry
    rig.pump.at(100, [&] { keys(list, "x"); });
    keys(list, "x");
    EXPECT_EQ(lines(list), (Texts{"c0", "c1", "c2", "c4", "", "", "", "", "", ""}));
    EXPECT_EQ(where(list) + " " + rig.request(), "0+4 lit 4 song 2 custom 3");
    rig.pump.onPass = nullptr;
    emit list.ListLine[1]->clicked();  // play the list from c1
    EXPECT_EQ(rig.request(), "song 1 new on list custom 3");
}

TEST(TmpList, ResultsStartOnTheFirstAndSelectPlaysOrCopiesTheArchiveEntry) {
    SongList archive = numbered(50, "Song ");
    for (size_t i : {7u, 40u, 41u}) archive[i] = "Hit " + std::to_string(i) + ".mp3";  // only these hold "HIT"
    ListRig rig(archive);
    TmpList& list = *new TmpList(&rig.stage, rig.services, *rig.transitions);
    const auto search = [&](const char* text) {  // as the lists menu does it
        AlphaSearch(rig.svc, text);
        rig.transitions->open(*rig.main, list, [&] { list.FillList(); });
    };
    search("SONG");
    keys(list, "aaa8");
    rig.svc.ListMode = true;
    search("HIT");  // every new search starts on the first result
    EXPECT_EQ(where(list), "0+0 lit 0");
    keys(list, "aacx");  // the third result, and the archive entry, extension included
    EXPECT_EQ(rig.request() + " " + rig.svc.CustomSongs[0], "song 41 new on custom 0 Hit 41.mp3");
    // Results left over from a larger archive, and one without an index: nothing happens.
    rig.svc.PlayOn = false;
    rig.svc.TmpSongs = {"Gone.mp3", "Lost.mp3"};
    rig.svc.TmpIdx = {99};
    rig.svc.TmpCount = 1;
    list.FillList();
    keys(list, "qqcxac");
    EXPECT_EQ(rig.request(), "song 41 new custom 0");
}

TEST(PlayList, ListsThePlaylistsAfreshAndLoadsAndPlaysTheChosenOneFromItsStart) {
    ListRig rig;
    QTemporaryDir dir;
    rig.services.workDir = dir.path().toStdString();
    const std::string music = rig.services.workDir + "/music/";
    std::filesystem::create_directory(music);
    std::ofstream(rig.services.workDir + "/Mp3Path.kvx") << music << "\r\n";
    std::ofstream(music + "Party.m3u") << "p1.mp3\r\np2.mp3\r\n";
    std::ofstream(music + "ALARM.m3u") << "a1.mp3\r\n";
    PlayList& list = *new PlayList(&rig.stage, rig.services, *rig.transitions);
    rig.svc.SongPos = 7;
    emit list.ListLine[1]->rightClicked();  // second select loads too
    EXPECT_EQ(rig.request() + " " + rig.svc.ListName + " " + entryAt(rig.svc.CustomSongs, 1),
              "song 0 new on list custom 1 Party.m3u p2.mp3");
    ASSERT_EQ(SavePlaylist(rig.svc, "B"), SaveResult::Saved);
    list.FadeIn();
    EXPECT_EQ(lines(list), (Texts{"ALARM", "B", "Party", "", "", "", "", "", "", ""}));
}

// VideoMode keeps the main screen's timer from bringing its window to the front.
TEST(VideoList, PlaysFromTheChosenVideoOnUntilBackEscapeOrTheSleepEnd) {
    const std::pair<const char*, std::function<void(VideoRig&)>> ways[] = {
        {"back key", [](VideoRig& r) { r.form->keyTyped("#"); }},
        {"back key on the picture", [](VideoRig& r) { r.video.pressKey('#'); }},
        {"escape", [](VideoRig& r) { sendKey(r.form, Qt::Key_Escape); }},  // some platforms give it no text
        {"sleep end", [](VideoRig& r) { r.main->Timer1_Timer(); }},
    };
    for (const auto& [name, stop] : ways) {
        SCOPED_TRACE(name);
        VideoRig rig(2);
        rig.clock.set(23, 30, 0);
        rig.type("0");  // a sleep timer of about two hours runs; the clock's next tick ends it
        rig.clock.set(1, 30, 0);
        int playing = 0;
        rig.whilePlaying([&] {
            EXPECT_TRUE(rig.svc.VideoMode && !rig.form->isHidden());
            if (++playing == 10) keys(*rig.list, "c");  // no second loop inside the first
            if (playing == 20) rig.video.finishSong();  // on to the first video
            if (playing == 50) stop(rig);
        });
        keys(*rig.list, "ac");
        EXPECT_TRUE(playing == 50 || playing == 51) << playing;  // at the latest one pass later
        EXPECT_EQ(rig.video.opens, (Texts{VideoRig::file(1), VideoRig::file(0)}));
        rig.expectLoopEnded();
        EXPECT_EQ(rig.svc.SleepOn, std::string(name) != "sleep end");
    }
}

// A name without a file is passed over; with nothing opening the loop paces its attempts.
TEST(VideoList, WhenNoVideoOpensTheLoopStillEndsOnBackWithoutAPassStorm) {
    VideoRig broken(3);
    broken.video.failOpen("clips/");
    storeEntry(broken.svc.VideoFile, 1, "", kVideoSlots);
    broken.pump.at(300'000, [&] { broken.form->keyTyped("#"); });
    keys(*broken.list, "aac");
    const Texts& opens = broken.video.opens;
    ASSERT_GE(opens.size(), 3u);
    for (size_t i = 0; i < opens.size(); ++i) EXPECT_EQ(opens[i], VideoRig::file(i % 2 == 0 ? 2 : 0)) << i;
    EXPECT_GE(broken.pump.passes / static_cast<long>(opens.size()), 1000);
    broken.expectLoopEnded();
}

// The intro plays to its end or gives up at once; without a player nothing plays.
TEST(VideoScreen, IntroPlaysToItsEndOrGivesUpAndWithoutAPlayerNothingPlays) {
    for (bool opens : {true, false}) {
        VideoRig rig(2);
        if (!opens) rig.video.failOpen("intro");
        rig.whilePlaying([&] {
            if (rig.pump.passes == 100) rig.video.finishSong();
        });
        playIntroVideo(rig.services, *rig.form, "intro.avi");
        EXPECT_TRUE(rig.form->isHidden() && rig.video.plays == (opens ? 1 : 0)) << opens;
        EXPECT_EQ(rig.pump.passes >= 100, opens);  // a failure ends the wait at once
    }
    VideoRig none(2, false);
    playIntroVideo(none.services, *none.form, "intro.avi");
    keys(*none.list, "c");  // the flash only
    stopVideoForSleep(none.services, *none.form);
    none.expectLoopEnded();
}
