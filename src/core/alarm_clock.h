// AlarmClock: the main screen's clock tick (clock, elapsed time, snooze end, sleep
// countdown, alarm) and what the "0" key does (snooze or sleep timer).
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "core/services.h"

namespace kelvorn {

class BlackScreen;
class VelmotMAIN;

// Ticks further apart than this (suspend, a changed system clock) catch nothing up.
constexpr int kClockCatchUpSeconds = 5;

// The second of the day (0..86399) that an "hh:mm:ss" text names, surrounding blanks
// allowed; nothing for any other text or a time that never occurs ("29:75:00").
std::optional<int> secondOfDay(const std::string& text);

// Whether the tick at `second` (whole seconds since midnight) matches `target`: the time
// text is contained in `target`, or - when the tick before, at `previous`, came at most
// kClockCatchUpSeconds earlier - `target` names a second passed since then (across
// midnight too), so a tick kept away for a whole second does not miss it.
bool timeMatches(const std::string& target, int second, std::optional<int> previous);

class AlarmClock {
public:
    static constexpr double kSnoozeLength = 0.00695;  // days, about ten minutes
    static constexpr double kSleepStep = 0.006944;    // days, about ten minutes
    static constexpr int kFirstSleepSteps = 12;       // about two hours

    AlarmClock(Services& services, VelmotMAIN& main);

    // One clock tick (Timer1, 100 ms). A tick that arrives while an earlier one is still
    // in one of its sequences returns at once.
    void tick();
    // Key "0" on the main screen: snooze while the alarm list plays, else the sleep timer.
    void sleepSnoozeKey();

    // The black screen, created on first use; nullptr skips the black screen's steps.
    std::function<BlackScreen*()> blackScreen;
    // Stops the video screen's player, resets its display size and hides it.
    std::function<void()> stopVideo;

private:
    void snoozeEnd();
    void sleepCountdown(double now);
    void sleepEnd();
    void alarmStart();
    void snoozeKey();
    void sleepKey();
    void stopTimers();
    void startTimers();
    BlackScreen* black() const { return blackScreen ? blackScreen() : nullptr; }

    Services& s_;
    VelmotMAIN& main_;
    bool inTick_ = false;
    std::optional<int> previousSecond_;  // the whole second the previous tick saw
    bool alarmMatched_ = false;          // the previous tick matched the alarm time
};

}  // namespace kelvorn
