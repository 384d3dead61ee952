// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/alarm_clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/black_screen.h"
#include "core/main_display.h"
#include "core/playback_engine.h"
#include "core/timers_paused.h"
#include "library/playlists.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/folder_listing.h"
#include "platform/media_player.h"
#include "platform/random_source.h"
#include "state/kelvorn_service.h"

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

std::optional<LocalSecond> alarmFallsDue(const std::string& target, const ClockReading& now,
                                         const std::optional<ClockReading>& previous) {
    const int second = wholeSecond(now.secondsSinceMidnight());
    if (target.find(timeText(second)) != std::string::npos) return LocalSecond{now.day(), second};
    const std::optional<int> due = secondOfDay(target);
    if (!due || !previous) return std::nullopt;
    const double realGap = now.utc - previous->utc;
    // Whole seconds on the local timeline; a switch to summer time moves it on by the
    // change of offset beyond the real gap, and the seconds it skips count as passed.
    const auto from = static_cast<long long>(std::floor(previous->local()));
    const auto to = static_cast<long long>(std::floor(now.local()));
    const bool lateTick =
        realGap > 0 && realGap <= kClockCatchUpSeconds &&
        static_cast<double>(to - from) <= std::ceil(realGap) + std::max(0, now.offset - previous->offset);
    for (const long long day : {now.day() - 1, now.day()}) {
        const long long at = day * kSecondsPerDay + *due;
        if (from < at && at <= to && (lateTick || static_cast<double>(to - at) <= kResumeCatchUpSeconds))
            return LocalSecond{day, *due};
    }
    return std::nullopt;
}

AlarmClock::AlarmClock(Services& services, MainDisplay& display, QTimer& clockTimer, QTimer& playbackTimer)
    : s_(services), display_(display), clockTimer_(clockTimer), playbackTimer_(playbackTimer) {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(&inputWatch_);
}

// The steps keep this order: clock, elapsed time, snooze end, sleep, alarm. Each
// sequence stops the clock and playback timers while it works and restarts them after.
void AlarmClock::tick() {
    // Nested event loops (fades, file opens) can deliver the next tick inside this one.
    if (inTick_) return;
    const QScopedValueRollback ticking(inTick_, true);
    KelvornSERVICE& svc = s_.svc;
    const ClockReading now = s_.clock.read();

    // 1. The clock.
    display_.showClock(timeText(wholeSecond(now.secondsSinceMidnight())));

    // 2. The elapsed time of the song.
    const double position = s_.MP1.position();
    display_.showElapsed(position > 0 ? timeText(static_cast<long long>(position)) : std::string());

    // 3. The end of a snooze.
    if (svc.SnoozeOn && now.utc >= snoozeEndUtc_) snoozeEnd();

    // 4. The sleep countdown and its end.
    if (svc.SleepOn) sleepCountdown(now);

    // 5. The alarm: it starts once each time it falls due, not on every tick of its
    // second, and once only in the hour a switch back from summer time repeats.
    if (svc.AlarmOn) {
        if (const std::optional<LocalSecond> due = alarmFallsDue(svc.AlarmTime, now, previous_)) {
            if (due != lastAlarm_ && !svc.AlarmBusy) {
                lastAlarm_ = due;
                alarmStart();
            }
            svc.AlarmBusy = false;
        }
    }

    previous_ = now;
}

void AlarmClock::snoozeEnd() {
    KelvornSERVICE& svc = s_.svc;
    svc.cancelEntry();
    const TimersPaused paused(clockTimer_, playbackTimer_);
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
    display_.showSnooze(false);
}

void AlarmClock::sleepCountdown(const ClockReading& now) {
    KelvornSERVICE& svc = s_.svc;
    svc.SleepLeft = (sleepEndUtc_ - now.utc) / kSecondsPerDay;
    display_.showSleepLeft(timeTextOfDay(std::max(svc.SleepLeft, 0.0)));
    if (svc.SleepLeft < 0) sleepEnd();  // the end time has passed
}

// Everything stops; the volume stays at the sleep volume until something sets another.
void AlarmClock::sleepEnd() {
    KelvornSERVICE& svc = s_.svc;
    svc.cancelEntry();
    const TimersPaused paused(clockTimer_, playbackTimer_);
    svc.SleepOn = false;
    if (screens_) screens_->stopVideo();
    s_.pump.pass();
    svc.VideoPlaying = false;
    s_.MP1.stop();
    svc.PlayOn = false;
    display_.showSleep(false);
    display_.bringToFront();
    if (BlackScreen* b = black()) {
        b->showBlack();
        b->stopLines();
        s_.pump.pass();
        b->ClearDrawing();
        b->showIndicator(BlackScreen::Indicator::Sleep);
    }
}

