// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse cursor hiding for the remote-control use.
#pragma once

namespace kelvorn {

void hideMouseCursor();
void showMouseCursor();

}  // namespace kelvorn
