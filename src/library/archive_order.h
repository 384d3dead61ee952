// The archive order: ascending, letter case ignored, locale-aware.
#pragma once
#include <string>
#include <vector>

#include <QString>

namespace kelvorn {

// Shown, searched and sorted text: UTF-8, or Latin-1 where the bytes are not valid UTF-8.
QString decodeName(const std::string& bytes);

// Sorts names (bytes) into the archive order; names that compare equal keep a stable order.
void sortArchiveOrder(std::vector<std::string>& names);

}  // namespace kelvorn
