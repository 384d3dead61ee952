// SPDX-License-Identifier: GPL-3.0-or-later
// The libmpv video player: the picture on Xvfb, sound only offscreen; keys and placement alike.
#include "mpv/mpv_player.h"
#include "mpv/mpv_video_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

#include "fakes/wait_for.h"

namespace kelvorn {
namespace {

bool opens(MpvPlayer& player, const QString& path) {
    player.open(path.toStdString());
    return waitFor([&] { return player.openState() == 6 || player.openFailed(); }) && player.openState() == 6;
}

// Plays the open video to its end without an error.
bool playsToEnd(MpvPlayer& player) {
    player.play();
    return player.playState() == 2 && waitFor([&] { return player.playState() == 0; }) && !player.openFailed() &&
           player.errorLogCount() == 0;
}

TEST(MpvVideo, PlaysVideosToTheirEndWithThePictureWhereThereIsOpenGL) {
    QTemporaryDir dir;
    const QString video = dir.filePath("test.mp4");  // a two-second test picture with a tone
    if (QProcess::execute("ffmpeg", {"-loglevel", "error", "-f", "lavfi", "-i", "testsrc=duration=2:size=320x240", "-f",
                                     "lavfi", "-i", "sine=duration=2", "-c:v", "mpeg4", "-c:a", "aac", video}) != 0)
        GTEST_SKIP() << "could not make the test video (ffmpeg is needed)";
    auto host = std::make_unique<QWidget>();
    host->resize(400, 300);
    host->show();
    MpvPlayer player(MpvPlayer::Kind::Video);
    auto* widget = qobject_cast<MpvVideoWidget*>(player.videoWidget(host.get()));
    ASSERT_NE(widget, nullptr);
    player.setControlVisible(false);
    player.setControlSize(120, 90);
    ASSERT_TRUE(opens(player, video));  // before the picture is ever shown, as the video screen does
    player.setDisplaySize(MediaPlayer::FullScreen);
    host->resize(640, 480);
    EXPECT_EQ(widget->geometry(), host->rect());  // full screen follows its parent
    if (QGuiApplication::platformName() == "xcb") {
        ASSERT_TRUE(waitFor([&] { return widget->hasRenderContext(); }, 3000));
        player.play();
        ASSERT_TRUE(waitFor([&] { return player.position() > 0.5; }));
        const QImage frame = widget->grabPicture();  // colour bars, never black
        const QRgb centre = frame.pixel(frame.width() / 2, frame.height() / 2);
        EXPECT_GT(qRed(centre) + qGreen(centre) + qBlue(centre), 60);
        ASSERT_TRUE(waitFor([&] { return player.playState() == 0; }));
        EXPECT_GT(widget->frameCount(), 10);
    }

    // Characters go to the screen; escape leaves full screen, back to the hidden control.
    std::vector<int> keys;
    QObject::connect(&player, &MediaPlayer::keyPressed, [&](int code) { keys.push_back(code); });
    QKeyEvent five(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    QApplication::sendEvent(widget, &five);
    QApplication::sendEvent(widget, &escape);
    EXPECT_EQ(keys, std::vector<int>{'5'});
    EXPECT_EQ(player.displaySize(), 0);
    EXPECT_FALSE(widget->isVisible());
    EXPECT_EQ(widget->size(), QSize(120, 90));

    player.setDisplaySize(MediaPlayer::FullScreen);
    EXPECT_TRUE(opens(player, video) && playsToEnd(player));
    host.reset();  // the picture gone with its screen: videos still play, as sound only
    EXPECT_TRUE(opens(player, video) && playsToEnd(player));
}

}  // namespace
}  // namespace kelvorn
