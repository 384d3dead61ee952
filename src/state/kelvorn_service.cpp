// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/kelvorn_service.h"

#include <algorithm>
#include <iterator>

namespace kelvorn {

const std::string& entryAt(const SongList& list, int index) {
    static const std::string empty;
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return empty;
    return list[static_cast<size_t>(index)];
}

void storeEntry(SongList& list, int index, std::string entry, int slots) {
    if (index < 0 || index >= slots) return;
    if (static_cast<size_t>(index) >= list.size()) list.resize(static_cast<size_t>(index) + 1);
    list[static_cast<size_t>(index)] = std::move(entry);
}

std::string songPath(const std::string& musicFolder, const std::string& entry) {
    return !entry.empty() && entry[0] == '/' ? entry : musicFolder + entry;
}

int16_t clampCount(long value) { return static_cast<int16_t>(std::clamp<long>(value, -1, kReachableEntries - 1)); }

int16_t fillTable(SongList& table, std::vector<std::string>&& lines, std::vector<std::string>& overflow) {
    const size_t reachable = std::min(lines.size(), static_cast<size_t>(kReachableEntries));
    if (table.size() < reachable) table.resize(reachable);
    std::move(lines.begin(), lines.begin() + static_cast<long>(reachable), table.begin());
    overflow.assign(std::make_move_iterator(lines.begin() + static_cast<long>(reachable)),
                    std::make_move_iterator(lines.end()));
    return static_cast<int16_t>(static_cast<int>(reachable) - 1);
}

bool appendToCustomList(KelvornSERVICE& svc, const std::string& entry) {
    const int next = svc.CustomCount + 1;
    if (next >= kReachableEntries || next >= kSongSlots) return false;
    svc.CustomCount = static_cast<int16_t>(next);
    storeEntry(svc.CustomSongs, next, entry);
    return true;
}

void removeFromCustomList(KelvornSERVICE& svc, int index) {
    if (index < 0 || index > svc.CustomCount) return;
    const int last = svc.CustomCount - 1;
    svc.CustomCount = static_cast<int16_t>(last);
    for (int i = index; i <= last; ++i) storeEntry(svc.CustomSongs, i, entryAt(svc.CustomSongs, i + 1));
}

}  // namespace kelvorn
