// SPDX-License-Identifier: GPL-3.0-or-later
// The character a key press stands for, on every screen.
#pragma once
#include <string>

class QKeyEvent;
class QString;

namespace kelvorn {

struct KelvornSERVICE;

// Arrow up/down without Shift, Ctrl or Alt become the first character of KeyUp/KeyDown;
// any other key gives the character it typed (one byte for codes up to 255, UTF-8 above),
// or "" when it typed none.
std::string typedKey(int qtKey, unsigned modifiers, const std::string& text, const KelvornSERVICE& svc);
std::string typedKey(const QKeyEvent* event, const KelvornSERVICE& svc);
// The key's bytes as the key settings hold them: one byte for codes up to 255, UTF-8 above.
std::string keyBytes(const QString& text);

}  // namespace kelvorn