// The alarm list plays at the alarm volume; the alarm stays armed for the next day. An
// armed alarm always makes sound: without a list, or when none of its songs plays (the
// engine gives up on files that fail or do not answer), the archive plays, and without
// that the program's own tone. Songs are never looked at here: a file on a disk that
// does not answer would hold the GUI thread.
void AlarmClock::alarmStart() {
    KelvornSERVICE& svc = s_.svc;
    svc.cancelEntry();
    const TimersPaused paused(clockTimer_, playbackTimer_);
    svc.SleepOn = false;
    display_.showSleep(false);
    LoadPlaylist(svc, kAlarmList);
    svc.VolumeSet = svc.VolAlarm;
    SetWaveVolume(s_);
    const bool listThere = svc.CustomCount >= 0 && isNormalFile(svc.Mp3Path + kAlarmList);
    startAlarmSound(listThere ? AlarmSound::List : AlarmSound::Archive);
    svc.AlarmBusy = true;
    if (BlackScreen* b = black()) b->hideBlack();
}

void AlarmClock::startAlarmSound(AlarmSound sound) {
    KelvornSERVICE& svc = s_.svc;
    if (sound == AlarmSound::Archive && svc.ArchiveCount < 0) sound = AlarmSound::Tone;
    sound_ = sound;
    if (sound == AlarmSound::Tone) {
        svc.NewSong = false;
        svc.PlayOn = false;
        s_.MP1.stop();
        tone().playTone();
        return;
    }
    if (sound == AlarmSound::Archive) {
        // In the alarm list's place, so that the snooze key and the list screens treat
        // it as the alarm's songs.
        const auto count = static_cast<size_t>(svc.ArchiveCount + 1);
        svc.CustomSongs.assign(svc.ArchiveList.begin(),
                               svc.ArchiveList.begin() + static_cast<long>(std::min(count, svc.ArchiveList.size())));
        svc.CustomCount = svc.ArchiveCount;
        svc.forgetPlaylistLines();
    }
    requestSong(svc, true, svc.ShuffleOn ? shuffleDraw(s_.random.rnd(), svc.CustomCount) : 0);
}

void AlarmClock::nothingPlayable() {
    const KelvornSERVICE& svc = s_.svc;
    if (!svc.ListMode || svc.ListName != kAlarmList) return;  // no longer the alarm's songs
    if (sound_ == AlarmSound::List) startAlarmSound(AlarmSound::Archive);
    else if (sound_ == AlarmSound::Archive) startAlarmSound(AlarmSound::Tone);
}

bool AlarmClock::userInput() {
    const bool silenced = sound_ == AlarmSound::Tone;
    sound_ = AlarmSound::None;
    if (silenced) tone().stop();
    return silenced;
}

bool AlarmClock::InputWatch::eventFilter(QObject* watched, QEvent* event) {
    if (clock_.sound_ == AlarmSound::None) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) return clock_.userInput();
    return false;
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
        display_.showSnooze(false);
        svc.VolumeSet = svc.VolAlarm;
        SetWaveVolume(s_);
        return;
    }
    svc.PlayOn = false;
    s_.MP1.pause();
    const ClockReading now = s_.clock.read();
    svc.SnoozeTime = timeTextOfDay(now.secondsSinceMidnight() / kSecondsPerDay + kSnoozeLength);
    // It ends when the clock first shows that text, counted in real time from here.
    const double untilText = secondOfDay(svc.SnoozeTime).value_or(0) - now.secondsSinceMidnight();
    snoozeEndUtc_ = now.utc + (untilText < 0 ? untilText + kSecondsPerDay : untilText);
    svc.SnoozeOn = true;
    display_.showSnooze(true);
    if (BlackScreen* b = black()) {
        b->showBlack();
        b->showIndicator(BlackScreen::Indicator::Snooze);
    }
}

void AlarmClock::sleepKey() {
    KelvornSERVICE& svc = s_.svc;
    const ClockReading now = s_.clock.read();
    if (!svc.SleepOn) {  // start; playback is not touched
        svc.SleepTime = now.secondsSinceMidnight() / kSecondsPerDay + kSleepStep * kFirstSleepSteps;
        if (svc.SleepTime > 1) svc.SleepTime -= 1;
        sleepEndUtc_ = now.utc + kSleepStep * kFirstSleepSteps * kSecondsPerDay;
        display_.showSleep(true);
        svc.SleepOn = true;
        svc.VolumeSet = svc.VolSleep;
        SetWaveVolume(s_);
        return;
    }
    // Shorten; the press that would go below zero cancels.
    const TimersPaused paused(clockTimer_, playbackTimer_);
    svc.SleepTime -= kSleepStep;
    if (svc.SleepTime < 0) svc.SleepTime += 1;
    sleepEndUtc_ -= kSleepStep * kSecondsPerDay;
    svc.SleepLeft = (sleepEndUtc_ - now.utc) / kSecondsPerDay;
    if (svc.SleepLeft < 0) {
        svc.SleepOn = false;
        svc.VolumeSet = svc.VolNormal;
        SetWaveVolume(s_);
        display_.showSleep(false);
    }
}

}  // namespace kelvorn
