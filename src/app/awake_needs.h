// SPDX-License-Identifier: GPL-3.0-or-later
// What keeps the machine and the screen awake: a plain function of the jukebox's state,
// with the reasons the desktop is told.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace kelvorn {

struct KelvornSERVICE;
class MediaPlayer;
class AlarmClock;

struct AwakeNeeds {
    bool playing = false;  // a song, a video or the tone plays, or playback is asked for
    bool alarmArmed = false;
    std::string alarmTime;  // as set: "hh:mm:ss", or whatever a hand-edited file holds
    bool sleepTimer = false;
    bool snoozing = false;
    bool alarmSounding = false;
};

// The texts the inhibitions are asked for with; nothing where none is needed.
struct AwakeReasons {
    std::optional<std::string> idle;   // no blanking, locking or idle suspend
    std::optional<std::string> sleep;  // no suspend at all: an alarm must ring
    bool operator==(const AwakeReasons&) const = default;
};

AwakeNeeds awakeNeeds(const KelvornSERVICE& svc, const std::vector<const MediaPlayer*>& players,
                      const AlarmClock& alarm);

// An armed alarm names itself over everything else, so its reason stays the same all
// night while songs start and stop.
AwakeReasons awakeReasons(const AwakeNeeds& needs);

}  // namespace kelvorn
