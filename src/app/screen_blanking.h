// SPDX-License-Identifier: GPL-3.0-or-later
// The display server's own screen saver and monitor power saving, held off while the
// jukebox needs its picture.
#pragma once
#include <memory>

namespace kelvorn {

class ScreenBlanking {
public:
    virtual ~ScreenBlanking() = default;
    // True keeps the screen from blanking; false gives the server its own settings back.
    virtual void hold(bool on) = 0;
    // Shows the picture now: ends a running screen saver and switches the monitor on.
    virtual void wake() = 0;
};

// The X server's, when an X display opens; otherwise one that does nothing.
std::unique_ptr<ScreenBlanking> openScreenBlanking();

}  // namespace kelvorn
