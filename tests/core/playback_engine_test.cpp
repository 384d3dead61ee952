// The playback engine on a fake player, and the song name it shows.
#include "core/playback_engine.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/display_name.h"
#include "fakes/core_test_rig.h"
#include "fakes/wait_for.h"

using namespace kelvorn;

namespace {

struct EngineTest : ::testing::Test {
    CoreRig rig;
    PlaybackEngine& engine = rig.main->engine();
    void play(int pos) {
        rig.svc.SongPos = static_cast<int16_t>(pos);
        rig.svc.NewSong = rig.svc.PlayOn = true;
        engine.tick();
    }
    void finish() {
        rig.player.finishSong();
        engine.tick();
    }
};

}  // namespace

TEST(DisplayName, SplitsAtTheFirstDashAndCutDropsFolderAndExtensionButNeverTooMuch) {
    const struct { const char *name, *artistAndTitle; } cases[] = {
        {"Band - Song", "Band|Song"}, {"Band--Song", "Band|Song"}, {"A-B - Song", "A|B - Song"},
        {"Intro", "Intro|Intro"},     {"-", "|"},                  {"", "|"},
        {"Band - - Song", "Band| Song"},  // one dash dropped, the blank after it stays
    };
    for (const auto& c : cases) {
        const DisplayName d = splitDisplayName(c.name);
        EXPECT_EQ(d.artist + "|" + d.title, c.artistAndTitle) << c.name;
    }
    std::string tmp = "before";
    cutDisplayName("/music/Band - Song.mp3", 7, tmp);
    EXPECT_EQ(tmp, "Band - Song");
    cutDisplayName("/music/abc", 7, tmp);  // shorter than an extension: kept whole
    EXPECT_EQ(tmp, "abc");
    cutDisplayName("/mu", 7, tmp);  // shorter than the folder: the scratch text stays
    EXPECT_EQ(tmp, "abc");
}

TEST_F(EngineTest, PlaysTheRequestedSongWrapsBothWaysAndPassesAMissingFileAtOnce) {
    rig.setArchive({"A - One.mp3", "B - Two.mp3", "c.mp3"});
    play(1);
    EXPECT_TRUE(rig.lastOpened() == "/music/B - Two.mp3" && rig.player.playState() == MediaPlayer::Playing);
    EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::Song) + rig.main->shown(VelmotMAIN::Field::Artist), "TwoB");
    finish();
    finish();  // past the last entry
    EXPECT_EQ(rig.lastOpened(), "/music/A - One.mp3");
    play(-1);  // "previous" from the first entry
    EXPECT_EQ(rig.lastOpened(), "/music/c.mp3");
    play(3);  // skip past the end
    EXPECT_EQ(rig.svc.SongPos, 0);
    rig.player.markMissing("/music/B - Two.mp3");
    const long passes = rig.pump.passes;
    play(1);  // the wait for the file ends early, and the next one plays in the same tick
    EXPECT_TRUE(rig.lastOpened() == "/music/c.mp3" && rig.player.playState() == MediaPlayer::Playing);
    EXPECT_LT(rig.pump.passes - passes, 10);
}

// An end starts the next song at once, without the playback tick (the rig's timers are off).
TEST_F(EngineTest, AnEndStartsTheNextSongAtOnceUnlessPlaybackIsNotWanted) {
    rig.setArchive({"a.mp3", "b.mp3"});
    play(0);
    rig.player.pause();
    for (int i = 0; i < 5; ++i) engine.tick();
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Paused);
    rig.player.play();
    rig.player.finishSong();
    EXPECT_TRUE(waitFor([&] { return rig.lastOpened() == "/music/b.mp3"; }, 2000));
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Playing);
    rig.svc.PlayOn = false;
    finish();
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.player.opens.size(), 2u);
}

// Slot 0 of an emptied list still holds a removed entry's text: nothing may open it.
TEST_F(EngineTest, EmptyListOpensNothingAndAWholePassOfFailuresIsReported) {
    int reports = 0;
    engine.nothingPlayable = [&] { ++reports; };
    rig.svc.CustomSongs = {"removed.mp3"};
    rig.svc.CustomCount = -1;
    rig.svc.ListMode = true;
    rig.player.open("/music/before.mp3");
    rig.player.play();
    play(0);  // the request ends what played before
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Stopped);
    finish();
    EXPECT_TRUE(rig.player.opens.size() == 1 && reports == 2 && !rig.svc.NewSong);
    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    rig.svc.ListMode = false;
    rig.player.failOpen("/music/");
    play(0);  // a and b in this tick
    EXPECT_EQ(reports, 2);
    engine.tick();  // c
    EXPECT_TRUE(reports == 3 && rig.player.opens.size() == 4);
    // Then at most one try a second, unless a song is asked for; STOP ends the trying.
    for (int i = 0; i < 9; ++i, rig.clock.advance(0.1)) engine.tick();
    EXPECT_EQ(rig.player.opens.size(), 4u);
    rig.clock.advance(0.2);
    engine.tick();
    EXPECT_EQ(rig.player.opens.size(), 5u);
    rig.type("1");  // skip
    engine.tick();
    EXPECT_EQ(rig.player.opens.size(), 7u);
    rig.type("2");
    EXPECT_FALSE(rig.svc.PlayOn);
}

TEST_F(EngineTest, ShuffleGivesTheEndsHalfWeightAndASkipNeverDrawsTheLast) {
    EXPECT_EQ(shuffleDraw(0.2499, 2), 0);
    EXPECT_EQ(shuffleDraw(0.25, 2), 1);
    EXPECT_EQ(shuffleDraw(0.75, 2), 2);
    EXPECT_EQ(skipDraw(0.9999, 2), 1);
    rig.setArchive({"a.mp3"});
    rig.svc.CustomSongs = {"x.mp3", "y.mp3", "z.mp3"};
    rig.svc.CustomCount = 2;
    rig.svc.ListMode = rig.svc.ShuffleOn = true;
    rig.random.values = {0.8};
    play(1);
    EXPECT_EQ(rig.lastOpened(), "/music/y.mp3");
    finish();
    EXPECT_EQ(rig.lastOpened(), "/music/z.mp3");  // Int(0.8 * 2 + 0.5)
}

TEST_F(EngineTest, KeysDuringTheOpenWaitAreSeenAfterIt) {
    rig.setArchive({"a.mp3", "b.mp3"});
    rig.player.failNextOpen();
    rig.pump.onPass = [&] {
        engine.tick();
        rig.svc.NewSong = true;
        rig.svc.SongPos = 1;
    };
    play(0);
    rig.pump.onPass = nullptr;
    engine.tick();
    EXPECT_EQ(rig.lastOpened(), "/music/b.mp3");
}
