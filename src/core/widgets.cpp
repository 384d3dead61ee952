// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/stage.h"

namespace kelvorn {

void styleLabel(QLabel* label, const TwipScale& twips, const LabelLook& look) {
    label->setTextFormat(Qt::PlainText);
    label->setFont(twips.font(look.family, look.points, look.bold));
    label->setAlignment(look.align);
    setColours(label, look.text, look.back, look.opaque);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();  // never falls through to the screen beneath
    if (event->button() == Qt::LeftButton) emit clicked();
    else if (event->button() == Qt::RightButton) emit rightClicked();
}

LineShape::LineShape(QWidget* parent, unsigned colour, int border) : QWidget(parent), colour_(colour), border_(border) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineShape::setColour(unsigned colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

void LineShape::setFill(unsigned fill) {
    filled_ = true;
    fill_ = fill;
    update();
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (border_ <= 0) {
        p.fillRect(rect(), rgb(colour_));
        return;
    }
    if (filled_) p.fillRect(rect(), rgb(fill_));
    const int b = border_;
    p.fillRect(0, 0, width(), b, rgb(colour_));
    p.fillRect(0, height() - b, width(), b, rgb(colour_));
    p.fillRect(0, 0, b, height(), rgb(colour_));
    p.fillRect(width() - b, 0, b, height(), rgb(colour_));
}

namespace {

void paintTwinTriangles(QWidget* w, unsigned colour, bool pointRight) {
    QPainter p(w);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(colour));
    const double h = w->height() * 0.6, tw = h * 0.8;
    const double top = (w->height() - h) / 2, left = (w->width() - 2 * tw) / 2;
    for (int i = 0; i < 2; ++i) {
        const double x = left + i * tw;
        const double tip = pointRight ? x + tw : x, base = pointRight ? x : x + tw;
        const QPointF tri[3] = {{tip, top + h / 2}, {base, top}, {base, top + h}};
        p.drawPolygon(tri, 3);
    }
}

void paintCross(QWidget* w, unsigned colour) {
    QPainter p(w);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(w->width(), w->height());
    const QRectF box((w->width() - side) / 2.0, (w->height() - side) / 2.0, side, side);
    const QRectF inner = box.adjusted(side * 0.2, side * 0.2, -side * 0.2, -side * 0.2);
    p.setPen(QPen(rgb(colour), qMax(2.0, side * 0.16), Qt::SolidLine, Qt::SquareCap));
    p.drawLine(inner.topLeft(), inner.bottomRight());
    p.drawLine(inner.topRight(), inner.bottomLeft());
}

}  // namespace

Mark::Mark(QWidget* parent, Shape shape, unsigned colour) : QWidget(parent), shape_(shape), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Mark::paintEvent(QPaintEvent*) {
    if (shape_ == Shape::Cross) paintCross(this, colour_);
    else paintTwinTriangles(this, colour_, shape_ == Shape::Forward);
}

}  // namespace kelvorn
