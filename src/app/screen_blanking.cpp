// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screen_blanking.h"

#include "app/null_screen_blanking.h"
#include "app/x11_screen_blanking.h"

namespace kelvorn {

std::unique_ptr<ScreenBlanking> openScreenBlanking() {
    if (std::unique_ptr<ScreenBlanking> x11 = openX11ScreenBlanking()) return x11;
    return std::make_unique<NullScreenBlanking>();
}

}  // namespace kelvorn
