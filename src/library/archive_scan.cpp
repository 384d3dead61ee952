// The archive scan: the music folder's MP3 files, sorted, into ArchiveList.
#include "library/archive_scan.h"

#include <QScopedValueRollback>
#include <algorithm>
#include <vector>

#include "core/kelvorn_service.h"
#include "library/archive_order.h"
#include "library/media_paths.h"
#include "platform/event_pump.h"
#include "platform/folder_listing.h"

namespace kelvorn {

bool ScanArchive(KelvornSERVICE& svc, const std::string& workDir, EventPump& pump,
                 ScanProgress& progress) {
    // The update screen is in front and takes no keys: none may act on a half-built
    // archive behind it.
    const QScopedValueRollback scanning(svc.Scanning, true);
    // Re-read at every scan, so an edited music folder file takes effect.
    svc.Mp3Path = musicFolderFor(workDir);
    progress.showFound(0);
    progress.showSort(0);
    progress.scanStarted();

    bool listed = false;
    std::vector<std::string> found = listMatching(svc.Mp3Path, ".mp3", &listed);
    if (!listed) {
        // A music folder that is away (a USB disk, a network share) is no empty folder:
        // the archive stays as it was.
        progress.showFound(-1);
        progress.scanFinished();
        return false;
    }
    // A name holding a line end cannot stand as one line of the cache or a playlist.
    std::erase_if(found, [](const std::string& name) { return name.find_first_of("\r\n") != std::string::npos; });

    // The unsorted names go to TmpSongs, followed by one empty entry; names no count
    // can reach are not stored.
    const size_t stored = std::min(found.size(), static_cast<size_t>(kReachableEntries));
    if (svc.TmpSongs.size() < stored + 1) svc.TmpSongs.resize(stored + 1);
    for (size_t i = 0; i < found.size(); ++i) {
        if (i < stored) svc.TmpSongs[i] = found[i];
        progress.showFound(static_cast<int>(i + 1));
        pump.yield();
    }
    svc.TmpSongs[stored].clear();

    // Sorting every name before cutting keeps the stored part independent of the
    // order in which the file system returns names.
    sortArchiveOrder(found);
    found.resize(stored);
    const int last = static_cast<int>(stored) - 1;
    progress.showFound(last);
    pump.yield();

    // ArchiveCount only ever covers entries that hold a name (old or new), so the
    // playback engine may read the archive while it is being copied.
    svc.ArchiveOverflow.clear();
    if (svc.ArchiveList.size() < stored) svc.ArchiveList.resize(stored);
    svc.ArchiveCount = static_cast<int16_t>(std::min<int>(svc.ArchiveCount, last));
    for (int i = 0; i <= last; ++i) {
        progress.showSort(i);
        pump.yield();
        svc.ArchiveList[static_cast<size_t>(i)] = std::move(found[static_cast<size_t>(i)]);
    }
    svc.ArchiveCount = static_cast<int16_t>(last);

    progress.scanFinished();
    return true;
}

}  // namespace kelvorn
