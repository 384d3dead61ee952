// Small widgets the screens are built from: clickable labels, lines and frames, marks.
#pragma once
#include <QLabel>

namespace kelvorn {

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

// The "off" mark: a bold cross drawn as two strokes.
class CrossMark : public QWidget {
    Q_OBJECT
public:
    CrossMark(QWidget* parent, unsigned colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    unsigned colour_;
};

// The "<<"-like mark of the menu screens: two triangles pointing left.
class RewindMark : public QWidget {
    Q_OBJECT
public:
    RewindMark(QWidget* parent, unsigned colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    unsigned colour_;
};

// The ">>"-like mark: the rewind mark mirrored, two triangles pointing right.
class ForwardMark : public QWidget {
    Q_OBJECT
public:
    ForwardMark(QWidget* parent, unsigned colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    unsigned colour_;
};

}  // namespace kelvorn
