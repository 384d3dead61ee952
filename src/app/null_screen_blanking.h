// SPDX-License-Identifier: GPL-3.0-or-later
// Screen blanking where there is no X display (Wayland alone, a console, the tests).
#pragma once
#include "app/screen_blanking.h"

namespace kelvorn {

class NullScreenBlanking : public ScreenBlanking {
public:
    void hold(bool) override {}
    void wake() override {}
};

}  // namespace kelvorn
