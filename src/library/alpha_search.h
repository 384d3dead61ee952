// SPDX-License-Identifier: GPL-3.0-or-later
// The alpha search: the archive names that contain a typed text, in archive order.
#pragma once
#include <string>

namespace kelvorn {

struct KelvornSERVICE;

// Fills TmpSongs, TmpIdx and TmpCount (-1 when nothing matches) with the archive
// entries whose text as the lists show it (folders included, without the extension),
// upper-cased, contains `text` (letter case significant; "_" stands for a space). The
// empty text selects every entry.
void AlphaSearch(KelvornSERVICE& svc, std::string text);

}  // namespace kelvorn
