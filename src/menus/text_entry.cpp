// SPDX-License-Identifier: GPL-3.0-or-later
#include "menus/text_entry.h"

#include <QLabel>

#include "core/services.h"
#include "core/transitions.h"
#include "menus/alpha_input.h"
#include "menus/search_menu.h"
#include "platform/event_pump.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

bool runTextEntry(Services& s, Transitions& transitions, SearchMenu& menu, AlphaInput& entry, const QString& title) {
    transitions.wipe();
    entry.FadeOut();
    entry.frame.MainLabel->setText(title);
    transitions.placeMenuScreen(entry);
    entry.showScreen();
    transitions.overlayReset();
    menu.FadeOut();
    menu.hide();
    // The entry runs from the start of the build-up, so an accept or cancel typed while
    // the screen still builds is acted on once it is up, like the digits typed then.
    KelvornSERVICE& svc = s.svc;
    const unsigned ticket = ++svc.AlphaEntry;
    svc.AlphaRunning = true;
    entry.FadeIn();
    // The entry screen's keys and ticks, and every other timer, run inside this wait.
    while (svc.AlphaRunning && svc.AlphaEntry == ticket) s.pump.pass();
    // An entry started inside this wait (after a forced return to the main screen) took
    // the exchange over: its accept is not this entry's.
    return svc.AlphaEntry == ticket && !svc.AlphaCancel;
}

}  // namespace kelvorn
