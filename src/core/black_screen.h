// SPDX-License-Identifier: GPL-3.0-or-later
// What the main screen and the clock ask of the black screen (the screen itself lives
// with the alarm screens).
#pragma once

namespace kelvorn {

class BlackScreen {
public:
    enum class Indicator { Black, Sleep, Snooze };

    virtual ~BlackScreen() = default;
    // Shows the black screen in front, with the keys.
    virtual void showBlack() = 0;
    // Hides it; the keys go back to the screen beneath.
    virtual void hideBlack() = 0;
    // Makes one indicator word visible and starts the 2 s timer that hides it.
    virtual void showIndicator(Indicator which) = 0;
    // Stops the line animation.
    virtual void stopLines() = 0;
    // Erases the drawing and empties the trail.
    virtual void ClearDrawing() = 0;
};

// What the clock's sequences need of the screens beside the main screen.
class NightScreens {
public:
    virtual ~NightScreens() = default;
    // The black screen, made on first use.
    virtual BlackScreen& blackScreen() = 0;
    // Stops the video screen's player, resets its display size and hides it.
    virtual void stopVideo() = 0;
};

}  // namespace kelvorn
