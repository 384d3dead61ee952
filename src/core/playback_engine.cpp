// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/playback_engine.h"

#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>

#include "core/display_name.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/media_player.h"
#include "platform/random_source.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

int shuffleDraw(double rnd, int highestIndex) {
    const int pos = static_cast<int>(std::floor(rnd * highestIndex + 0.5));
    return pos > highestIndex ? highestIndex : pos;
}

int skipDraw(double rnd, int highestIndex) { return static_cast<int>(std::floor(rnd * highestIndex)); }

void requestSong(KelvornSERVICE& svc, bool listMode, int pos) {
    svc.ListMode = listMode;
    svc.SongPos = static_cast<int16_t>(std::clamp(pos, -32768, 32767));
    svc.NewSong = true;
    svc.PlayOn = true;
}

void requestSkip(KelvornSERVICE& svc, RandomSource& random) {
    if (!svc.PlayOn) return;
    if (svc.ShuffleOn) svc.SongPos = static_cast<int16_t>(skipDraw(random.rnd(), svc.playingCount()));
    else svc.SongPos = static_cast<int16_t>(svc.SongPos < 32767 ? svc.SongPos + 1 : 0);
    svc.NewSong = true;
}

void requestPrevious(KelvornSERVICE& svc) {
    // Wrapping below the first entry is the engine's job; only keep the 16-bit range.
    if (svc.SongPos > -32768) --svc.SongPos;
    svc.NewSong = true;
}

PlaybackEngine::PlaybackEngine(KelvornSERVICE& svc, MediaPlayer& player, EventPump& pump, RandomSource& random,
                               const Clock& clock)
    : svc_(svc), player_(player), pump_(pump), random_(random), clock_(clock) {}

void PlaybackEngine::tick() {
    if (busy_ || !svc_.PlayOn) return;
    const QScopedValueRollback busy(busy_, true);
    if (stalled()) {
        player_.abandon();
        if (failures_ == 0) failingSince_ = clock_.monotonic();
        songFailed();
    }
    // A list of which nothing opens is not tried ten times a second.
    if (!svc_.NewSong && clock_.monotonic() < retryAt_) return;
    const int n = svc_.playingCount();
    if (n < 0) {
        // An empty list opens nothing: slot 0 still holds the text of a removed entry.
        // A request to play it (an empty playlist loaded) ends what played before.
        if (svc_.NewSong) player_.stop();
        svc_.NewSong = false;
        if (nothingPlayable) nothingPlayable();
        return;
    }
    if (svc_.NewSong) {
        if (svc_.SongPos > n) svc_.SongPos = 0;
        if (svc_.SongPos < 0) svc_.SongPos = static_cast<int16_t>(n);
        svc_.NewSong = false;
        failures_ = 0;  // a song asked for starts the count afresh
        startSong(svc_.SongPos);
    }
    // A request that could not be played leaves the player stopped: move on at once,
    // unless a new request came meanwhile (a key during the wait, another list).
    if (svc_.PlayOn && !svc_.NewSong && player_.playState() == MediaPlayer::Stopped) {
        const int last = svc_.playingCount();
        int next;
        if (svc_.ShuffleOn) {
            next = shuffleDraw(random_.rnd(), last);
        } else {
            next = svc_.SongPos + 1;
            if (next > last) next = 0;
        }
        svc_.SongPos = static_cast<int16_t>(next);
        if (last >= 0) startSong(next);
    }
}

// Judged only across ticks that follow each other: while the ticks paused (a long
// sequence of the clock, playback stopped) nothing was seen, so nothing counts.
bool PlaybackEngine::stalled() {
    const double now = clock_.monotonic();
    const double position = player_.position();
    if (player_.playState() != MediaPlayer::Playing || position != lastPosition_ || now - watchedAt_ > 1) {
        lastPosition_ = position;
        movedAt_ = now;
    }
    watchedAt_ = now;
    return now - movedAt_ >= kAnswerSeconds;
}

void PlaybackEngine::songFailed() {
    const double now = clock_.monotonic();
    // As many failures in a row as the list has entries: nothing in it plays. A long
    // list of files that each take long to fail counts by time instead.
    if (++failures_ > svc_.playingCount() || now - failingSince_ >= kGiveUpSeconds) {
        failures_ = 0;
        retryAt_ = now + kRetrySeconds;
        if (nothingPlayable) nothingPlayable();
    }
}

bool PlaybackEngine::startSong(int index) {
    const double start = clock_.monotonic();
    if (failures_ == 0) failingSince_ = start;
    if (index >= 0 && index < kSongSlots) player_.open(songPath(svc_.Mp3Path, entryAt(svc_.playingList(), index)));
    bool timedOut = false;
    for (long pass = 0; player_.openState() == MediaPlayer::Closed && !player_.openFailed(); ++pass) {
        if (svc_.NewSong || !svc_.PlayOn) return false;  // not the file's fault: the next open replaces it
        timedOut = pass >= kMaxOpenWaitPasses || clock_.monotonic() - start >= kAnswerSeconds;
        if (timedOut) break;
        pump_.pass();
    }
    if (timedOut) player_.abandon();
    // A song outside the music folder (a playlist's absolute path) is shown whole.
    const std::string& file = player_.fileName();
    cutDisplayName(file, file.starts_with(svc_.Mp3Path) ? svc_.Mp3Path.size() : 0, tmpstr_);
    if (showSong) showSong(tmpstr_);
    if (player_.openState() != MediaPlayer::Open) {
        songFailed();
        return false;
    }
    failures_ = 0;
    movedAt_ = watchedAt_ = clock_.monotonic();
    player_.play();
    if (songStarted) songStarted(player_.fileName());
    return true;
}

}  // namespace kelvorn
