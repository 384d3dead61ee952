// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/awake_needs.h"

#include <algorithm>

#include "core/alarm_clock.h"
#include "platform/clock.h"
#include "platform/media_player.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

// "Alarm armed for 07:00"; a time that is no time of day is not shown.
std::string armedReason(const std::string& alarmTime) {
    const std::optional<int> second = secondOfDay(alarmTime);
    if (!second) return "Alarm armed";
    return "Alarm armed for " + timeText(*second).substr(0, 5);
}

}  // namespace

AwakeNeeds awakeNeeds(const KelvornSERVICE& svc, const std::vector<const MediaPlayer*>& players,
                      const AlarmClock& alarm) {
    const bool playerPlays = std::any_of(players.begin(), players.end(), [](const MediaPlayer* player) {
        return player && player->playState() == MediaPlayer::Playing;
    });
    return {.playing = svc.PlayOn || svc.VideoPlaying || playerPlays,
            .alarmArmed = svc.AlarmOn,
            .alarmTime = svc.AlarmTime,
            .sleepTimer = svc.SleepOn,
            .snoozing = svc.SnoozeOn,
            .alarmSounding = alarm.alarmSound() != AlarmClock::AlarmSound::None};
}

AwakeReasons awakeReasons(const AwakeNeeds& needs) {
    AwakeReasons reasons;
    // A snooze ends in the alarm's songs: it keeps the machine from sleeping as the alarm does.
    if (needs.alarmArmed) reasons.sleep = armedReason(needs.alarmTime);
    else if (needs.snoozing) reasons.sleep = "Snooze";
    if (reasons.sleep) reasons.idle = reasons.sleep;
    else if (needs.alarmSounding) reasons.idle = "Alarm";
    else if (needs.sleepTimer) reasons.idle = "Sleep timer";
    else if (needs.playing) reasons.idle = "Playing";
    return reasons;
}

}  // namespace kelvorn
