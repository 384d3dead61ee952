// SPDX-License-Identifier: GPL-3.0-or-later
// The archive order: ascending, letter case ignored, locale-aware.
#pragma once
#include <string>
#include <vector>

namespace kelvorn {

// Sorts names (bytes) into the archive order; names that compare equal keep a stable order.
void sortArchiveOrder(std::vector<std::string>& names);

}  // namespace kelvorn
