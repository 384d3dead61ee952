// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's idle inhibition (org.freedesktop.ScreenSaver, session bus) and logind's
// sleep lock (system bus), the calls made to them.
#pragma once
#include <QDBusConnection>
#include <memory>

#include "app/bus_inhibition.h"

namespace kelvorn {

// Its token is the cookie that UnInhibit gives back.
std::unique_ptr<BusInhibition> screenSaverInhibition(const QDBusConnection& session);
// Its token is a file descriptor: the lock lasts while it is open.
std::unique_ptr<BusInhibition> logindSleepLock(const QDBusConnection& system);
// Tells the desktop that someone is there: its screen saver ends and the screen wakes.
void simulateUserActivity(const QDBusConnection& session);

}  // namespace kelvorn
