// The libmpv player on real, freshly made songs: the end of a song, failures, pause and
// seek, and paths that must stay local files.
#include "platform/mpv_player.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

#include "fakes/wait_for.h"

namespace kelvorn {
namespace {

void runEventsFor(int milliseconds) { waitFor([] { return false; }, milliseconds); }

// A sine tone as MP3, made with sox and lame.
bool makeSong(const QString& dir, const QString& name, double seconds) {
    const QString wav = dir + "/" + name + ".wav";
    return QProcess::execute("sox", {"-n", "-r", "44100", "-c", "2", wav, "synth", QString::number(seconds), "sine", "440"}) == 0 &&
           QProcess::execute("lame", {"--quiet", wav, dir + "/" + name + ".mp3"}) == 0;
}

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
    void SetUp() override {
        if (!skipReason_.empty()) GTEST_SKIP() << skipReason_;
    }
    static std::string path(const char* name) { return (dir_->path() + "/" + name).toStdString(); }
    bool opened(MpvPlayer& player) {
        return waitFor([&] { return player.openState() == 6 || player.openFailed(); }) && player.openState() == 6;
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline std::string skipReason_;
};

TEST_F(MpvPlayerTest, SongPlaysToItsEndAndTheNextOneOpensByARelativePath) {
    MpvPlayer player;
    int changes = 0;
    QObject::connect(&player, &MediaPlayer::stateChanged, [&] { ++changes; });
    player.open(path("short.mp3"));
    EXPECT_EQ(player.openState(), 0);
    ASSERT_TRUE(opened(player));
    QElapsedTimer clock;
    clock.start();
    player.play();
    EXPECT_EQ(player.playState(), 2);
    ASSERT_TRUE(waitFor([&] { return player.playState() == 0; }));
    EXPECT_GE(clock.elapsed(), 600);  // even without a sound device the song takes its time
    EXPECT_EQ(player.openState(), 6);
    EXPECT_GE(changes, 3);

    struct Here {
        QString old = QDir::currentPath();
        ~Here() { QDir::setCurrent(old); }
    } restore;
    ASSERT_TRUE(QDir::setCurrent(dir_->path()));
    // Read as a URL this would be mpv's in-memory protocol; here it is a folder and a file.
    player.open("memory://x.mp3");
    EXPECT_EQ(player.fileName(), "memory://x.mp3");
    ASSERT_TRUE(opened(player));
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.position() > 0.3; }));
    player.pause();
    EXPECT_EQ(player.playState(), 1);
    runEventsFor(100);
    const double held = player.position();
    runEventsFor(300);
    EXPECT_NEAR(player.position(), held, 0.05);

    // A seek lands where asked, and play goes on from there, not from the start.
    player.setPosition(1.5);
    runEventsFor(200);
    EXPECT_NEAR(player.position(), 1.5, 0.1);
    clock.start();
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.playState() == 0; }));
    EXPECT_LT(clock.elapsed(), 1500);

    player.play();  // play after the end starts the same song again; stop closes it
    EXPECT_EQ(player.playState(), 2);
    player.stop();
    EXPECT_EQ(player.playState(), 0);
    runEventsFor(200);
    EXPECT_EQ(player.openState(), 0);
    EXPECT_FALSE(player.openFailed());
    EXPECT_EQ(player.errorLogCount(), 0);
}

TEST_F(MpvPlayerTest, MissingFileFailsQuicklyAndDoesNotSpoilTheNextOpen) {
    MpvPlayer player;
    player.open(path("missing.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openFailed(); }, 2000));
    EXPECT_EQ(player.openState(), 0);
    player.play();
    EXPECT_EQ(player.playState(), 0);

    // The failure of a file replaced at once belongs to that file only...
    player.open(path("missing.mp3"));
    player.open(path("short.mp3"));
    ASSERT_TRUE(opened(player));
    runEventsFor(200);
    EXPECT_FALSE(player.openFailed());

    // ...and a good file replaced at once never makes the missing one look open.
    player.open(path("short.mp3"));
    player.open(path("missing.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openFailed(); }, 2000));
    runEventsFor(200);
    EXPECT_EQ(player.openState(), 0);
}

// The alarm's last resort sounds without any file, endlessly; and a machine whose only
// working output is the silent fallback keeps looking for a real one at every song.
TEST_F(MpvPlayerTest, ToneNeedsNoFileAndTheSilentOutputIsNeverKept) {
    MpvPlayer player;
    player.playTone();
    EXPECT_EQ(player.playState(), 2);
    ASSERT_TRUE(opened(player));
    ASSERT_TRUE(waitFor([&] { return player.position() > 1.2; }, 5000));
    EXPECT_EQ(player.playState(), 2);
    EXPECT_EQ(player.fileName(), "");
    player.open(path("short.mp3"));  // the next open ends it
    ASSERT_TRUE(opened(player));
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.playState() == 0; }));
    EXPECT_EQ(player.errorLogCount(), 0);
    EXPECT_NE(player.pinnedAudioOutput(), "null");
}

}  // namespace
}  // namespace kelvorn
