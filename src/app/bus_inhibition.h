// SPDX-License-Identifier: GPL-3.0-or-later
// One inhibition taken from a D-Bus service, for one reason at a time. It is asked for
// without waiting for the answer; a new reason gives the old inhibition back before the
// next is asked for, so the service never holds two of ours.
#pragma once
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace kelvorn {

class BusInhibition : public QObject {
    Q_OBJECT
public:
    // The call that asks for an inhibition for `reason`.
    using Request = std::function<QDBusMessage(const QString& reason)>;
    // Gives back what the service answered with (its reply's first argument). With
    // `atExit` the process ends right after: the call must have gone out on return.
    using GiveBack = std::function<void(const QVariant& token, bool atExit)>;

    BusInhibition(const QDBusConnection& bus, Request request, GiveBack giveBack);

    // The reason wanted now; nothing gives back what is held.
    void want(const std::optional<QString>& reason);
    // Gives back what is held at once; an answer still on its way is given back when it
    // comes.
    void release();
    // A request waits for its answer.
    bool asking() const { return asking_.has_value(); }

private slots:
    // The reply is delivered here and dropped on return, so the token is the only copy
    // of what the service handed out.
    void granted(const QDBusMessage& reply);
    void refused(const QDBusError& error);

private:
    void settle();
    void answered(QVariant token);

    QDBusConnection bus_;
    Request request_;
    GiveBack giveBack_;
    std::optional<QString> wanted_;
    std::optional<QString> asking_;    // the reason of the request on its way
    std::optional<QString> answered_;  // the reason the service last answered for
    QVariant token_;                   // its answer; invalid after a refusal
};

}  // namespace kelvorn
