// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse cursor hiding: a blank override cursor over the whole application.
#include "platform/cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace kelvorn {

namespace {
// Override cursors stack; one hide must be undone by exactly one restore.
bool hidden = false;

bool haveGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }
}  // namespace

void hideMouseCursor() {
    if (hidden || !haveGuiApplication()) return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    hidden = true;
}

void showMouseCursor() {
    if (!hidden || !haveGuiApplication()) return;
    QGuiApplication::restoreOverrideCursor();
    hidden = false;
}

}  // namespace kelvorn
