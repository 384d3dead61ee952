// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bus_inhibition.h"

#include <QDBusError>
#include <utility>

#include "platform/debug_log.h"

namespace kelvorn {

BusInhibition::BusInhibition(const QDBusConnection& bus, Request request, GiveBack giveBack)
    : bus_(bus), request_(std::move(request)), giveBack_(std::move(giveBack)) {}

void BusInhibition::want(const std::optional<QString>& reason) {
    wanted_ = reason;
    settle();
}

void BusInhibition::release() {
    wanted_.reset();
    answered_.reset();
    if (token_.isValid()) giveBack_(std::exchange(token_, {}), true);
}

// One request at a time: a change while one is on its way is dealt with on its answer.
// A refusal is not asked again until the reason changes.
void BusInhibition::settle() {
    if (asking_ || answered_ == wanted_) return;
    if (token_.isValid()) giveBack_(std::exchange(token_, {}), false);
    answered_.reset();
    if (!wanted_) return;
    asking_ = wanted_;
    if (!bus_.callWithCallback(request_(*wanted_), this, SLOT(granted(QDBusMessage)), SLOT(refused(QDBusError))))
        refused(bus_.lastError());  // no bus
}

void BusInhibition::granted(const QDBusMessage& reply) { answered(reply.arguments().value(0)); }

void BusInhibition::refused(const QDBusError& error) {
    qCDebug(lcEvents) << "inhibit" << error.name() << error.message();
    answered({});
}

void BusInhibition::answered(QVariant token) {
    answered_ = std::exchange(asking_, std::nullopt);
    token_ = std::move(token);
    settle();
}

}  // namespace kelvorn
