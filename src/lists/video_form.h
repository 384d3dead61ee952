// SPDX-License-Identifier: GPL-3.0-or-later
// VideoForm: the black screen over the whole window that shows the video player's
// picture; plus the video steps of the start-up (intro) and of the sleep end.
#pragma once
#include <functional>
#include <string>

#include "core/screen.h"

namespace kelvorn {

class EventPump;
class MediaPlayer;

// Passes allowed for a video file to open: the intro and the first video of the list,
// then each following video.
constexpr long kFirstVideoOpenPasses = 45000;
constexpr long kNextVideoOpenPasses = 25000;

class VideoForm : public Screen {
    Q_OBJECT
public:
    VideoForm(QWidget* stage, Services& services);

    // KeyBack stops the video loop (VideoPlaying = false); Escape leaves full-screen
    // display, which the loop takes as the viewer leaving the video. Other keys do nothing.
    void keyTyped(const std::string& key) override;

    // Fits the screen to the window and shows it in front / hides it.
    void showVideo();
    void hideVideo();

    // The player's picture on this screen; nullptr without a video player.
    QWidget* picture() const { return picture_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A key typed while the picture had the focus counts like one typed on this screen.
    void player_keyPressed(int code);
    void fitToStage();

    QWidget* picture_ = nullptr;
};

// Lets events run while `player` opens its file: until it is open, the open has failed
// for good, `limit` passes have been made, or `giveUp` (when set) returns true.
// Returns the number of passes made.
long waitForOpen(EventPump& pump, const MediaPlayer& player, long limit, const std::function<bool()>& giveUp = {});

// The intro at start-up: plays `path` full screen on `form` to its end, then hides the
// form. Does nothing without a video player.
void playIntroVideo(Services& s, VideoForm& form, const std::string& path);

// The sleep end's video steps: stops the video player, back to the default display size,
// hides the form. The caller lets events run and clears VideoPlaying afterwards.
void stopVideoForSleep(Services& s, VideoForm& form);

}  // namespace kelvorn
