// SPDX-License-Identifier: GPL-3.0-or-later
// KelvornSERVICE: the process-wide state every screen shares, and its table operations.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kelvorn {

// Song tables have slots 0..50000 (video tables 0..200) and a 16-bit count holding
// the highest used index, -1 when empty; only 0..32767 can be reached by a count.
constexpr int kSongSlots = 50001;
constexpr int kVideoSlots = 201;
constexpr int kReachableEntries = 32768;

using SongList = std::vector<std::string>;

// Entry i of a table; empty for slots never stored or outside the table.
const std::string& entryAt(const SongList& list, int index);
// Stores entry i; does nothing outside 0..slots-1. The table grows on demand.
void storeEntry(SongList& list, int index, std::string entry, int slots = kSongSlots);

// The file of a song list entry: the music folder (a raw prefix) followed by the entry,
// or the entry alone where it is an absolute path (a playlist of another player's).
std::string songPath(const std::string& musicFolder, const std::string& entry);

// A count kept inside the 16-bit range: -1 .. 32767.
int16_t clampCount(long value);

// Puts `lines` into `table` from slot 0, as many as a count can reach; the rest go to
// `overflow` (kept only to be written back). Returns the new count (-1 for no lines).
int16_t fillTable(SongList& table, std::vector<std::string>&& lines, std::vector<std::string>& overflow);

struct KelvornSERVICE {
    // Key map: single characters compared exactly with the typed character.
    std::string KeyUp = "q";
    std::string KeyDown = "a";
    std::string KeyOk = "c";
    std::string KeyAlt = "x";
    std::string KeyBack = "#";

    // Display and environment.
    double GFXSpeed = 1.0;   // animation factor: steps times it, delays divided by it
    bool MouseOn = false;    // cursor wanted; hidden at start when false
    bool VideoMode = false;  // a video from the video list runs: no window re-activation
    int BackCount = 0;       // back presses in a row on the main screen
    bool Scanning = false;   // an archive scan runs: keys are ignored meanwhile

    // Song lists.
    std::string Mp3Path;  // music folder, a raw prefix ending with the separator
    SongList ArchiveList;
    int16_t ArchiveCount = -1;
    // Cache lines beyond the reachable entries: kept only so the cache rewrite never
    // shortens the file.
    std::vector<std::string> ArchiveOverflow;
    SongList CustomSongs;
    int16_t CustomCount = -1;
    // Lines of the last loaded playlist after its last reachable entry (songs beyond the
    // reachable entries, lines after the last song), written back after the list when it
    // is saved, so that loading and saving never shortens a playlist.
    std::vector<std::string> CustomOverflow;
    // The rest of the last loaded playlist, written back with the list so that other
    // players keep what they rely on: the "#EXTM3U" line of an extended playlist (empty
    // for a plain one), and for an entry the lines that stood before it and are no songs
    // ("#EXTINF", comments, web addresses). Entries added later have none.
    std::string CustomHeader;
    std::map<std::string, std::vector<std::string>> CustomLeadLines;
    std::string ListName;  // playlist last loaded into CustomSongs
    SongList PlaylistNames;
    int16_t PlaylistCount = -1;
    SongList TmpSongs;            // scratch: search results, scan and listing scratch
    std::vector<int16_t> TmpIdx;  // archive index of each search result
    int16_t TmpCount = -1;
    SongList VideoName;
    SongList VideoFile;
    int16_t VideoCount = -1;

    // Playback requests, acted on by the engine's next tick.
    int16_t SongPos = 0;
    bool NewSong = false;
    bool PlayOn = false;
    bool ShuffleOn = false;
    bool ListMode = false;  // true: CustomSongs plays; false: the archive
    bool AltSelect = false;
    bool VideoPlaying = false;

    // Volume, alarm, snooze and sleep.
    double VolumeSet = 100;
    int VolNormal = 100;
    int VolAlarm = 100;
    int VolSleep = 100;
    bool AlarmOn = false;
    std::string AlarmTime = "00:00:00";
    bool AlarmBusy = false;
    bool SnoozeOn = false;
    std::string SnoozeTime;
    bool SleepOn = false;
    double SleepTime = 0;
    double SleepLeft = 0;

    // Alpha entry exchange.
    std::string AlphaText;
    bool AlphaRunning = false;
    bool AlphaCancel = false;
    unsigned AlphaEntry = 0;  // counts the entries started: a wait ends with its own entry only

    // Ends a running text entry as cancelled: the clock forces the main screen to the
    // front (sleep end, alarm, snooze end) and the entry's work must not follow later.
    void cancelEntry() {
        if (!AlphaRunning) return;
        AlphaCancel = true;
        AlphaRunning = false;
    }

    // Forgets the lines of the last loaded playlist that are not in CustomSongs.
    void forgetPlaylistLines() {
        CustomOverflow.clear();
        CustomHeader.clear();
        CustomLeadLines.clear();
    }

    // The playing list and its highest index, as ListMode selects.
    const SongList& playingList() const { return ListMode ? CustomSongs : ArchiveList; }
    int16_t playingCount() const { return ListMode ? CustomCount : ArchiveCount; }
};

// Appends `entry` to the custom list; false (nothing changed) when it holds as many
// entries as a count can reach.
bool appendToCustomList(KelvornSERVICE& svc, const std::string& entry);
// Removes entry `index` of the custom list, the later ones moving up; an index outside
// the list changes nothing.
void removeFromCustomList(KelvornSERVICE& svc, int index);

}  // namespace kelvorn
