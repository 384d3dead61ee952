#include "core/screen.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "core/key_input.h"
#include "core/kelvorn_service.h"

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
    QWidget* stage = parentWidget();
    if (!stage) return;
    const QObjectList& siblings = stage->children();
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
        auto* screen = qobject_cast<Screen*>(*it);
        if (screen && screen != this && screen->isVisible()) {
            screen->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void Screen::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const std::string key = typedKey(event, s.svc);
    if (!key.empty()) keyTyped(key);
}

void Screen::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace kelvorn
