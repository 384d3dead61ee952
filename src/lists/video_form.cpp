// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/video_form.h"

#include <QKeyEvent>

#include "platform/debug_log.h"
#include "platform/event_pump.h"
#include "platform/media_player.h"
#include "platform/palette.h"
#include "platform/stage.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {
const std::string kEscape = "\x1b";
}  // namespace

VideoForm::VideoForm(QWidget* stage, Services& services) : Screen(stage, services) {
    setWindowTitle(QStringLiteral("kelvorn"));
    setColours(this, palette::kWhite, palette::kBlack, true);
    if (MediaPlayer* player = s.VideoPlayer) {
        picture_ = player->videoWidget(this);
        connect(player, &MediaPlayer::keyPressed, this, &VideoForm::player_keyPressed);
    }
    // The video screen covers the whole window, bars included, and follows its size.
    if (stage) stage->installEventFilter(this);
    fitToStage();
    hide();
}

void VideoForm::keyTyped(const std::string& key) {
    if (key == s.svc.KeyBack) {
        s.svc.VideoPlaying = false;
    } else if (key == kEscape) {
        if (s.VideoPlayer) s.VideoPlayer->setDisplaySize(MediaPlayer::DefaultSize);
    }
}

void VideoForm::player_keyPressed(int code) {
    // Both ways a key can arrive (the notification and the key event handed up from the
    // picture) may report the same press; both actions are harmless when repeated.
    if (code > 0 && code <= 0xFF) keyTyped(std::string(1, static_cast<char>(code)));
}

void VideoForm::keyPressEvent(QKeyEvent* event) {
    // Some platforms give Escape no text; it still leaves full-screen display.
    if (event->key() == Qt::Key_Escape && event->text().isEmpty()) {
        event->accept();
        keyTyped(kEscape);
        return;
    }
    Screen::keyPressEvent(event);
}

void VideoForm::showVideo() {
    fitToStage();
    showScreen();
}

void VideoForm::hideVideo() {
    if (!isHidden()) hideScreen();
}

void VideoForm::fitToStage() {
    if (const QWidget* stage = parentWidget()) setGeometry(stage->rect());
}

bool VideoForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) fitToStage();
    return Screen::eventFilter(watched, event);
}

long waitForOpen(EventPump& pump, const MediaPlayer& player, long limit, const std::function<bool()>& giveUp) {
    long passes = 0;
    while (player.openState() == MediaPlayer::Closed && !player.openFailed() && passes < limit) {
        if (giveUp && giveUp()) break;
        pump.pass();
        ++passes;
    }
    return passes;
}

void playIntroVideo(Services& s, VideoForm& form, const std::string& path) {
    MediaPlayer* player = s.VideoPlayer;
    if (!player || path.empty()) return;
    debugEvent("intro", path);
    form.showVideo();
    player->open(path);
    player->setControlVisible(false);
    s.pump.pass();
    waitForOpen(s.pump, *player, kFirstVideoOpenPasses);
    player->setDisplaySize(MediaPlayer::FullScreen);
    if (player->openState() == MediaPlayer::Open) player->play();
    player->setDisplaySize(MediaPlayer::FullScreen);
    while (player->playState() == MediaPlayer::Playing) s.pump.pass();
    form.hideVideo();
}

void stopVideoForSleep(Services& s, VideoForm& form) {
    if (MediaPlayer* player = s.VideoPlayer) {
        player->stop();
        player->setDisplaySize(MediaPlayer::DefaultSize);
    }
    form.hideVideo();
}

}  // namespace kelvorn
