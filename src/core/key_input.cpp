// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/key_input.h"

#include <QKeyEvent>

#include "state/kelvorn_service.h"

namespace kelvorn {

std::string typedKey(int qtKey, unsigned modifiers, const std::string& text, const KelvornSERVICE& svc) {
    const unsigned held = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (qtKey == Qt::Key_Up || qtKey == Qt::Key_Down) {
        if (modifiers & held) return {};
        const std::string& key = qtKey == Qt::Key_Up ? svc.KeyUp : svc.KeyDown;
        return key.substr(0, 1);
    }
    return text;
}

std::string keyBytes(const QString& text) {
    if (text.size() == 1 && text.at(0).unicode() <= 0xFF)
        return std::string(1, static_cast<char>(text.at(0).unicode()));
    return text.toStdString();
}

std::string typedKey(const QKeyEvent* event, const KelvornSERVICE& svc) {
    return typedKey(event->key(), static_cast<unsigned>(event->modifiers()), keyBytes(event->text()), svc);
}

}  // namespace kelvorn
