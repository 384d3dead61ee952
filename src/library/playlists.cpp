// Playlist files: one song per line, CR LF after every line, no header.
#include "library/playlists.h"

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <vector>

#include "library/media_paths.h"
#include "platform/folder_listing.h"
#include "platform/name_text.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

constexpr const char* kExtension = ".m3u";

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
    // Entries up to CustomCount that were never stored are written as blank lines.
    SongList lines(svc.CustomSongs.begin(),
                   svc.CustomSongs.begin() + static_cast<long>(std::min(count, svc.CustomSongs.size())));
    lines.resize(count);
    lines.insert(lines.end(), svc.CustomOverflow.begin(), svc.CustomOverflow.end());
    return writeLinesAtomic(path, lines) ? SaveResult::Saved : SaveResult::Failed;
}

void ListPlaylists(KelvornSERVICE& svc, const std::string& workDir) {
    svc.Mp3Path = musicFolderFor(workDir);
    std::vector<std::string> found = listMatching(svc.Mp3Path, ListingRules{{kExtension}});

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
    svc.CustomOverflow.clear();
    const std::string path = svc.Mp3Path + name;
    // A missing file ends here: entry 0 of the former list becomes the whole list.
    if (!isNormalFile(path)) return;

    std::vector<std::string> lines;
    readLines(path, lines);  // an unreadable file gives no lines: an empty list
    // Lines no count can reach are kept aside for the next save.
    svc.CustomCount = fillTable(svc.CustomSongs, std::move(lines), svc.CustomOverflow);
}

}  // namespace kelvorn
