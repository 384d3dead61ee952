#include "core/playback_engine.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/core_test_rig.h"

using namespace kelvorn;

namespace {

struct EngineTest : ::testing::Test {
    CoreRig rig;
    PlaybackEngine& engine = rig.main->engine();
    void play(int pos) {
        rig.svc.SongPos = static_cast<int16_t>(pos);
        rig.svc.NewSong = true;
        rig.svc.PlayOn = true;
        engine.tick();
    }
    void finish() {
        rig.player.finishSong();
        engine.tick();
    }
};

}  // namespace

TEST_F(EngineTest, PlaysTheRequestedSongAndWrapsBothWays) {
    rig.setArchive({"A - One.mp3", "B - Two.mp3", "c.mp3"});
    play(1);
    EXPECT_EQ(rig.lastOpened(), "/music/B - Two.mp3");
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Playing);
    EXPECT_FALSE(rig.svc.NewSong);
    EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::Song) + rig.main->shown(VelmotMAIN::Field::Artist), "TwoB");
    finish();
    finish();  // past the last entry
    EXPECT_EQ(rig.svc.SongPos, 0);
    EXPECT_EQ(rig.lastOpened(), "/music/A - One.mp3");
    play(-1);  // "previous" from the first entry
    EXPECT_EQ(rig.lastOpened(), "/music/c.mp3");
    play(3);  // skip past the end
    EXPECT_EQ(rig.svc.SongPos, 0);
}

TEST_F(EngineTest, PausedSongStaysPausedAndStoppedEngineDoesNothing) {
    rig.setArchive({"a.mp3", "b.mp3"});
    play(0);
    rig.player.pause();
    const size_t opens = rig.player.opens.size();
    for (int i = 0; i < 5; ++i) engine.tick();
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Paused);
    rig.svc.PlayOn = false;
    finish();
    EXPECT_EQ(rig.player.opens.size(), opens);
}

TEST_F(EngineTest, MissingFileMovesOnWithinTheSameTick) {
    rig.setArchive({"a.mp3", "gone.mp3", "c.mp3"});
    rig.player.markMissing("/music/gone.mp3");
    play(1);
    EXPECT_EQ(rig.lastOpened(), "/music/c.mp3");
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Playing);
    EXPECT_LT(rig.pump.passes, 10);  // the wait for a failed open ends early

}

// Slot 0 of an emptied list still holds a removed entry's text: nothing may open it. A
// list of which a whole pass fails is reported, so the alarm can try something else.
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
    EXPECT_EQ(rig.player.opens.size(), 1u);
    EXPECT_EQ(reports, 2);
    EXPECT_FALSE(rig.svc.NewSong);

    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    rig.svc.ListMode = false;
    rig.player.failOpen("/music/");
    play(0);  // a and b in this tick
    EXPECT_EQ(reports, 2);
    engine.tick();  // c
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(rig.player.opens.size(), 4u);
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

TEST_F(EngineTest, ShuffleDrawGivesTheEndsHalfWeight) {
    // With N = 2: Int(rnd * 2 + 0.5) is 0 below 0.25, 1 up to 0.75, 2 above.
    std::map<int, int> hits;
    for (int i = 0; i < 1000; ++i) hits[shuffleDraw((i + 0.5) / 1000.0, 2)]++;
    EXPECT_EQ(hits, (std::map<int, int>{{0, 250}, {1, 500}, {2, 250}}));
    EXPECT_EQ(shuffleDraw(0.9999, 0), 0);
    EXPECT_EQ(skipDraw(0.9999, 2), 1);  // a skip never draws the last entry
}

TEST_F(EngineTest, ListModeShufflesOverTheCustomList) {
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
    // A re-entrant tick during the wait does nothing; a skip request is kept for later.
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
