// SPDX-License-Identifier: GPL-3.0-or-later
// The update screen: title, found and sort counters, and a blinking indicator.
#include "library/update_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "platform/debug_log.h"
#include "platform/palette.h"
#include "platform/stage.h"

namespace kelvorn {

namespace {
constexpr double kWidth = 12000;
constexpr double kHeight = 6630;
constexpr unsigned kBackground = palette::kNormalBack;
constexpr unsigned kRed = palette::kErrorText;
constexpr unsigned kWhite = palette::kWhite;
constexpr unsigned kOrange = palette::kHighlightBack;
// The indicator: three concentric squares around one centre.
constexpr double kSquareCentreX = 11370;
constexpr double kSquareCentreY = 630;
constexpr double kSquareSides[] = {630, 360, 90};
// Border width 5 in pixels of the 15-twip grid.
constexpr double kBorderTwips = 5 * 15;
}  // namespace

UpdateForm::UpdateForm(QWidget* parent, const TwipScale& twips) : QWidget(parent), twips_(twips) {
    setWindowTitle(QStringLiteral("kelvorn"));
    setColours(this, kWhite, kBackground, true);
    resize(twips_.px(kWidth), twips_.px(kHeight));

    addLabel(QStringLiteral("UPDATE RUNNING"), 36, palette::kShadow, 2280, 450);  // Label1, shadow
    addLabel(QStringLiteral("UPDATE RUNNING"), 36, kRed, 2220, 495);              // Label2
    addLabel(QStringLiteral("FOUND:"), 24, kOrange, 2400, 3360);                  // Label3
    UpdateFound = addLabel(QStringLiteral("0"), 24, kWhite, 5040, 3360);
    addLabel(QStringLiteral("SORT:"), 24, kOrange, 2400, 4320);  // Label4
    UpdateSort = addLabel(QStringLiteral("0"), 24, kWhite, 5040, 4320);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    // For the benchmark: the longest time the event loop did not run during a scan.
    stallTimer_ = new QTimer(this);
    stallTimer_->setInterval(1);
    connect(stallTimer_, &QTimer::timeout, this,
            [this] { longestStallMs_ = std::max(longestStallMs_, sinceTick_.restart()); });
    hide();
}

QLabel* UpdateForm::addLabel(const QString& text, double points, unsigned colour, int left, int top) {
    auto* label = new QLabel(text, this);
    // Bold, so that a stand-in for the heavy face still looks heavy.
    label->setFont(twips_.font(QStringLiteral("Arial Black"), points, true));
    setColours(label, colour, kBackground, false);
    label->move(twips_.px(left), twips_.px(top));
    label->adjustSize();
    return label;
}

void UpdateForm::scanStarted() {
    UpdateFound->setText(QStringLiteral("0"));
    UpdateFound->adjustSize();
    UpdateSort->setText(QStringLiteral("0"));
    UpdateSort->adjustSize();
    // Centred on the stage, then 420 twips up: the same place at every showing.
    if (QWidget* p = parentWidget()) {
        const QRect area = p->rect();
        move(area.center().x() - width() / 2, area.center().y() - height() / 2 - twips_.px(420));
    }
    show();
    raise();
    Timer1->start();
    if (debugEnabled()) {
        longestStallMs_ = 0;
        sinceTick_.start();
        stallTimer_->start();
    }
}

void UpdateForm::showFound(int value) {
    UpdateFound->setText(QString::number(value));
    UpdateFound->adjustSize();
}

void UpdateForm::showSort(int value) {
    UpdateSort->setText(QString::number(value));
    UpdateSort->adjustSize();
}

void UpdateForm::scanFinished() {
    Timer1->stop();
    if (stallTimer_->isActive()) {
        stallTimer_->stop();
        debugEvent("stall", std::to_string(longestStallMs_));
    }
    hide();
}

void UpdateForm::Timer1_Timer() {
    swapped_ = !swapped_;
    update();
}

void UpdateForm::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    const QColor fill = rgb(swapped_ ? kRed : kWhite);
    const QColor border = rgb(swapped_ ? kWhite : kRed);
    const int borderPx = std::max(1, twips_.px(kBorderTwips));
    for (double side : kSquareSides) {
        const QRect outer = twips_.rect(kSquareCentreX - side / 2, kSquareCentreY - side / 2, side, side);
        painter.fillRect(outer, border);
        // The border lies inside the square; a small square may be all border.
        const QRect inner = outer.adjusted(borderPx, borderPx, -borderPx, -borderPx);
        if (inner.isValid()) painter.fillRect(inner, fill);
    }
}

void UpdateForm::keyPressEvent(QKeyEvent* event) { event->accept(); }

void UpdateForm::mousePressEvent(QMouseEvent* event) { event->accept(); }

}  // namespace kelvorn
