// SPDX-License-Identifier: GPL-3.0-or-later
// Small widgets the screens are built from: clickable labels, lines and frames, marks.
#pragma once
#include <QLabel>

#include "platform/palette.h"

namespace kelvorn {

class TwipScale;

// A line one pixel of the 15-twip grid wide.
constexpr double kThinTwips = 15;

// How a label looks: font, size in points, colours (0xRRGGBB) and alignment.
struct LabelLook {
    const char* family = "Arial";
    double points = 24;
    bool bold = true;
    unsigned text = palette::kBlack;
    unsigned back = palette::kBackground;
    bool opaque = false;
    Qt::Alignment align = Qt::AlignCenter;
};

// Gives `label` its look; its text is plain text, never read as markup (song names).
void styleLabel(QLabel* label, const TwipScale& twips, const LabelLook& look);

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();
    void rightClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// A filled rectangle: the frame lines and frame shapes of the screens.
class LineShape : public QWidget {
    Q_OBJECT
public:
    // `border` > 0 draws only a frame of that width; 0 fills the whole rectangle.
    LineShape(QWidget* parent, unsigned colour, int border = 0);

    // The line (or frame) colour; frames that mark a selection change it.
    void setColour(unsigned colour);
    unsigned colour() const { return colour_; }
    // Fills the inside of a frame with a second colour (a box with a border).
    void setFill(unsigned fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    unsigned colour_;
    int border_;
    bool filled_ = false;
    unsigned fill_ = 0;
};

// The symbol marks beside the menus, drawn as shapes: the main screen's "off" cross,
// the "<<"-like mark (two triangles pointing left) and the ">>"-like one.
class Mark : public QWidget {
    Q_OBJECT
public:
    enum class Shape { Cross, Rewind, Forward };
    Mark(QWidget* parent, Shape shape, unsigned colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Shape shape_;
    unsigned colour_;
};

}  // namespace kelvorn
