// The libmpv player on real, freshly made songs: the end of a song, failures, pause and
// seek, paths that must stay local files, and players destroyed at any moment.
#include "platform/mpv_player.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>

#include "fakes/wait_for.h"

namespace kelvorn {
namespace {

// A sine tone as MP3, made with sox and lame.
bool makeSong(const QString& dir, const QString& name, double seconds) {
    const QString wav = dir + "/" + name + ".wav";
    return QProcess::execute("sox", {"-n", "-r", "44100", "-c", "2", wav, "synth", QString::number(seconds),
                                     "sine", "440"}) == 0 &&
           QProcess::execute("lame", {"--quiet", wav, dir + "/" + name + ".mp3"}) == 0;
}

// For what must not happen: true when `fault` never held within the time.
bool neverWithin(auto fault, int ms = 300) { return !waitFor(fault, ms); }

class MpvPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        const QString d = dir_->path();
        if (!makeSong(d, "short", 1.0) || !makeSong(d, "long", 2.0) || !QDir(d).mkdir("memory:") ||
            !QFile::copy(d + "/long.mp3", d + "/memory:/x.mp3"))
            skipReason_ = "could not make the test songs (sox and lame are needed)";
    }
    static void TearDownTestSuite() { dir_.reset(); }
    void SetUp() override { if (!skipReason_.empty()) GTEST_SKIP() << skipReason_; }
    static std::string path(const char* name) { return (dir_->path() + "/" + name).toStdString(); }
    static bool opened(MpvPlayer& p, const std::string& file = {}) {
        if (!file.empty()) p.open(file);
        return waitFor([&] { return p.openState() == MediaPlayer::Open || p.openFailed(); }) &&
               p.openState() == MediaPlayer::Open;
    }
    // Opens the song and plays it until its position passes `seconds`.
    static bool playsPast(MpvPlayer& p, const char* song, double seconds) {
        if (!opened(p, path(song))) return false;
        p.play();
        return waitFor([&] { return p.position() > seconds; });
    }
    // Plays the open song to its end without an error, noting the lowest and the highest
    // position seen meanwhile (0, before and after the song, does not count).
    bool playsToEnd(MpvPlayer& p) {
        p.play();
        lowest = 1e9;
        highest = 0;
        return p.playState() == MediaPlayer::Playing && waitFor([&] {
                   if (p.playState() != MediaPlayer::Playing) return true;
                   if (p.position() > 0) lowest = std::min(lowest, p.position());
                   highest = std::max(highest, p.position());
                   return false;
               }) && p.playState() == MediaPlayer::Stopped && !p.openFailed() && p.errorLogCount() == 0;
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline std::string skipReason_;
    MpvPlayer player;
    double lowest = 0, highest = 0;
};

TEST_F(MpvPlayerTest, SongOpensInTheBackgroundPlaysToItsEndInRealTimeAndStaysOpen) {
    int changes = 0;
    QObject::connect(&player, &MediaPlayer::stateChanged, [&] { ++changes; });
    player.open(path("short.mp3"));
    EXPECT_EQ(player.openState(), MediaPlayer::Closed);
    ASSERT_TRUE(opened(player));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(playsToEnd(player));
    EXPECT_GE(clock.elapsed(), 600);  // even without a sound device the song takes its time
    EXPECT_EQ(player.openState(), MediaPlayer::Open);
    EXPECT_GE(changes, 3);
    EXPECT_TRUE(playsToEnd(player));  // play after the end starts the same song again
}

// Read as a URL this would be mpv's in-memory protocol; here it is a folder and a file.
TEST_F(MpvPlayerTest, RelativePathThatLooksLikeAUrlIsALocalFile) {
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_->path()));
    EXPECT_TRUE(opened(player, "memory://x.mp3"));
    EXPECT_EQ(player.fileName(), "memory://x.mp3");
    QDir::setCurrent(old);
}

