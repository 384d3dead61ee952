// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide services every screen is given: state, player, pump, clock, random.
#pragma once
#include <functional>
#include <string>

namespace kelvorn {

struct KelvornSERVICE;
class MediaPlayer;
class EventPump;
class Clock;
class RandomSource;
class WaveVolume;
class TwipScale;

// Where the program's short notices are shown (the main screen's notice place).
class NoticeBoard {
public:
    virtual ~NoticeBoard() = default;
    virtual void notice(const std::string& text) = 0;
};

struct Services {
    KelvornSERVICE& svc;
    MediaPlayer& MP1;
    EventPump& pump;
    Clock& clock;
    RandomSource& random;
    WaveVolume& volume;
    const TwipScale& twips;
    std::string workDir;                 // the working folder with the settings files and the cache
    MediaPlayer* VideoPlayer = nullptr;  // the video screen's player (intro and video list)
    // The alarm's own tone, on a player of its own: a song player stuck on a file never
    // keeps it from sounding.
    MediaPlayer* Tone = nullptr;
    // Shows the user short notices (kNotSaved, kNoSongsFound); the main screen, once it is made.
    NoticeBoard* notices = nullptr;
};

// The notices the user sees.
inline constexpr const char* kNotSaved = "NOT SAVED";
inline constexpr const char* kNoSongsFound = "NO SONGS FOUND";

// Sets the output volume from VolumeSet.
void SetWaveVolume(Services& s);

// Passes `written` through; a failed write is shown to the user, since the change
// would otherwise be gone at the next start without a sign.
bool noteSaved(Services& s, bool written);

// Tells the user that the archive holds no song (the music folder is empty, away, or holds
// no song of the formats asked for): otherwise "1" would simply do nothing.
void noteArchive(Services& s);

}  // namespace kelvorn
