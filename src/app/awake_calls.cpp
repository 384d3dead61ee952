// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/awake_calls.h"

#include <QDBusMessage>
#include <chrono>

namespace kelvorn {

namespace {

const QString kApplication = QStringLiteral("Kelvorn");
// At the exit the process waits this long at most for the desktop to take its cookie back.
constexpr std::chrono::milliseconds kExitWait{200};

QDBusMessage screenSaverCall(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

}  // namespace

std::unique_ptr<BusInhibition> screenSaverInhibition(const QDBusConnection& session) {
    auto request = [](const QString& reason) {
        QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
        call << kApplication << reason;
        return call;
    };
    auto giveBack = [session](const QVariant& cookie, bool atExit) {
        QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
        call << cookie.toUInt();
        if (atExit) session.call(call, QDBus::Block, static_cast<int>(kExitWait.count()));
        else session.send(call);
    };
    return std::make_unique<BusInhibition>(session, request, giveBack);
}

std::unique_ptr<BusInhibition> logindSleepLock(const QDBusConnection& system) {
    auto request = [](const QString& reason) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
        call << QStringLiteral("sleep") << kApplication << reason << QStringLiteral("block");
        return call;
    };
    // The token is the only copy of the lock's descriptor: dropping it closes it.
    return std::make_unique<BusInhibition>(system, request, [](const QVariant&, bool) {});
}

void simulateUserActivity(const QDBusConnection& session) {
    session.send(screenSaverCall(QStringLiteral("SimulateUserActivity")));
}

}  // namespace kelvorn
