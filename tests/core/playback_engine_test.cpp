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
};

}  // namespace

TEST_F(EngineTest, RequestedSongOpensPlaysAndShowsItsName) {
    rig.setArchive({"A - One.mp3", "B - Two.mp3"});
    play(1);
    EXPECT_EQ(rig.lastOpened(), "/music/B - Two.mp3");
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Playing);
    EXPECT_FALSE(rig.svc.NewSong);
    EXPECT_EQ(rig.main->MainSong->text(), "Two");
    EXPECT_EQ(rig.main->MainInterpret->text(), "B");
}

TEST_F(EngineTest, OrderWrapsBothWays) {
    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    play(2);
    rig.player.finishSong();
    engine.tick();
    EXPECT_EQ(rig.svc.SongPos, 0);
    EXPECT_EQ(rig.lastOpened(), "/music/a.mp3");

    play(-1);  // "previous" from the first entry
    EXPECT_EQ(rig.svc.SongPos, 2);
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
    EXPECT_EQ(rig.player.opens.size(), opens);
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Paused);

    rig.svc.PlayOn = false;
    rig.player.finishSong();
    engine.tick();
    EXPECT_EQ(rig.player.opens.size(), opens);
}

TEST_F(EngineTest, MissingFileMovesOnWithinTheSameTick) {
    rig.setArchive({"a.mp3", "gone.mp3", "c.mp3"});
    rig.player.markMissing("/music/gone.mp3");
    play(1);
    EXPECT_EQ(rig.svc.SongPos, 2);
    EXPECT_EQ(rig.lastOpened(), "/music/c.mp3");
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Playing);
    // The wait for a failed open ends early instead of running all its passes.
    EXPECT_LT(rig.pump.passes, 10);
}

TEST_F(EngineTest, EmptyListKeepsTryingWithoutCrashing) {
    rig.player.markMissing("/music/");  // entry 0 of an empty list names the folder itself
    play(0);
    engine.tick();
    EXPECT_EQ(rig.svc.SongPos, 0);
    EXPECT_TRUE(rig.svc.PlayOn);
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Stopped);
}

TEST_F(EngineTest, CustomListPlaysInListMode) {
    rig.setArchive({"a.mp3"});
    rig.svc.CustomSongs = {"x.mp3", "y.mp3"};
    rig.svc.CustomCount = 1;
    rig.svc.ListMode = true;
    play(1);
    EXPECT_EQ(rig.lastOpened(), "/music/y.mp3");
}

TEST_F(EngineTest, ShuffleDrawGivesTheEndsHalfWeight) {
    // With N = 2: Int(rnd * 2 + 0.5) is 0 below 0.25, 1 up to 0.75, 2 above.
    std::map<int, int> hits;
    for (int i = 0; i < 1000; ++i) hits[shuffleDraw((i + 0.5) / 1000.0, 2)]++;
    EXPECT_EQ(hits[0], 250);
    EXPECT_EQ(hits[1], 500);
    EXPECT_EQ(hits[2], 250);
    EXPECT_EQ(shuffleDraw(0.9999, 0), 0);
    EXPECT_EQ(skipDraw(0.9999, 2), 1);  // a skip never draws the last entry
}

TEST_F(EngineTest, ShuffleUsesTheGeneratorForTheNextSong) {
    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    rig.svc.ShuffleOn = true;
    rig.random.values = {0.8};
    play(0);
    rig.player.finishSong();
    engine.tick();
    EXPECT_EQ(rig.svc.SongPos, 2);
    EXPECT_EQ(rig.lastOpened(), "/music/c.mp3");
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
