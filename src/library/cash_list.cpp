// The archive cache "CashList.kvx": one entry per line, CR LF after every line.
#include "library/cash_list.h"

#include <algorithm>
#include <vector>

#include "platform/folder_listing.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

std::string cashListPath(const std::string& workDir) {
    const bool here = workDir.empty() || workDir == ".";
    const std::string found = findFileNoCase(here ? std::string(".") : workDir, kCashListName);
    if (!found.empty()) return found;
    if (here) return kCashListName;
    return workDir.back() == '/' ? workDir + kCashListName : workDir + "/" + kCashListName;
}

bool ReadCashList(KelvornSERVICE& svc, const std::string& workDir) {
    svc.ArchiveCount = -1;
    svc.ArchiveOverflow.clear();

    std::vector<std::string> lines;
    // Unreadable: no lines, an empty archive.
    if (!readLines(cashListPath(workDir), lines)) return false;

    const size_t reachable = std::min(lines.size(), static_cast<size_t>(kReachableEntries));
    if (svc.ArchiveList.size() < reachable) svc.ArchiveList.resize(reachable);
    for (size_t i = 0; i < reachable; ++i) svc.ArchiveList[i] = std::move(lines[i]);
    // Lines no count can reach are kept aside so that rewriting the cache never
    // shortens it.
    svc.ArchiveOverflow.assign(std::make_move_iterator(lines.begin() + static_cast<long>(reachable)),
                               std::make_move_iterator(lines.end()));
    svc.ArchiveCount = static_cast<int16_t>(static_cast<int>(reachable) - 1);
    return true;
}

bool WriteCashList(const KelvornSERVICE& svc, const std::string& workDir) {
    const size_t count = std::min(static_cast<size_t>(std::max<int>(svc.ArchiveCount + 1, 0)),
                                  svc.ArchiveList.size());
    size_t total = 0;
    for (size_t i = 0; i < count; ++i) total += svc.ArchiveList[i].size() + 2;
    for (const std::string& line : svc.ArchiveOverflow) total += line.size() + 2;

    std::string bytes;
    bytes.reserve(total);
    // Entries up to ArchiveCount that were never stored are written as blank lines.
    for (int i = 0; i <= svc.ArchiveCount; ++i) {
        if (static_cast<size_t>(i) < count) bytes += svc.ArchiveList[static_cast<size_t>(i)];
        bytes += "\r\n";
    }
    for (const std::string& line : svc.ArchiveOverflow) {
        bytes += line;
        bytes += "\r\n";
    }
    return writeFileAtomic(cashListPath(workDir), bytes);
}

}  // namespace kelvorn
