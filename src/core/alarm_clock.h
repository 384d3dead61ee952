// SPDX-License-Identifier: GPL-3.0-or-later
// AlarmClock: the main screen's clock tick (clock, elapsed time, snooze end, sleep
// countdown, alarm) and what the "0" key does (snooze or sleep timer).
#pragma once
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/black_screen.h"
#include "core/services.h"
#include "platform/clock.h"

namespace kelvorn {

class MainDisplay;

// Ticks further apart in real time than this (a suspend, a stalled machine, a changed
// system clock) are a jump of the clock rather than a late tick.
constexpr double kClockCatchUpSeconds = 10;
// After a jump an alarm that fell due within this time still sounds; older ones are
// skipped for that day.
constexpr double kResumeCatchUpSeconds = 3600;

// The second of the day (0..86399) that an "hh:mm:ss" text names, surrounding blanks
// allowed; nothing for any other text or a time that never occurs ("29:75:00").
std::optional<int> secondOfDay(const std::string& text);

// A moment on the local timeline: the local date's day number and the second of it.
using LocalSecond = std::pair<long long, int>;

// Where the alarm `target` falls due at the tick `now`: the time text is contained in
// `target`, or `target` names a local second passed since the tick before - one skipped
// by a daylight-saving switch too - when that tick came at most kClockCatchUpSeconds
// earlier in real time; after a longer gap or a jump of the clock (a machine resumed from
// a suspend), a second passed at most kResumeCatchUpSeconds ago. Nothing when it does
// not fall due.
std::optional<LocalSecond> alarmFallsDue(const std::string& target, const ClockReading& now,
                                         const std::optional<ClockReading>& previous);

class AlarmClock {
public:
    static constexpr double kSnoozeLength = 0.00695;  // days, about ten minutes
    static constexpr double kSleepStep = 0.006944;    // days, about ten minutes
    static constexpr int kFirstSleepSteps = 12;       // about two hours

    // Where the sound of the running alarm comes from; each is tried when the one
    // before has nothing that plays.
    enum class AlarmSound {
        None,     // no alarm is sounding, or the user has answered it (a key or a click)
        List,     // "ALARM.m3u"
        Archive,  // the whole archive, put in the custom list in its place
        Tone,     // the program's own tone, until a key is pressed
    };

    // Shows what it does on `display`; pauses `clockTimer` (whose tick this is) and
    // `playbackTimer` during its long sequences.
    AlarmClock(Services& services, MainDisplay& display, QTimer& clockTimer, QTimer& playbackTimer);

    // One clock tick (Timer1, 100 ms). A tick that arrives while an earlier one is still
    // in one of its sequences returns at once.
    void tick();
    // Key "0" on the main screen: snooze while the alarm list plays, else the sleep timer.
    void sleepSnoozeKey();
    // The playback engine found nothing to play: the alarm moves on to its next sound.
    void nothingPlayable();
    AlarmSound alarmSound() const { return sound_; }
    // An input of the user's (a key, a click, a remote's button, an MPRIS call) answers a
    // sounding alarm: true when it silenced the tone, and so goes no further.
    bool userInput();

    // The black screen and the video screen; without them their steps are skipped.
    void setScreens(NightScreens* screens) { screens_ = screens; }

private:
    void snoozeEnd();
    void sleepCountdown(const ClockReading& now);
    void sleepEnd();
    void alarmStart();
    void startAlarmSound(AlarmSound sound);
    void snoozeKey();
    void sleepKey();
    BlackScreen* black() const { return screens_ ? &screens_->blackScreen() : nullptr; }
    MediaPlayer& tone() const { return s_.Tone ? *s_.Tone : s_.MP1; }

    Services& s_;
    MainDisplay& display_;
    NightScreens* screens_ = nullptr;
    QTimer& clockTimer_;
    QTimer& playbackTimer_;
    bool inTick_ = false;
    std::optional<ClockReading> previous_;  // the reading of the tick before
    std::optional<LocalSecond> lastAlarm_;  // when the alarm last started
    // Snooze and sleep end in real time, so a daylight-saving switch does not stretch or
    // cut them; the texts and fractions of the shared state follow them.
    double snoozeEndUtc_ = 0;
    double sleepEndUtc_ = 0;
    AlarmSound sound_ = AlarmSound::None;
    // Sees every key press and click before the screens: the first one after an alarm
    // answers it, and one that silences the tone goes no further.
    class InputWatch : public QObject {
    public:
        explicit InputWatch(AlarmClock& clock) : clock_(clock) {}
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        AlarmClock& clock_;
    } inputWatch_{*this};
};

}  // namespace kelvorn
