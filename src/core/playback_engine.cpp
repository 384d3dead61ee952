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
    const QScopedValueRollback busy(busy_, true);
    if (svc_.NewSong) {
        if (svc_.SongPos > n) svc_.SongPos = 0;
        if (svc_.SongPos < 0) svc_.SongPos = static_cast<int16_t>(n);
        svc_.NewSong = false;
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

bool PlaybackEngine::startSong(int index) {
    if (index >= 0 && index < kSongSlots) player_.open(svc_.Mp3Path + entryAt(svc_.playingList(), index));
    for (int pass = 0; pass < kOpenWaitPasses && player_.openState() == MediaPlayer::Closed && !player_.openFailed();
         ++pass)
        pump_.pass();
    cutDisplayName(player_.fileName(), svc_.Mp3Path.size(), tmpstr_);
    const DisplayName name = splitDisplayName(tmpstr_);
    if (showSong) showSong(name.title, name.artist);
    if (player_.openState() != MediaPlayer::Open) {
        // As many failures in a row as the list has entries: nothing in it plays.
        if (++failures_ > svc_.playingCount()) {
            failures_ = 0;
            retryAt_ = clock_.monotonic() + kRetrySeconds;
            if (nothingPlayable) nothingPlayable();
        }
        return false;
    }
    failures_ = 0;
    player_.play();
    if (songStarted) songStarted(player_.fileName());
    return true;
}

}  // namespace kelvorn
