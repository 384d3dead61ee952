// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/screen.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "core/key_input.h"
#include "platform/debug_log.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

Screen::Screen(QWidget* stage, Services& services) : QWidget(stage), s(services) {
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
}

void Screen::showScreen() {
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void Screen::hideScreen() {
    hide();
    if (Screen* front = frontScreen(parentWidget())) front->setFocus(Qt::OtherFocusReason);
}

Screen* frontScreen(QWidget* stage) {
    if (!stage) return nullptr;
    // The children are kept in stacking order: the last shown screen is in front.
    const QObjectList& screens = stage->children();
    for (auto it = screens.rbegin(); it != screens.rend(); ++it) {
        auto* screen = qobject_cast<Screen*>(*it);
        if (screen && !screen->isHidden()) return screen;
    }
    return nullptr;
}

void Screen::keyPressEvent(QKeyEvent* event) {
    event->accept();
    takeKey(typedKey(event, s.svc));
}

void Screen::takeKey(const std::string& key) {
    if (s.svc.Scanning || key.empty()) return;
    keyTyped(key);
    debugEvent("handled", key);  // the end-to-end test types the next key after this
}

void Screen::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace kelvorn
