#include "core/widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/stage.h"

namespace kelvorn {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();  // never falls through to the screen beneath
    if (event->button() == Qt::LeftButton) emit clicked();
    else if (event->button() == Qt::RightButton) emit rightClicked();
}

LineShape::LineShape(QWidget* parent, unsigned colour, int border)
    : QWidget(parent), colour_(colour), border_(border) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (border_ <= 0) {
        p.fillRect(rect(), rgb(colour_));
        return;
    }
    const int b = border_;
    p.fillRect(0, 0, width(), b, rgb(colour_));
    p.fillRect(0, height() - b, width(), b, rgb(colour_));
    p.fillRect(0, 0, b, height(), rgb(colour_));
    p.fillRect(width() - b, 0, b, height(), rgb(colour_));
}

CrossMark::CrossMark(QWidget* parent, unsigned colour) : QWidget(parent), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CrossMark::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height());
    const QRectF box((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    const QRectF inner = box.adjusted(side * 0.2, side * 0.2, -side * 0.2, -side * 0.2);
    p.setPen(QPen(rgb(colour_), qMax(2.0, side * 0.16), Qt::SolidLine, Qt::SquareCap));
    p.drawLine(inner.topLeft(), inner.bottomRight());
    p.drawLine(inner.topRight(), inner.bottomLeft());
}

RewindMark::RewindMark(QWidget* parent, unsigned colour) : QWidget(parent), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RewindMark::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(colour_));
    const double h = height() * 0.6, w = h * 0.8;
    const double top = (height() - h) / 2, left = (width() - 2 * w) / 2;
    for (int i = 0; i < 2; ++i) {
        const double x = left + i * w;
        const QPointF tri[3] = {{x, top + h / 2}, {x + w, top}, {x + w, top + h}};
        p.drawPolygon(tri, 3);
    }
}

}  // namespace kelvorn
