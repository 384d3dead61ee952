// SPDX-License-Identifier: GPL-3.0-or-later
// The playback engine: starts requested songs and moves on when one ends.
#pragma once
#include <functional>
#include <string>

namespace kelvorn {

struct KelvornSERVICE;
class MediaPlayer;
class EventPump;
class RandomSource;
class Clock;

// The random pick used when a song starts in shuffle mode: Int(rnd * N + 0.5), at most
// N, so the first and last entries come half as often as the others.
int shuffleDraw(double rnd, int highestIndex);
// The random pick of a skip: Int(rnd * N), which never yields N itself.
int skipDraw(double rnd, int highestIndex);

// Playback requests: the engine acts on them at its next tick.
// Entry `pos` of the custom list (`listMode`) or of the archive, from now on.
void requestSong(KelvornSERVICE& svc, bool listMode, int pos);
// The next song while playing: a random one in shuffle mode (never the last entry),
// otherwise the following one (the engine wraps past the end). Nothing while stopped.
void requestSkip(KelvornSERVICE& svc, RandomSource& random);
// The song before (the engine wraps below the first entry); playing or not.
void requestPrevious(KelvornSERVICE& svc);

class PlaybackEngine {
public:
    PlaybackEngine(KelvornSERVICE& svc, MediaPlayer& player, EventPump& pump, RandomSource& random, const Clock& clock);

    // One tick (every 100 ms): a song stuck while it plays is given up, then the
    // requested song, then the end of the song. A tick that arrives while an earlier one
    // waits for its file returns at once. After a whole pass of the list failed (or
    // kGiveUpSeconds of tries without a song that opened), the next tries wait a second,
    // unless a song is asked for.
    void tick();

    // Opens entry `index` of the playing list, waits for it to open, shows its name
    // and plays it when it opened; false when it did not open. The wait ends when the
    // file answers, when another song is asked for or playback stops, or after
    // kAnswerSeconds: a disk that first spins up still gets its song played, and a file
    // that never answers is given up (its player abandoned) without holding anything up.
    bool startSong(int index);

    // Called with the display name of every started song (tmpstr).
    std::function<void(const std::string& name)> showSong;
    // Called after a song started playing (for diagnostics).
    std::function<void(const std::string& file)> songStarted;
    // Called when playback is wanted but the playing list is empty, or a whole pass of
    // it (as many opens in a row as it has entries) failed, or songs were tried for
    // kGiveUpSeconds without one that played.
    std::function<void()> nothingPlayable;

    // The display name being split (the main screen's scratch text).
    const std::string& tmpstr() const { return tmpstr_; }

    // A song that has not opened, or whose position stands still while it plays, this
    // long is given up as a file that fails.
    static constexpr double kAnswerSeconds = 5;
    static constexpr double kGiveUpSeconds = 10;
    static constexpr double kRetrySeconds = 1;
    // Ends a wait for an open on a clock that does not move (about 7 s of real passes).
    static constexpr long kMaxOpenWaitPasses = 200'000;

private:
    // True when the song that should play has not moved for kAnswerSeconds.
    bool stalled();
    // A song did not open, or stopped answering.
    void songFailed();

    KelvornSERVICE& svc_;
    MediaPlayer& player_;
    EventPump& pump_;
    RandomSource& random_;
    const Clock& clock_;
    std::string tmpstr_;
    double retryAt_ = 0;  // monotonic seconds: no new try before
    bool busy_ = false;
    int failures_ = 0;         // opens that failed in a row
    double failingSince_ = 0;  // when the first of them began
    double lastPosition_ = 0;  // the playing song's position, as last seen moving
    double movedAt_ = 0;       // when it was last seen moving
    double watchedAt_ = 0;     // the last tick that looked
};

}  // namespace kelvorn
