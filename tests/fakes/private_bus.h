// SPDX-License-Identifier: GPL-3.0-or-later
// A dbus-daemon of the test's own, ended with the object, and connections to it.
#pragma once
#include <QDBusConnection>
#include <QProcess>
#include <QStringList>

#include "fakes/wait_for.h"

namespace kelvorn {

struct PrivateBus {
    QProcess daemon;
    QString address;
    QStringList names;  // the connections made

    // False when no dbus-daemon could be started.
    bool start() {
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon.waitForStarted(3000) || !waitFor([&] { return daemon.canReadLine(); }, 3000)) return false;
        address = QString::fromUtf8(daemon.readLine().trimmed());
        return true;
    }
    // A connection of its own, as another program has.
    QDBusConnection connect(const QString& name) {
        names << name;
        return QDBusConnection::connectToBus(address, name);
    }
    ~PrivateBus() {
        for (const QString& name : names) QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished(2000);
    }
};

}  // namespace kelvorn
