#include "core/kelvorn_service.h"

#include <algorithm>

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

int16_t clampCount(long value) {
    return static_cast<int16_t>(std::clamp<long>(value, -1, kReachableEntries - 1));
}

}  // namespace kelvorn
