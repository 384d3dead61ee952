// SPDX-License-Identifier: GPL-3.0-or-later
// Playlist files: one song per line, CR LF after every line. Other players' playlists
// may begin with "#EXTM3U" and hold lines that are no songs: directives, comments, web
// addresses.
#include "library/playlists.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <numeric>
#include <optional>
#include <string_view>
#include <vector>

#include "library/media_paths.h"
#include "platform/atomic_file.h"
#include "platform/folder_listing.h"
#include "platform/name_text.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

constexpr const char* kExtension = ".m3u";
constexpr std::string_view kExtendedHeader = "#EXTM3U";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A "/" would put the file in another folder; control characters make names nobody
// can type or see again.
bool acceptableName(const std::string& name) {
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '/' || u < 32 || u == 127;
    });
}

// The sort key: the shown text upper-cased, as UTF-8 bytes, so that comparing bytes
// compares character codes.
std::string upperKey(const std::string& name) { return decodeName(name).toUpper().toUtf8().toStdString(); }

bool unsignedLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

// In an extended playlist every line beginning with "#" is a directive or comment, and
// a blank line is nothing; in a plain one only "#EXT" begins a directive.
bool isDirective(std::string_view line, bool extended) {
    return extended ? line.empty() || line.starts_with('#') : line.starts_with("#EXT");
}

// The byte of the escape "%XY" at `at`; -1 for none, a broken one, or a byte that ends a
// path or a line (NUL, LF, CR: the entry could not be saved as one line), all of which
// stay as they are.
int escapedByte(std::string_view text, size_t at) {
    if (text[at] != '%' || text.size() - at < 3) return -1;
    const char* digits = text.data() + at + 1;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits, digits + 2, value, 16);
    const bool usable = error == std::errc() && end == digits + 2 && value != 0 && value != '\n' && value != '\r';
    return usable ? static_cast<int>(value) : -1;
}

std::string percentDecoded(std::string_view text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        const int byte = escapedByte(text, i);
        if (byte < 0) {
            bytes += text[i];
        } else {
            bytes += static_cast<char>(byte);
            i += 2;
        }
    }
    return bytes;
}

// The length of a URL's scheme ("http" of "http://host/x"); 0 for a path, also where a
// "/" before "://" makes that part of a folder name.
size_t schemeLength(std::string_view line) {
    const size_t end = line.find("://");
    return end != std::string_view::npos && line.find('/') > end ? end : 0;
}

// The local path of a URL line, the line itself when it is none; nothing for a URL the
// player cannot open (another scheme, a file on another machine).
std::optional<std::string> localPath(std::string_view line) {
    const size_t scheme = schemeLength(line);
    if (scheme == 0) return std::string(line);
    if (!equalNoCase(line.substr(0, scheme), "file")) return std::nullopt;
    const std::string_view rest = line.substr(scheme + 3);
    // A local file: no host or "localhost", and a path after it.
    const size_t hostEnd = rest.find('/');
    if (hostEnd == std::string_view::npos) return std::nullopt;
    if (hostEnd > 0 && !equalNoCase(rest.substr(0, hostEnd), "localhost")) return std::nullopt;
    return percentDecoded(rest.substr(hostEnd));
}

// "./" before a relative path names the same file without it; ".//x" is "x" too.
std::string withoutDotSlash(std::string path) {
    while (path.starts_with("./")) {
        const size_t next = path.find_first_not_of('/', 1);
        if (next == std::string::npos) break;  // the folder itself: no song, but kept as written
        path.erase(0, next);
    }
    return path;
}

// An absolute path inside the music folder becomes the entry the archive has for it;
// the folder itself, and what would read as absolute then, stay as they are.
std::string entryOfAbsolute(std::string path, const std::string& musicFolder) {
    if (!path.starts_with(musicFolder)) return path;
    std::string rest = withoutDotSlash(path.substr(musicFolder.size()));
    return rest.empty() || rest.starts_with('/') ? path : rest;
}

std::string entryOfRelative(std::string path, const std::string& musicFolder) {
    // Windows players separate folders with back-slashes, which a Linux name may hold too.
    if (path.find('\\') != std::string::npos && !isNormalFile(songPath(musicFolder, path)))
        std::replace(path.begin(), path.end(), '\\', '/');
    return withoutDotSlash(std::move(path));
}

// The song list entry of a line that is no directive; nothing for a line naming no local file.
std::optional<std::string> songEntry(std::string_view line, const std::string& musicFolder) {
    std::optional<std::string> path = localPath(line);
    if (!path) return std::nullopt;
    if (path->starts_with('/')) return entryOfAbsolute(std::move(*path), musicFolder);
    return entryOfRelative(std::move(*path), musicFolder);
}

// Takes the "#EXTM3U" line (a byte-order mark before it allowed) as the header: true
// when there is one. A byte-order mark before a plain playlist's first song goes too.
bool takeHeader(KelvornSERVICE& svc, std::vector<std::string>& lines) {
    if (lines.empty()) return false;
    if (lines[0].starts_with(kByteOrderMark)) lines[0].erase(0, kByteOrderMark.size());
    if (!lines[0].starts_with(kExtendedHeader)) return false;
    svc.CustomHeader = std::move(lines[0]);
    return true;
}

