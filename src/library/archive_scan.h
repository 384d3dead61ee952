// SPDX-License-Identifier: GPL-3.0-or-later
// The archive scan: the music folder's songs into the sorted archive.
#pragma once
#include <string>

namespace kelvorn {

struct KelvornSERVICE;
class EventPump;

// What the scan shows while it runs (the update screen, or nothing in tests).
class ScanProgress {
public:
    virtual ~ScanProgress() = default;
    virtual void scanStarted() {}
    virtual void showFound(int value) { (void)value; }
    virtual void showSort(int value) { (void)value; }
    virtual void scanFinished() {}
};

// Re-reads the music folder file into Mp3Path and "Library.kvx", lists the songs of
// Mp3Path (its "*.mp3", or what the library settings name: other formats, subfolders'
// songs as relative paths), sorts them and stores them in ArchiveList/ArchiveCount (at most the reachable entries); the
// unsorted names are left in TmpSongs. Yields to `pump` after every name. Does not
// write the cache. False, with the archive and TmpSongs untouched, when the music folder
// could not be listed.
bool ScanArchive(KelvornSERVICE& svc, const std::string& workDir, EventPump& pump, ScanProgress& progress);

}  // namespace kelvorn
