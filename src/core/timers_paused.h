// SPDX-License-Identifier: GPL-3.0-or-later
// The clock and playback timers stopped for the length of a scope: the long sequences
// of the clock (alarm start, snooze end, sleep end) must not be entered again, nor the
// engine start a song, while they let events run.
#pragma once
#include <QTimer>
#include <QtGlobal>

namespace kelvorn {

class TimersPaused {
public:
    TimersPaused(QTimer& clock, QTimer& playback)
        : clock_(clock), playback_(playback), clockRan_(clock.isActive()), playbackRan_(playback.isActive()) {
        clock_.stop();
        playback_.stop();
    }
    // Restarts the timers that ran before, so pauses may nest.
    ~TimersPaused() {
        if (clockRan_) clock_.start();
        if (playbackRan_) playback_.start();
    }
    Q_DISABLE_COPY_MOVE(TimersPaused)

private:
    QTimer& clock_;
    QTimer& playback_;
    const bool clockRan_;
    const bool playbackRan_;
};

}  // namespace kelvorn