TEST_F(MpvPlayerTest, PauseHoldsThePositionAndPlayGoesOnFromThere) {
    ASSERT_TRUE(playsPast(player, "long.mp3", 0.3));
    player.pause();
    EXPECT_EQ(player.playState(), MediaPlayer::Paused);
    const double held = player.position();
    EXPECT_TRUE(neverWithin([&] { return std::abs(player.position() - held) > 0.05; }, 400));
    ASSERT_TRUE(playsToEnd(player));
    EXPECT_GT(lowest, held - 0.1);
}

TEST_F(MpvPlayerTest, SeekLandsWhereAskedAndPlayGoesOnFromThere) {
    ASSERT_TRUE(playsPast(player, "long.mp3", 0.3));
    player.setPosition(1.5);
    ASSERT_TRUE(playsToEnd(player));
    EXPECT_GT(lowest, 1.4);
    EXPECT_GT(highest, 1.8);
}

TEST_F(MpvPlayerTest, StopClosesTheSongForGood) {
    ASSERT_TRUE(playsPast(player, "long.mp3", 0));
    player.stop();
    EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
    EXPECT_TRUE(neverWithin([&] { return player.openState() != MediaPlayer::Closed || player.openFailed(); }));
    EXPECT_EQ(player.errorLogCount(), 0);
}

TEST_F(MpvPlayerTest, MissingFileFailsQuicklyAndDoesNotSpoilTheNextOpen) {
    player.open(path("missing.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openFailed(); }, 2000));
    player.play();
    EXPECT_TRUE(player.openState() == MediaPlayer::Closed && player.playState() == MediaPlayer::Stopped);
    // The failure of a file replaced at once belongs to that file only...
    player.open(path("missing.mp3"));
    ASSERT_TRUE(opened(player, path("short.mp3")));
    EXPECT_TRUE(neverWithin([&] { return player.openFailed(); }));
    // ...and a good file replaced at once never makes the missing one look open.
    player.open(path("short.mp3"));
    player.open(path("missing.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openFailed(); }, 2000));
    EXPECT_TRUE(neverWithin([&] { return player.openState() != MediaPlayer::Closed; }));
}

// The alarm's last resort sounds without any file, endlessly; and a machine whose only
// working output is the silent fallback keeps looking for a real one at every song.
TEST_F(MpvPlayerTest, ToneNeedsNoFileAndTheSilentOutputIsNeverKept) {
    player.playTone();
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
    ASSERT_TRUE(opened(player));
    ASSERT_TRUE(waitFor([&] { return player.position() > 1.2; }, 5000));
    EXPECT_EQ(player.playState(), MediaPlayer::Playing);
    EXPECT_EQ(player.fileName(), "");
    ASSERT_TRUE(opened(player, path("short.mp3")));  // the next open ends it
    EXPECT_TRUE(playsToEnd(player));
    EXPECT_NE(player.pinnedAudioOutput(), "null");
}

// A player may go at any moment: before its core was ever made, with the core idle, while
// a song loads or plays. Nothing its core still had queued may reach it afterwards, and
// another player plays on meanwhile.
TEST_F(MpvPlayerTest, PlayerDestroyedAtAnyMomentLeavesNothingBehind) {
    ASSERT_TRUE(playsPast(player, "long.mp3", 0));
    for (const std::string moment : {"never used", "core made", "loading", "playing"}) {
        SCOPED_TRACE(moment);
        auto gone = std::make_unique<MpvPlayer>();
        if (moment == "core made") {
            EXPECT_TRUE(gone->prepare());
        } else if (moment == "loading") {
            gone->open(path("short.mp3"));
        } else if (moment == "playing") {
            ASSERT_TRUE(playsPast(*gone, "short.mp3", 0.1));
        }
        gone.reset();
    }
    ASSERT_TRUE(waitFor([&] { return player.playState() == MediaPlayer::Stopped; }));  // the queued events run
    EXPECT_TRUE(!player.openFailed() && player.errorLogCount() == 0);
}

}  // namespace
}  // namespace kelvorn
