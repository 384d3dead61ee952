// A key text typed into the program as if it came from the keyboard.
#pragma once

class QString;

namespace kelvorn {

// Sends a key press with `text`, then its release, to the widget with the focus (the
// active window when no widget has it); nothing without either or with an empty text.
// Digits and letters carry their Qt key code, any other text Qt::Key_unknown.
void typeKey(const QString& text);

}  // namespace kelvorn
