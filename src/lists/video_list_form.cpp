// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/video_list_form.h"

#include <QScopedValueRollback>

#include "lists/video_form.h"
#include "platform/event_pump.h"
#include "platform/media_player.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {
// The least time between one open and the next when a video ends as soon as it starts.
constexpr long kMinVideoPasses = 2000;
}  // namespace

VideoListForm::VideoListForm(QWidget* stage, Services& services, Transitions& transitions, VideoForm& videoForm)
    : ListBrowser(stage, services, transitions, ListOptions{QStringLiteral("PLAY VIDEO"), false, false}),
      videoForm_(videoForm) {
    AktListPos = 0;
    FillList();
}

int VideoListForm::count() const { return s.svc.VideoCount; }

const std::string& VideoListForm::entry(int index) const { return entryAt(s.svc.VideoName, index); }

bool VideoListForm::downStops() const { return AktListPos + aktbutt >= s.svc.VideoCount; }

void VideoListForm::activate(int index, bool alt) {
    if (alt || looping_) return;
    KelvornSERVICE& svc = s.svc;
    svc.VideoMode = true;
    flash(index, Flash::Play);
    restoreLineLook(index);
    // Keys served during the flash may have paged the list: play what the line stands
    // for now, and nothing when it lies past the end.
    const int p = positionOf(index);
    if (p >= 0 && s.VideoPlayer) {
        const QScopedValueRollback looping(looping_, true);
        playVideos(p);
    }
    svc.VideoMode = false;
}

bool VideoListForm::openVideo(long limit, long& waited) {
    MediaPlayer& player = *s.VideoPlayer;
    const std::string& file = entryAt(s.svc.VideoFile, VideoPos);
    waited = 0;
    // A name without a file (an odd last line) counts as a file that did not open; the
    // player still holds the previous video, so its open state says nothing here.
    if (file.empty()) return false;
    player.open(file);
    player.setControlVisible(false);
    s.pump.pass();
    waited = 1 + waitForOpen(s.pump, player, limit, [this] { return !s.svc.VideoPlaying; });
    return player.openState() == MediaPlayer::Open;
}

void VideoListForm::playVideos(int p) {
    KelvornSERVICE& svc = s.svc;
    MediaPlayer& player = *s.VideoPlayer;
    player.setControlVisible(false);
    s.pump.pass();
    player.setControlSize(0, 0);
    videoForm_.showVideo();

    // Set before the first wait, so that the back key (or the sleep end) already ends it.
    svc.VideoPlaying = true;
    VideoPos = static_cast<int16_t>(p);
    long waited = 0;
    bool opened = openVideo(kFirstVideoOpenPasses, waited);
    player.setDisplaySize(MediaPlayer::FullScreen);
    if (opened && svc.VideoPlaying) player.play();
    player.setDisplaySize(MediaPlayer::FullScreen);

    // A video that did not open is skipped only once its whole wait has passed, even
    // when the player gave up early, and one that opened but ended at once is followed
    // after a short pause: a list of broken files must not make the loop open file after
    // file as fast as it can. The loop keeps serving keys meanwhile.
    long due = opened ? kMinVideoPasses : kFirstVideoOpenPasses;
    long since = waited;  // passes since the current video was opened
    while (svc.VideoPlaying) {
        if (player.displaySize() != MediaPlayer::FullScreen) svc.VideoPlaying = false;
        s.pump.pass();
        ++since;
        if (!svc.VideoPlaying || player.playState() != MediaPlayer::Stopped || since < due) continue;
        VideoPos = static_cast<int16_t>(VideoPos + 1 > svc.VideoCount ? 0 : VideoPos + 1);
        player.setControlSize(0, 0);
        opened = openVideo(kNextVideoOpenPasses, waited);
        if (opened && svc.VideoPlaying) player.play();
        due = opened ? kMinVideoPasses : kNextVideoOpenPasses;
        since = waited;
    }

    player.stop();
    videoForm_.hideVideo();
}

}  // namespace kelvorn
