// SPDX-License-Identifier: GPL-3.0-or-later
// The archive cache file "CashList.kvx" in the working folder.
#pragma once
#include <string>

namespace kelvorn {

struct KelvornSERVICE;

constexpr const char* kCashListName = "CashList.kvx";

// Path of the cache file in `workDir` (an existing file is found without regard to case).
std::string cashListPath(const std::string& workDir);

// Fills ArchiveList/ArchiveCount from the cache, one entry per line. Lines beyond the
// reachable entries go to ArchiveOverflow. False when the file could not be read (a
// folder of that name, a FIFO, no permission, over the size limit): the archive is then
// empty, and the cache must not be written back.
bool ReadCashList(KelvornSERVICE& svc, const std::string& workDir);

// Replaces the cache with entries 0..ArchiveCount and the overflow lines, each ended
// by CR LF; an empty archive gives a file of zero bytes. False when it could not be written.
bool WriteCashList(const KelvornSERVICE& svc, const std::string& workDir);

}  // namespace kelvorn
