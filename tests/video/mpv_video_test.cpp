// The libmpv video player on freshly made videos: on a real X display (Xvfb) the picture
// is drawn and videos follow one another; without OpenGL (offscreen) it still plays.
#include "platform/mpv_player.h"
#include "platform/mpv_video_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace kelvorn {
namespace {

template <class Condition>
bool waitFor(Condition done, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    for (; !done(); QThread::msleep(5)) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// A two-second test picture with a tone, H.264 where the encoder exists, else MPEG-4.
bool makeVideo(const QString& path) {
    for (const char* codec : {"libx264", "mpeg4"}) {
        if (QProcess::execute("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=duration=2:size=320x240:rate=25",
                                         "-f", "lavfi", "-i", "sine=duration=2", "-shortest", "-c:v", codec,
                                         "-pix_fmt", "yuv420p", "-c:a", "aac", path}) == 0)
            return true;
    }
    return false;
}

class MpvVideoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        if (!makeVideo(dir_->filePath("one.mp4")) || !makeVideo(dir_->filePath("two.mp4")))
            skipReason_ = "could not make the test videos (ffmpeg is needed)";
    }
    static void TearDownTestSuite() { dir_.reset(); }
    void SetUp() override {
        if (!skipReason_.empty()) GTEST_SKIP() << skipReason_;
    }
    static std::string path(const char* name) { return dir_->filePath(name).toStdString(); }
    static bool opened(MpvPlayer& player) {
        return waitFor([&] { return player.openState() == 6 || player.openFailed(); }) && player.openState() == 6;
    }
    static bool playsToItsEnd(MpvPlayer& player) {
        QElapsedTimer clock;
        clock.start();
        player.play();
        return player.playState() == 2 && waitFor([&] { return player.playState() == 0; }) &&
               clock.elapsed() >= 1500 && player.openState() == 6 && !player.openFailed();
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline std::string skipReason_;
};

TEST_F(MpvVideoTest, PictureIsDrawnAndTheNextVideoFollows) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    auto host = std::make_unique<QWidget>();
    host->resize(640, 480);
    host->show();
    MpvPlayer player(MpvPlayer::Kind::Video);
    auto* widget = qobject_cast<MpvVideoWidget*>(player.videoWidget(host.get()));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(player.videoWidget(host.get()), widget);  // made once
    player.setControlVisible(false);
    player.setControlSize(0, 0);

    // Opened before the picture is ever shown, as the video screen does.
    player.open(path("one.mp4"));
    ASSERT_TRUE(opened(player));
    player.setDisplaySize(3);
    EXPECT_EQ(player.displaySize(), 3);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->geometry(), host->rect());
    ASSERT_TRUE(waitFor([&] { return widget->hasRenderContext(); }, 3000));
    player.play();
    ASSERT_TRUE(waitFor([&] { return player.position() > 0.5; }));
    // The test picture is colour bars, never black.
    const QImage frame = widget->grabPicture();
    const QRgb centre = frame.pixel(frame.width() / 2, frame.height() / 2);
    EXPECT_GT(qRed(centre) + qGreen(centre) + qBlue(centre), 60);
    ASSERT_TRUE(waitFor([&] { return player.playState() == 0; }));
    EXPECT_EQ(player.openState(), 6);
    EXPECT_GT(widget->frameCount(), 10);

    player.open(path("two.mp4"));
    ASSERT_TRUE(opened(player));
    EXPECT_TRUE(playsToItsEnd(player));

    // The picture gone with its screen, videos still play (sound only) and end normally.
    host.reset();
    player.open(path("one.mp4"));
    ASSERT_TRUE(opened(player));
    EXPECT_TRUE(playsToItsEnd(player));
    EXPECT_EQ(player.errorLogCount(), 0);
}

TEST_F(MpvVideoTest, KeysPlacementAndPlayingWithoutAPictureSurface) {
    EXPECT_EQ(MpvPlayer().videoWidget(nullptr), nullptr);  // songs have no picture

    QWidget host;
    host.resize(400, 300);
    host.show();
    MpvPlayer player(MpvPlayer::Kind::Video);
    QWidget* widget = player.videoWidget(&host);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
    player.setControlVisible(true);
    player.setControlSize(120, 90);
    EXPECT_EQ(widget->size(), QSize(120, 90));
    EXPECT_TRUE(widget->isVisible());
    player.setControlVisible(false);
    player.setDisplaySize(3);
    EXPECT_TRUE(widget->isVisible());
    host.resize(500, 400);
    EXPECT_EQ(widget->geometry(), host.rect());

    std::vector<int> keys;
    QObject::connect(&player, &MediaPlayer::keyPressed, [&](int code) { keys.push_back(code); });
    QKeyEvent five(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    QApplication::sendEvent(widget, &five);
    EXPECT_EQ(player.displaySize(), 3);
    QApplication::sendEvent(widget, &escape);
    EXPECT_EQ(keys, std::vector<int>{'5'});
    EXPECT_EQ(player.displaySize(), 0);
    EXPECT_FALSE(widget->isVisible());  // back to the control's own place
    EXPECT_EQ(widget->size(), QSize(120, 90));

    // Shown on any platform (offscreen has no OpenGL): the video plays in real time anyway.
    player.setDisplaySize(3);
    player.open(path("one.mp4"));
    ASSERT_TRUE(opened(player));
    EXPECT_TRUE(playsToItsEnd(player));
    EXPECT_EQ(player.errorLogCount(), 0);
}

}  // namespace
}  // namespace kelvorn

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
