// Playlist files: copies of the song list CustomSongs as ".m3u" files in the music folder.
#pragma once
#include <string>

namespace kelvorn {

struct KelvornSERVICE;

enum class SaveResult {
    Saved,   // the file holds the list
    Kept,    // an empty list was not saved over a playlist holding songs
    Failed,  // a name that cannot be a file name, or the write failed
};

// Replaces Mp3Path + name + ".m3u" with entries 0..CustomCount of CustomSongs and the
// overflow lines, one per line with CR LF; an empty list gives a file of zero bytes. A
// name holding "/" or a control character fails. An empty list never replaces a
// playlist that holds songs (a start leaves the list empty, and "ALARM" saved then would
// silence the alarm). Unless Saved, the old file stays as it was.
SaveResult SavePlaylist(const KelvornSERVICE& svc, const std::string& name);

// Re-reads the music folder file into Mp3Path and fills PlaylistNames/PlaylistCount with
// the ".m3u" file names there, ascending by their upper-cased form (at most the reachable
// entries). The unsorted names are left in TmpSongs, followed by one empty entry.
void ListPlaylists(KelvornSERVICE& svc, const std::string& workDir);

// ListName := name; the file Mp3Path + name replaces CustomSongs/CustomCount, one entry
// per line; lines beyond the reachable entries go to CustomOverflow. A missing file
// leaves CustomSongs alone and CustomCount at 0.
void LoadPlaylist(KelvornSERVICE& svc, const std::string& name);

}  // namespace kelvorn
