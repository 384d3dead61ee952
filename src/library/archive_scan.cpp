// SPDX-License-Identifier: GPL-3.0-or-later
// The archive scan: the music folder's MP3 files, sorted, into ArchiveList.
#include "library/archive_scan.h"

#include <QScopedValueRollback>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <future>
#include <vector>

#include "library/archive_order.h"
#include "library/library_settings.h"
#include "library/media_paths.h"
#include "platform/event_pump.h"
#include "platform/folder_listing.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

// How often the waiting GUI thread looks at the worker, and how many copied entries
// make one step of the sort counter: the event loop never waits longer than a few
// milliseconds, and the counters cost nothing against the copy.
constexpr auto kPollInterval = std::chrono::milliseconds(5);
constexpr int kCopyStep = 256;

// What the worker hands back: every name in archive order (at most the reachable
// ones), and the unsorted names as the folder listed them.
struct Listing {
    std::vector<std::string> sorted;
    std::vector<std::string> unsorted;
    size_t found = 0;
    bool listed = false;
};

// Runs off the GUI thread: it touches nothing but its arguments.
Listing listAndSort(const std::string& folder, const ListingRules& rules, std::atomic<size_t>& counted) {
    Listing result;
    std::vector<std::string> names = listMatching(folder, rules, &result.listed, &counted);
    if (!result.listed) return result;
    // A name holding a line end cannot stand as one line of the cache or a playlist.
    std::erase_if(names, [](const std::string& name) { return name.find_first_of("\r\n") != std::string::npos; });
    result.found = names.size();
    const size_t stored = std::min(names.size(), static_cast<size_t>(kReachableEntries));
    result.unsorted.assign(names.begin(), names.begin() + static_cast<long>(stored));
    // Sorting every name before cutting keeps the stored part independent of the order
    // in which the file system returns names.
    sortArchiveOrder(names);
    names.resize(stored);
    result.sorted = std::move(names);
    return result;
}

}  // namespace

bool ScanArchive(KelvornSERVICE& svc, const std::string& workDir, EventPump& pump, ScanProgress& progress) {
    // The update screen is in front and takes no keys: none may act on a half-built
    // archive behind it.
    const QScopedValueRollback scanning(svc.Scanning, true);
    // Re-read at every scan, so an edited music folder file takes effect.
    svc.Mp3Path = musicFolderFor(workDir);
    progress.showFound(0);
    progress.showSort(0);
    progress.scanStarted();

    // Listing a slow (network) folder and sorting take their time on a worker thread,
    // while the clock, the playback and the FOUND counter go on here.
    std::atomic<size_t> counted{0};
    std::future<Listing> work = std::async(std::launch::async, listAndSort, svc.Mp3Path,
                                           readLibrarySettings(workDir).listingRules(), std::ref(counted));
    while (work.wait_for(kPollInterval) != std::future_status::ready) {
        progress.showFound(static_cast<int>(std::min(counted.load(), size_t{INT_MAX})));
        pump.yield();
    }
    Listing listing = work.get();
    if (!listing.listed) {
        // A music folder that is away (a USB disk, a network share) is no empty folder:
        // the archive stays as it was.
        progress.showFound(-1);
        progress.scanFinished();
        return false;
    }

    // The unsorted names go to TmpSongs, followed by one empty entry; names no count
    // can reach are not stored.
    const size_t stored = listing.sorted.size();
    if (svc.TmpSongs.size() < stored + 1) svc.TmpSongs.resize(stored + 1);
    std::move(listing.unsorted.begin(), listing.unsorted.end(), svc.TmpSongs.begin());
    svc.TmpSongs[stored].clear();
    const int last = static_cast<int>(stored) - 1;
    progress.showFound(static_cast<int>(std::min(listing.found, size_t{INT_MAX})));
    progress.showFound(last);
    pump.yield();

    // ArchiveCount only ever covers entries that hold a name (old or new), so the
    // playback engine may read the archive while it is being copied.
    svc.ArchiveOverflow.clear();
    if (svc.ArchiveList.size() < stored) svc.ArchiveList.resize(stored);
    svc.ArchiveCount = static_cast<int16_t>(std::min<int>(svc.ArchiveCount, last));
    for (int i = 0; i <= last; ++i) {
        if (i % kCopyStep == 0 || i == last) {
            progress.showSort(i);
            pump.yield();
        }
        svc.ArchiveList[static_cast<size_t>(i)] = std::move(listing.sorted[static_cast<size_t>(i)]);
    }
    svc.ArchiveCount = static_cast<int16_t>(last);

    progress.scanFinished();
    return true;
}

}  // namespace kelvorn
