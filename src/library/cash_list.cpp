// SPDX-License-Identifier: GPL-3.0-or-later
// The archive cache "CashList.kvx": one entry per line, CR LF after every line.
#include "library/cash_list.h"

#include <algorithm>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/folder_listing.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

std::string cashListPath(const std::string& workDir) { return settingsFilePath(workDir, kCashListName); }

bool ReadCashList(KelvornSERVICE& svc, const std::string& workDir) {
    svc.ArchiveCount = -1;
    svc.ArchiveOverflow.clear();

    std::vector<std::string> lines;
    // Unreadable: no lines, an empty archive.
    if (!readLines(cashListPath(workDir), lines)) return false;

    // Lines no count can reach are kept aside so that rewriting the cache never
    // shortens it.
    svc.ArchiveCount = fillTable(svc.ArchiveList, std::move(lines), svc.ArchiveOverflow);
    return true;
}

bool WriteCashList(const KelvornSERVICE& svc, const std::string& workDir) {
    const size_t count = static_cast<size_t>(std::max<int>(svc.ArchiveCount + 1, 0));
    std::string bytes;
    appendCrLfLines(bytes, svc.ArchiveList, 0, count);
    // Entries up to ArchiveCount that were never stored are written as blank lines.
    for (size_t i = svc.ArchiveList.size(); i < count; ++i) bytes += "\r\n";
    appendCrLfLines(bytes, svc.ArchiveOverflow);
    return writeFileAtomic(cashListPath(workDir), bytes);
}

}  // namespace kelvorn
