// SPDX-License-Identifier: GPL-3.0-or-later
// VideoListForm: the configured videos; select plays the chosen one full screen and
// then the following ones, wrapping to the first, until the viewer stops them.
#pragma once
#include "lists/list_browser.h"

namespace kelvorn {

class VideoForm;

class VideoListForm : public ListBrowser {
    Q_OBJECT
public:
    VideoListForm(QWidget* stage, Services& services, Transitions& transitions, VideoForm& videoForm);

    // The video being played; runs on independently of the highlight.
    int16_t VideoPos = 0;

protected:
    int count() const override;
    const std::string& entry(int index) const override;
    // Select runs the video loop from the line's video; second select does nothing,
    // not even the flash.
    void activate(int index, bool alt) override;
    // The highlight never moves below the last video.
    bool downStops() const override;

private:
    // Runs the videos from position p until VideoPlaying is cleared or the viewer
    // leaves full-screen display.
    void playVideos(int p);
    // Opens entry VideoPos of VideoFile and waits for it, at most `limit` passes.
    // Returns whether it opened and the passes the wait made.
    bool openVideo(long limit, long& waited);

    VideoForm& videoForm_;
    bool looping_ = false;
};

}  // namespace kelvorn
