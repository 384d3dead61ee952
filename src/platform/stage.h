// SPDX-License-Identifier: GPL-3.0-or-later
// The one full-screen window ("kelvorn") and the twip geometry of its screens.
#pragma once
#include <QFont>
#include <QRect>
#include <QWidget>

namespace kelvorn {

// The main screen is laid out on 12150 x 9150 twips; it is scaled uniformly to fill
// the display, centred, with black bars where the aspect differs.
class TwipScale {
public:
    static constexpr double kDesignWidth = 12150;
    static constexpr double kDesignHeight = 9150;

    TwipScale() = default;
    TwipScale(int widthPx, int heightPx);

    double pxPerTwip() const { return scale_; }
    int px(double twips) const;
    QRect rect(double left, double top, double width, double height) const;
    // The main screen's area inside the stage.
    QRect mainArea() const { return mainArea_; }
    // A font of a layout point size (20 twips to the point), scaled.
    QFont font(const QString& family, double points, bool bold = false) const;

private:
    double scale_ = 1.0 / 15.0;
    QRect mainArea_{0, 0, 810, 610};
};

class Stage : public QWidget {
    Q_OBJECT
public:
    explicit Stage(QWidget* parent = nullptr);
    const TwipScale& twips() const { return twips_; }
    // Shows the stage full screen.
    void showStage();
    // Raises the window and gives it the keys (other parts bring "kelvorn" to the front this way).
    void activate();

private:
    TwipScale twips_;
};

// Colours are given as 0xRRGGBB.
QColor rgb(unsigned value);
// Sets a widget's text and background colours (background painted when opaque).
void setColours(QWidget* w, unsigned text, unsigned background, bool opaque);

}  // namespace kelvorn
