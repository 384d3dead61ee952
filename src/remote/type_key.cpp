#include "remote/type_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace kelvorn {

namespace {

int qtKeyFor(const QString& text) {
    if (text.size() != 1) return Qt::Key_unknown;
    const char16_t c = text.at(0).unicode();
    if (c >= u'0' && c <= u'9') return Qt::Key_0 + (c - u'0');
    if (c >= u'a' && c <= u'z') return Qt::Key_A + (c - u'a');
    if (c >= u'A' && c <= u'Z') return Qt::Key_A + (c - u'A');
    return Qt::Key_unknown;
}

}  // namespace

void typeKey(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    if (!target || text.isEmpty()) return;
    const int key = qtKeyFor(text);
    // Sent, not posted: each press reaches the screen in front at that moment, also when
    // the press before it opened another screen.
    const QPointer<QWidget> alive(target);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    if (!alive) return;  // the press closed it
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

}  // namespace kelvorn
