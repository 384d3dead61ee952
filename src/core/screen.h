// SPDX-License-Identifier: GPL-3.0-or-later
// Base of every full-screen form: takes every key and click it receives, and hands
// the keys back to the screen beneath when it hides.
#pragma once
#include <QWidget>
#include <string>

#include "core/services.h"

namespace kelvorn {

class Screen : public QWidget {
    Q_OBJECT
public:
    Screen(QWidget* stage, Services& services);

    // Shows the screen in front and gives it the keys.
    void showScreen();
    // Hides it; the keys go to the top-most visible screen beneath.
    void hideScreen();

    // A key from any source (the keyboard, a remote): dropped while an archive scan runs,
    // else handed to keyTyped.
    void takeKey(const std::string& key);

    // The typed character (arrow keys already turned into KeyUp/KeyDown).
    virtual void keyTyped(const std::string& key) = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

    Services& s;
};

// The screen in front on the stage (the last one shown that is not hidden), if any.
Screen* frontScreen(QWidget* stage);

}  // namespace kelvorn
