// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/x11_screen_blanking.h"

// Xlib's macros (None, True, Status...) stay in this file.
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>

namespace kelvorn {

namespace {

class X11ScreenBlanking : public ScreenBlanking {
public:
    explicit X11ScreenBlanking(Display* display) : display_(display) {
        int event = 0, error = 0, major = 0, minor = 0;
        // Suspending the screen saver came with version 1.1 of its extension.
        saver_ = XScreenSaverQueryExtension(display_, &event, &error) &&
                 XScreenSaverQueryVersion(display_, &major, &minor) && (major > 1 || (major == 1 && minor >= 1));
        dpms_ = DPMSQueryExtension(display_, &event, &error) && DPMSCapable(display_);
    }
    ~X11ScreenBlanking() override {
        hold(false);
        XCloseDisplay(display_);
    }
    X11ScreenBlanking(const X11ScreenBlanking&) = delete;
    X11ScreenBlanking& operator=(const X11ScreenBlanking&) = delete;

    // Power saving is switched back on only when it was on before, and the suspension
    // ends with this connection anyway.
    void hold(bool on) override {
        if (on == holding_) return;
        holding_ = on;
        if (saver_) XScreenSaverSuspend(display_, on ? True : False);
        if (on) {
            dpmsWasOn_ = dpmsOn();
            if (dpmsWasOn_) DPMSDisable(display_);
        } else if (dpmsWasOn_) {
            DPMSEnable(display_);
        }
        XSync(display_, False);
    }

    void wake() override {
        XResetScreenSaver(display_);
        // Forcing a level while power saving is off is an error; off, the monitor is on.
        if (dpmsOn()) DPMSForceLevel(display_, DPMSModeOn);
        XSync(display_, False);
    }

private:
    bool dpmsOn() const {
        CARD16 level = 0;
        BOOL enabled = False;
        return dpms_ && DPMSInfo(display_, &level, &enabled) && enabled;
    }

    Display* display_;
    bool saver_ = false;
    bool dpms_ = false;
    bool holding_ = false;
    bool dpmsWasOn_ = false;
};

}  // namespace

std::unique_ptr<ScreenBlanking> openX11ScreenBlanking() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    return std::make_unique<X11ScreenBlanking>(display);
}

}  // namespace kelvorn
