// The libmpv player on real, freshly made songs: opening, the end of a song, failures,
// pause and seek, and paths that must stay local files.
#include "platform/mpv_player.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace kelvorn {
namespace {

// Runs pending events until the condition holds; false when the time runs out.
template <class Condition>
bool waitFor(Condition done, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

void runEventsFor(int milliseconds) {
    waitFor([] { return false; }, milliseconds);
}

bool run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A sine tone as MP3, made with sox and lame.
bool makeSong(const QString& dir, const QString& name, double seconds) {
    QString wav = dir + "/" + name + ".wav";
    return run("sox", {"-n", "-r", "44100", "-c", "2", wav, "synth", QString::number(seconds),
                       "sine", "440"}) &&
           run("lame", {"--quiet", wav, dir + "/" + name + ".mp3"});
}

class MpvPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QStandardPaths::findExecutable("sox").isEmpty() ||
            QStandardPaths::findExecutable("lame").isEmpty()) {
            skipReason_ = "sox or lame is not installed";
            return;
        }
        dir_ = std::make_unique<QTemporaryDir>();
        QString d = dir_->path();
        if (!makeSong(d, "short", 1.0) || !makeSong(d, "long", 2.0) || !QDir(d).mkdir("memory:") ||
            !QFile::copy(d + "/short.mp3", d + "/memory:/x.mp3"))
            skipReason_ = "could not make the test songs";
    }
    static void TearDownTestSuite() { dir_.reset(); }

    void SetUp() override {
        if (!skipReason_.empty())
            GTEST_SKIP() << skipReason_;
    }

    static std::string path(const char* name) { return (dir_->path() + "/" + name).toStdString(); }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline std::string skipReason_;
};

TEST_F(MpvPlayerTest, SongPlaysInRealTimeToItsEndAndTheNextOneOpens) {
    MpvPlayer player;
    int changes = 0;
    QObject::connect(&player, &MediaPlayer::stateChanged, [&] { ++changes; });

    player.open(path("short.mp3"));
    EXPECT_EQ(player.openState(), 0);
    ASSERT_TRUE(waitFor([&] { return player.openState() == 6; }));
    EXPECT_EQ(player.playState(), 0);
    EXPECT_FALSE(player.openFailed());
    EXPECT_EQ(player.position(), 0);

    QElapsedTimer clock;
    clock.start();
    player.play();
    EXPECT_EQ(player.playState(), 2);
    ASSERT_TRUE(waitFor([&] { return player.playState() == 0; }));
    // Without a sound device the song must still take its time, not end at once.
    EXPECT_GE(clock.elapsed(), 600);
    EXPECT_EQ(player.openState(), 6);
    EXPECT_FALSE(player.openFailed());
    EXPECT_GE(changes, 3);

    // Play after the end starts the same song again.
    player.play();
    EXPECT_EQ(player.playState(), 2);
    ASSERT_TRUE(waitFor([&] { return player.playState() == 0; }));

    player.open(path("long.mp3"));
    EXPECT_EQ(player.openState(), 0);
    EXPECT_EQ(player.fileName(), path("long.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openState() == 6; }));
    player.play();
    EXPECT_EQ(player.playState(), 2);
    player.stop();
    EXPECT_EQ(player.playState(), 0);
    EXPECT_EQ(player.openState(), 0);
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
    EXPECT_FALSE(player.openFailed());
    ASSERT_TRUE(waitFor([&] { return player.openState() == 6; }));
    runEventsFor(200);
    EXPECT_FALSE(player.openFailed());
    EXPECT_EQ(player.openState(), 6);

    // ...and a good file replaced at once never makes the missing one look open.
    player.open(path("short.mp3"));
    player.open(path("missing.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openFailed(); }, 2000));
    runEventsFor(200);
    EXPECT_EQ(player.openState(), 0);
    EXPECT_EQ(player.fileName(), path("missing.mp3"));
}

TEST_F(MpvPlayerTest, PauseHoldsThePositionAndPlayResumesFromIt) {
    MpvPlayer player;
    player.open(path("long.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openState() == 6; }));
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.position() > 0.3; }));

    player.pause();
    EXPECT_EQ(player.playState(), 1);
    runEventsFor(100);
    double held = player.position();
    runEventsFor(400);
    EXPECT_NEAR(player.position(), held, 0.05);
    EXPECT_EQ(player.playState(), 1);

    player.play();
    EXPECT_EQ(player.playState(), 2);
    ASSERT_TRUE(waitFor([&] { return player.position() > held + 0.2; }));

    // A seek lands where asked, and the song then plays on from there to its end.
    player.pause();
    player.setPosition(1.5);
    runEventsFor(200);
    EXPECT_NEAR(player.position(), 1.5, 0.1);
    QElapsedTimer clock;
    clock.start();
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.playState() == 0; }));
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(player.errorLogCount(), 0);
}

TEST_F(MpvPlayerTest, RelativePathsOpenAsLocalFilesAndKeepTheirName) {
    QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_->path()));
    MpvPlayer player;

    player.open("short.mp3");
    EXPECT_EQ(player.fileName(), "short.mp3");
    EXPECT_TRUE(waitFor([&] { return player.openState() == 6; }));

    // Read as a URL this would be mpv's in-memory protocol; here it is a folder and a file.
    player.open("memory://x.mp3");
    EXPECT_EQ(player.fileName(), "memory://x.mp3");
    EXPECT_TRUE(waitFor([&] { return player.openState() == 6 || player.openFailed(); }));
    EXPECT_EQ(player.openState(), 6);

    QDir::setCurrent(before);
}

}  // namespace
}  // namespace kelvorn