// The songs of the lines, as many as a count can reach. The lines that are no songs are
// kept in CustomLeadLines with the song after them; what follows the last song taken
// goes to CustomOverflow as it is.
std::vector<std::string> takeSongs(KelvornSERVICE& svc, std::vector<std::string>& lines) {
    const bool extended = takeHeader(svc, lines);
    std::vector<std::string> songs;
    std::vector<std::string> lead;
    size_t i = extended ? 1 : 0;
    for (; i < lines.size() && songs.size() < static_cast<size_t>(kReachableEntries); ++i) {
        std::optional<std::string> song;
        if (!isDirective(lines[i], extended)) song = songEntry(lines[i], svc.Mp3Path);
        if (!song) {
            lead.push_back(std::move(lines[i]));
            continue;
        }
        // An entry listed twice keeps the lines of its first place.
        if (!lead.empty()) svc.CustomLeadLines.try_emplace(*song, std::move(lead));
        lead.clear();
        songs.push_back(std::move(*song));
    }
    svc.CustomOverflow = std::move(lead);
    svc.CustomOverflow.insert(svc.CustomOverflow.end(), std::make_move_iterator(lines.begin() + static_cast<long>(i)),
                              std::make_move_iterator(lines.end()));
    return songs;
}

// An entry's lines in a playlist file: the lines it had there, then the entry.
void appendEntry(std::string& bytes, const KelvornSERVICE& svc, const std::string& entry) {
    if (const auto lead = svc.CustomLeadLines.find(entry); lead != svc.CustomLeadLines.end())
        appendCrLfLines(bytes, lead->second);
    // A relative entry that would read as a comment or a URL keeps a song with "./".
    if (entry.starts_with('#') || schemeLength(entry) > 0) bytes += "./";
    bytes += entry;
    bytes += "\r\n";
}

}  // namespace

SaveResult SavePlaylist(const KelvornSERVICE& svc, const std::string& name) {
    if (!acceptableName(name)) return SaveResult::Failed;
    const std::string path = svc.Mp3Path + name + kExtension;
    const size_t count = static_cast<size_t>(std::max(svc.CustomCount + 1, 0));
    if (count == 0 && svc.CustomOverflow.empty()) {
        std::error_code error;
        const auto oldSize = std::filesystem::file_size(path, error);
        if (!error && oldSize > 0) return SaveResult::Kept;
    }
    std::string bytes;
    if (!svc.CustomHeader.empty()) bytes = svc.CustomHeader + "\r\n";
    // Entries up to CustomCount that were never stored are written as blank lines.
    for (size_t i = 0; i < count; ++i) appendEntry(bytes, svc, entryAt(svc.CustomSongs, static_cast<int>(i)));
    appendCrLfLines(bytes, svc.CustomOverflow);
    return writeFileAtomic(path, bytes) ? SaveResult::Saved : SaveResult::Failed;
}

void ListPlaylists(KelvornSERVICE& svc, const std::string& workDir) {
    svc.Mp3Path = musicFolderFor(workDir);
    std::vector<std::string> found = listMatching(svc.Mp3Path, ListingRules{{kExtension, ".m3u8"}});

    // An empty typed name saves ".m3u", which the listing skips as a hidden file.
    const std::string emptyNamed = svc.Mp3Path + kExtension;
    const std::string bare = emptyNamed.substr(emptyNamed.rfind('/') + 1);  // npos + 1 == 0
    if (isNormalFile(emptyNamed) && std::find(found.begin(), found.end(), bare) == found.end()) found.push_back(bare);

    // The unsorted names go to TmpSongs, followed by one empty entry; names no count
    // can reach are not stored.
    const size_t stored = std::min(found.size(), static_cast<size_t>(kReachableEntries));
    if (svc.TmpSongs.size() < stored + 1) svc.TmpSongs.resize(stored + 1);
    std::copy_n(found.begin(), stored, svc.TmpSongs.begin());
    svc.TmpSongs[stored].clear();

    // Sorting every name before cutting keeps the stored part independent of the
    // order in which the file system returns names. Names with equal keys are all
    // listed, in byte order.
    std::vector<std::string> keys(found.size());
    std::transform(found.begin(), found.end(), keys.begin(), upperKey);
    std::vector<size_t> order(found.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (keys[a] != keys[b]) return unsignedLess(keys[a], keys[b]);
        return unsignedLess(found[a], found[b]);
    });

    if (svc.PlaylistNames.size() < stored) svc.PlaylistNames.resize(stored);
    for (size_t i = 0; i < stored; ++i) svc.PlaylistNames[i] = std::move(found[order[i]]);
    svc.PlaylistCount = static_cast<int16_t>(static_cast<int>(stored) - 1);
}

void LoadPlaylist(KelvornSERVICE& svc, const std::string& name) {
    svc.ListName = name;
    svc.CustomCount = 0;
    svc.forgetPlaylistLines();
    const std::string path = svc.Mp3Path + name;
    // A missing file ends here: entry 0 of the former list becomes the whole list.
    if (!isNormalFile(path)) return;

    std::vector<std::string> lines;
    readLines(path, lines);  // an unreadable file gives no lines: an empty list
    // takeSongs takes no more songs than a count can reach, and fills CustomOverflow.
    std::vector<std::string> none;
    svc.CustomCount = fillTable(svc.CustomSongs, takeSongs(svc, lines), none);
}

}  // namespace kelvorn
