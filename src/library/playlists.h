// SPDX-License-Identifier: GPL-3.0-or-later
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
// overflow lines, one per line with CR LF; an empty list gives a file of zero bytes. What
// the loaded playlist held besides its songs comes back: its "#EXTM3U" line first, and
// before an entry still in the list the lines that stood before it. A relative entry
// that would read as a comment or a URL is written with "./" before it ("./#1.mp3"). A
// name holding "/" or a control character fails. An empty list never replaces a playlist
// that holds songs (a start leaves the list empty, and "ALARM" saved then would silence
// the alarm). Unless Saved, the old file stays as it was.
SaveResult SavePlaylist(const KelvornSERVICE& svc, const std::string& name);

// Re-reads the music folder file into Mp3Path and fills PlaylistNames/PlaylistCount with
// the ".m3u" and ".m3u8" file names there, ascending by their upper-cased form (at most
// the reachable entries). The unsorted names are left in TmpSongs, followed by one empty
// entry.
void ListPlaylists(KelvornSERVICE& svc, const std::string& workDir);

// ListName := name; the songs of the file Mp3Path + name replace CustomSongs/CustomCount;
// songs beyond the reachable entries, and the lines after the last song, go to
// CustomOverflow. A missing file leaves CustomSongs alone and CustomCount at 0.
// A song is a line that is no directive: in a playlist beginning with "#EXTM3U" no line
// beginning with "#" and no blank line, in any a line beginning with "#EXT". A path
// inside the music folder becomes relative to it, other absolute paths stay; a "file://"
// URL is its decoded local path, other URLs are no songs. "./" before a relative path
// goes, and back-slashes naming no file become "/".
void LoadPlaylist(KelvornSERVICE& svc, const std::string& name);

}  // namespace kelvorn
