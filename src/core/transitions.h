// SPDX-License-Identifier: GPL-3.0-or-later
// The screen changes: the wipe of the BlackOut overlay and the open and back
// sequences around the screens' FadeOut and FadeIn.
#pragma once
#include <QWidget>
#include <algorithm>
#include <functional>
#include <vector>

#include "core/services.h"

namespace kelvorn {

class MenuScreen;

// The overlay of the wipe: a strip in the screens' background colour, 12000 x 90 twips,
// centred on the stage.
class BlackOut : public QWidget {
    Q_OBJECT
public:
    BlackOut(QWidget* stage, const TwipScale& twips);

    // Height and top in twips, as the wipe changes them.
    double heightTwips() const { return height_; }
    double topTwips() const { return top_; }
    void setTwips(double top, double height);
    // The starting strip: centred, 90 twips high.
    void resetStrip();
    double startTop() const { return startTop_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    const TwipScale& twips_;
    double startTop_ = 0;
    double left_ = 0;
    double top_ = 0;
    double height_ = 90;
};

class Transitions {
public:
    Transitions(QWidget* stage, Services& services, MenuScreen& main);

    // Shows the strip and grows it from 90 up to 6500 twips high in steps of 80 x
    // GFXSpeed, raising its top by 44 x GFXSpeed per step; one pass per step.
    void wipe();
    // Hides the strip and puts it back to its starting place and height.
    void overlayReset();

    // From `from` (the main screen or the lists menu) to `to`: wipe, to.FadeOut, show
    // `to` in the menu place, reset, from.FadeOut, `between` (list screens fill their
    // lines), `from` hidden unless it is the main screen, to.FadeIn.
    void open(MenuScreen& from, MenuScreen& to, const std::function<void()>& between = {});
    // From `from` back to the main screen: wipe, reset, main.FadeOut, from.FadeOut,
    // `from` hidden, main.FadeIn. Ignored while a back transition runs.
    void backToMain(MenuScreen& from);
    // A back transition from `screen` runs: its back key does nothing meanwhile.
    bool closing(const MenuScreen& screen) const {
        return std::find(closing_.begin(), closing_.end(), &screen) != closing_.end();
    }

    // Puts a menu or list screen in its place: 960 twips below the main screen's top.
    void placeMenuScreen(QWidget& screen) const;

    BlackOut& blackOut();
    MenuScreen& mainScreen() { return main_; }

    // Number of steps the wipe makes at a given speed (none when the speed is negative).
    static int wipeSteps(double gfxSpeed);

private:
    QWidget* stage_;
    Services& s_;
    MenuScreen& main_;
    BlackOut* blackOut_ = nullptr;            // created on first use, kept
    std::vector<const MenuScreen*> closing_;  // screens whose back transition runs
};

}  // namespace kelvorn
