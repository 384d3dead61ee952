// SPDX-License-Identifier: GPL-3.0-or-later
// A screen that builds itself up (FadeIn) and clears at once (FadeOut): the main
// screen, the menus and the list browsers.
#pragma once
#include "core/screen.h"

namespace kelvorn {

class MenuScreen : public Screen {
    Q_OBJECT
public:
    using Screen::Screen;
    virtual void FadeIn() = 0;
    virtual void FadeOut() = 0;
};

}  // namespace kelvorn
