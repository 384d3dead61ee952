// The playback engine: starts requested songs and moves on when one ends.
#pragma once
#include <functional>
#include <string>

namespace kelvorn {

struct KelvornSERVICE;
class MediaPlayer;
class EventPump;
class RandomSource;

// The random pick used when a song starts in shuffle mode: Int(rnd * N + 0.5), at most
// N, so the first and last entries come half as often as the others.
int shuffleDraw(double rnd, int highestIndex);
// The random pick of a skip: Int(rnd * N), which never yields N itself.
int skipDraw(double rnd, int highestIndex);

class PlaybackEngine {
public:
    PlaybackEngine(KelvornSERVICE& svc, MediaPlayer& player, EventPump& pump, RandomSource& random);

    // One tick (every 100 ms): the requested song first, then the end of the song.
    // A tick that arrives while an earlier one waits for its file returns at once.
    void tick();

    // Opens entry `index` of the playing list, waits for it to open, shows its name
    // and plays it when it opened; false when it did not open.
    bool startSong(int index);

    // Called with title and artist of every started song.
    std::function<void(const std::string& title, const std::string& artist)> showSong;
    // Called after a song started playing (for diagnostics).
    std::function<void(const std::string& file)> songStarted;
    // Called when playback is wanted but the playing list is empty, or a whole pass of
    // it (as many opens in a row as it has entries) failed.
    std::function<void()> nothingPlayable;

    // The display name being split (the main screen's scratch text).
    const std::string& tmpstr() const { return tmpstr_; }

    static constexpr int kOpenWaitPasses = 25000;

private:
    KelvornSERVICE& svc_;
    MediaPlayer& player_;
    EventPump& pump_;
    RandomSource& random_;
    std::string tmpstr_;
    bool busy_ = false;
    int failures_ = 0;  // opens that failed in a row
};

}  // namespace kelvorn
