// SPDX-License-Identifier: GPL-3.0-or-later
// Screen blanking on an X server, through a connection of its own (whatever Qt's
// platform plugin uses): the MIT-SCREEN-SAVER and DPMS extensions, where the server has them.
#pragma once
#include <memory>

#include "app/screen_blanking.h"

namespace kelvorn {

// Nothing when no X display opens.
std::unique_ptr<ScreenBlanking> openX11ScreenBlanking();

}  // namespace kelvorn
