#include "core/alarm_clock.h"

#include <QLabel>
#include <cmath>
#include <string_view>

#include "core/black_screen.h"
#include "core/kelvorn_service.h"
#include "core/playback_engine.h"
#include "core/velmot_main.h"
#include "library/playlists.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/media_player.h"
#include "platform/random_source.h"

namespace kelvorn {

namespace {

constexpr int kSecondsPerDay = 86400;
const char* const kAlarmList = "ALARM.m3u";

int dayModulo(long long seconds) {
    const long long s = seconds % kSecondsPerDay;
    return static_cast<int>(s < 0 ? s + kSecondsPerDay : s);
}

// The whole second of the day a clock reading falls in.
int wholeSecond(double secondsSinceMidnight) {
    if (!std::isfinite(secondsSinceMidnight)) return 0;
    return dayModulo(static_cast<long long>(std::floor(std::fmod(secondsSinceMidnight, kSecondsPerDay))));
}

int twoDigits(std::string_view t, size_t at) {
    const char a = t[at], b = t[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

}  // namespace

std::optional<int> secondOfDay(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const std::string_view t(text.data() + first, text.find_last_not_of(" \t") + 1 - first);
    if (t.size() != 8 || t[2] != ':' || t[5] != ':') return std::nullopt;
    const int h = twoDigits(t, 0), m = twoDigits(t, 3), sec = twoDigits(t, 6);
    if (h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 59) return std::nullopt;
    return h * 3600 + m * 60 + sec;
}

bool timeMatches(const std::string& target, int second, std::optional<int> previous) {
    if (target.find(timeText(second)) != std::string::npos) return true;
    if (!previous) return false;
    const int gap = dayModulo(second - *previous);
    if (gap < 1 || gap > kClockCatchUpSeconds) return false;
    const std::optional<int> due = secondOfDay(target);
    if (!due) return false;
    const int sincePrevious = dayModulo(*due - *previous);
    return sincePrevious >= 1 && sincePrevious <= gap;
}

AlarmClock::AlarmClock(Services& services, VelmotMAIN& main) : s_(services), main_(main) {}

void AlarmClock::stopTimers() {
    main_.Timer1.stop();
    main_.Timer2.stop();
}

void AlarmClock::startTimers() {
    main_.Timer1.start();
    main_.Timer2.start();
}

// The steps keep this order: clock, elapsed time, snooze end, sleep, alarm. Each
// sequence stops the clock and playback timers while it works and restarts them after.
void AlarmClock::tick() {
    // Nested event loops (fades, file opens) can deliver the next tick inside this one.
    if (inTick_) return;
    inTick_ = true;
    KelvornSERVICE& svc = s_.svc;
    const double seconds = s_.clock.secondsSinceMidnight();
    const int second = wholeSecond(seconds);

    // 1. The clock.
    main_.MainClock->setText(QString::fromStdString(timeText(second)));

    // 2. The elapsed time of the song.
    const double position = s_.MP1.position();
    main_.MainTime->setText(position > 0 ? QString::fromStdString(timeText(static_cast<long long>(position)))
                                         : QString());

    // 3. The end of a snooze.
    if (svc.SnoozeOn && timeMatches(svc.SnoozeTime, second, previousSecond_)) snoozeEnd();

    // 4. The sleep countdown and its end.
    if (svc.SleepOn) sleepCountdown(seconds / kSecondsPerDay);

    // 5. The alarm: it starts once each time it falls due, not on every tick of its second.
    if (svc.AlarmOn) {
        const bool matched = timeMatches(svc.AlarmTime, second, previousSecond_);
        if (matched) {
            if (!alarmMatched_ && !svc.AlarmBusy) alarmStart();
            svc.AlarmBusy = false;
        }
        alarmMatched_ = matched;
    } else {
        alarmMatched_ = false;
    }

    previousSecond_ = second;
    inTick_ = false;
}

void AlarmClock::snoozeEnd() {
    KelvornSERVICE& svc = s_.svc;
    svc.cancelEntry();
    stopTimers();
    svc.PlayOn = true;
    if (BlackScreen* b = black()) {
        b->stopLines();
        s_.pump.pass();
        b->ClearDrawing();
        b->hideBlack();
    }
    svc.VolumeSet = svc.VolAlarm;
    SetWaveVolume(s_);
    s_.MP1.play();
    svc.SnoozeOn = false;
    main_.SnoozeStatus->clear();
    startTimers();
}

void AlarmClock::sleepCountdown(double now) {
    KelvornSERVICE& svc = s_.svc;
    svc.SleepLeft = svc.SleepTime - now;
    if (svc.SleepLeft < 0) svc.SleepLeft += 1;
    main_.SleepDisplay->setText(QString::fromStdString(timeTextOfDay(svc.SleepLeft)));
    // More than half a day left means the end time has just passed.
    if (svc.SleepLeft > 0.5) sleepEnd();
}

// Everything stops; the volume stays at the sleep volume until something sets another.
void AlarmClock::sleepEnd() {
    KelvornSERVICE& svc = s_.svc;
    svc.cancelEntry();
    stopTimers();
    svc.SleepOn = false;
    if (stopVideo) stopVideo();
    s_.pump.pass();
    svc.VideoPlaying = false;
    s_.MP1.stop();
    svc.PlayOn = false;
    main_.SleepDisplay->clear();
    main_.SleepStatus->clear();
    main_.showScreen();
    main_.FadeIn();
    if (BlackScreen* b = black()) {
        b->showBlack();
        b->stopLines();
        s_.pump.pass();
        b->ClearDrawing();
        b->showIndicator(BlackScreen::Indicator::Sleep);
    }
    startTimers();
}

// The alarm list plays at the alarm volume; the alarm stays armed for the next day.
void AlarmClock::alarmStart() {
    KelvornSERVICE& svc = s_.svc;
    svc.cancelEntry();
    stopTimers();
    svc.SleepOn = false;
    main_.SleepStatus->clear();
    main_.SleepDisplay->clear();
    LoadPlaylist(svc, kAlarmList);
    svc.SongPos = static_cast<int16_t>(svc.ShuffleOn ? shuffleDraw(s_.random.rnd(), svc.CustomCount) : 0);
    svc.VolumeSet = svc.VolAlarm;
    SetWaveVolume(s_);
    svc.ListMode = true;
    svc.NewSong = true;
    svc.PlayOn = true;
    svc.AlarmBusy = true;
    if (BlackScreen* b = black()) b->hideBlack();
    startTimers();
}

void AlarmClock::sleepSnoozeKey() {
    if (s_.svc.ListName == kAlarmList && s_.svc.ListMode) snoozeKey();
    else sleepKey();
}

void AlarmClock::snoozeKey() {
    KelvornSERVICE& svc = s_.svc;
    if (svc.SnoozeOn) {  // ended early
        svc.PlayOn = true;
        s_.MP1.play();
        svc.SnoozeOn = false;
        main_.SnoozeStatus->clear();
        svc.VolumeSet = svc.VolAlarm;
        SetWaveVolume(s_);
        return;
    }
    svc.PlayOn = false;
    s_.MP1.pause();
    svc.SnoozeTime = timeTextOfDay(s_.clock.now() + kSnoozeLength);
    svc.SnoozeOn = true;
    main_.SnoozeStatus->setText("SNOOZE");
    if (BlackScreen* b = black()) {
        b->showBlack();
        b->showIndicator(BlackScreen::Indicator::Snooze);
    }
}

void AlarmClock::sleepKey() {
    KelvornSERVICE& svc = s_.svc;
    if (!svc.SleepOn) {  // start; playback is not touched
        svc.SleepTime = s_.clock.now() + kSleepStep * kFirstSleepSteps;
        if (svc.SleepTime > 1) svc.SleepTime -= 1;
        main_.SleepStatus->setText("SLEEP");
        svc.SleepOn = true;
        svc.VolumeSet = svc.VolSleep;
        SetWaveVolume(s_);
        return;
    }
    // Shorten; the press that would go below zero cancels.
    stopTimers();
    svc.SleepTime -= kSleepStep;
    if (svc.SleepTime < 0) svc.SleepTime += 1;
    svc.SleepLeft = svc.SleepTime - s_.clock.now();
    if (svc.SleepLeft < 0) svc.SleepLeft += 1;
    if (svc.SleepLeft > 0.5) {
        svc.SleepOn = false;
        svc.VolumeSet = svc.VolNormal;
        SetWaveVolume(s_);
        main_.SleepStatus->clear();
        main_.SleepDisplay->clear();
    }
    startTimers();
}

}  // namespace kelvorn
