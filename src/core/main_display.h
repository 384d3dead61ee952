// SPDX-License-Identifier: GPL-3.0-or-later
// What the clock and the alarm menu ask of the main screen: they change what it shows
// through these intents, never its labels.
#pragma once
#include <string>

namespace kelvorn {

class MainDisplay {
public:
    virtual ~MainDisplay() = default;
    // The wall clock, "hh:mm:ss".
    virtual void showClock(const std::string& time) = 0;
    // The elapsed time of the song; empty shows nothing.
    virtual void showElapsed(const std::string& time) = 0;
    // "SLEEP" while the sleep timer runs; off also empties the time left.
    virtual void showSleep(bool on) = 0;
    virtual void showSleepLeft(const std::string& time) = 0;
    // "SNOOZE" while a snooze runs.
    virtual void showSnooze(bool on) = 0;
    // "ALARM" and the alarm time while armed; both empty when not.
    virtual void showAlarm(bool armed, const std::string& time) = 0;
    // The alarm time alone, armed or not (a newly set time).
    virtual void showAlarmTime(const std::string& time) = 0;
    // "SHUFFLE" while the next song is drawn at random.
    virtual void showShuffle(bool on) = 0;
    // The main screen in front again, built up (after the sleep timer ran out).
    virtual void bringToFront() = 0;
};

}  // namespace kelvorn
