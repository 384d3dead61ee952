// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarm/full_black_form.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>
#include <cmath>

#include "alarm/xor_line.h"
#include "platform/event_pump.h"
#include "platform/palette.h"
#include "platform/stage.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

// The screen's client area in twips; it is scaled uniformly to the window and centred.
constexpr double kAreaWidth = 12000;
constexpr double kAreaHeight = 9000;
// The pattern moves one step every 10 ms. No TV shows a hundred pictures a second, and
// every picture costs a repaint, a copy to the window system and a round trip to it, so
// the steps are shown four at a time, 25 pictures a second as on PAL television, at the
// same pace.
constexpr int kStepMs = 10;

QLabel* makeIndicator(QWidget* parent, const char* text, unsigned colour) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setAlignment(Qt::AlignCenter);
    setColours(label, colour, palette::kBlack, false);      // transparent over the drawing
    label->setAttribute(Qt::WA_TransparentForMouseEvents);  // a click reaches the screen
    label->hide();
    return label;
}

}  // namespace

FullBlackForm::FullBlackForm(QWidget* stage, Services& services) : Screen(stage, services) {
    setWindowTitle(QStringLiteral("kelvorn"));
    setColours(this, palette::kWhite, palette::kBlack, true);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the drawing covers every pixel it is asked for
    BlackBlack = makeIndicator(this, "BLACK", palette::kBlackIndicator);
    BlackSleep = makeIndicator(this, "SLEEP", palette::kSleepIndicator);
    BlackSnooze = makeIndicator(this, "SNOOZE", palette::kSnoozeIndicator);

    Timer1.setInterval(2000);
    Timer1.setSingleShot(true);
    Timer2.setInterval(kStepMs * kStepsPerPicture);
    connect(&Timer1, &QTimer::timeout, this, &FullBlackForm::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &FullBlackForm::Timer2_Timer);

    // The black screen covers the whole window, bars included, and follows its size.
    if (stage) stage->installEventFilter(this);
    fitToStage();
    hide();
}

void FullBlackForm::keyTyped(const std::string& key) {
    if (key == s.svc.KeyOk) {
        hideIndicators();
        if (Timer2.isActive()) Timer2.stop();
        else Timer2.start();
        s.pump.pass();
        ClearDrawing();
        return;
    }
    leave();
}

void FullBlackForm::leave() {
    hideIndicators();
    Timer2.stop();
    s.pump.pass();
    ClearDrawing();
    hideScreen();
    emit activationWanted();
}

void FullBlackForm::showBlack() {
    fitToStage();
    showScreen();
}

void FullBlackForm::hideBlack() { hideScreen(); }

void FullBlackForm::showIndicator(Indicator which) {
    // One word at a time: a second reason replaces the first.
    BlackBlack->setVisible(which == Indicator::Black);
    BlackSleep->setVisible(which == Indicator::Sleep);
    BlackSnooze->setVisible(which == Indicator::Snooze);
    Timer1.start();
}

void FullBlackForm::stopLines() { Timer2.stop(); }

void FullBlackForm::ClearDrawing() {
    drawing_.fill(Qt::black);
    pattern_.clearTrail();
    update();
}

void FullBlackForm::Timer1_Timer() {
    hideIndicators();
    Timer1.stop();
}

void FullBlackForm::Timer2_Timer() {
    // The step lets events run; a timeout queued meanwhile must not start another.
    if (inStep_) return;
    const QScopedValueRollback stepping(inStep_, true);
    QRegion changed;
    for (int i = 0; i < kStepsPerPicture; ++i) {
        const LineStep step = pattern_.step(widthTwips(), heightTwips(), s.random);
        changed += xorLine(drawing_, step.drawn, scale_);
        if (step.erased) changed += xorLine(drawing_, *step.erased, scale_);
    }
    update(changed);
    s.pump.pass();
}

int FullBlackForm::widthTwips() const { return static_cast<int>(std::lround(width() / scale_)); }

int FullBlackForm::heightTwips() const { return static_cast<int>(std::lround(height() / scale_)); }

void FullBlackForm::hideIndicators() {
    BlackBlack->hide();
    BlackSleep->hide();
    BlackSnooze->hide();
}

void FullBlackForm::fitToStage() {
    if (const QWidget* stage = parentWidget()) setGeometry(stage->rect());
    adoptSize();  // a hidden widget gets its resize event only when shown
}

void FullBlackForm::placeIndicators() {
    const double ox = (width() - kAreaWidth * scale_) / 2;
    const double oy = (height() - kAreaHeight * scale_) / 2;
    auto place = [&](QLabel* label, double left) {
        const int x = static_cast<int>(std::lround(ox + left * scale_));
        const int y = static_cast<int>(std::lround(oy + 3480 * scale_));
        label->setGeometry(x, y, static_cast<int>(std::lround(7695 * scale_)),
                           static_cast<int>(std::lround(1935 * scale_)));
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(84 * 20 * scale_))));
        font.setBold(false);
        label->setFont(font);
    };
    place(BlackBlack, 2160);
    place(BlackSleep, 2040);
    place(BlackSnooze, 2160);
}

bool FullBlackForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) fitToStage();
    return Screen::eventFilter(watched, event);
}

void FullBlackForm::resizeEvent(QResizeEvent* event) {
    Screen::resizeEvent(event);
    adoptSize();
}

void FullBlackForm::adoptSize() {
    const QSize imageSize = size().expandedTo(QSize(1, 1));
    if (!drawing_.isNull() && drawing_.size() == imageSize) return;
    if (width() > 0 && height() > 0) scale_ = std::min(width() / kAreaWidth, height() / kAreaHeight);
    placeIndicators();
    // A new size starts a fresh drawing; the trail is emptied with it so that it
    // stays true to what is on the screen.
    drawing_ = QImage(imageSize, QImage::Format_RGB32);
    drawing_.fill(Qt::black);
    pattern_.clearTrail();
    pattern_.fitInto(widthTwips(), heightTwips());
}

void FullBlackForm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (const QRect& box : event->region()) painter.drawImage(box, drawing_, box);
}

void FullBlackForm::mousePressEvent(QMouseEvent* event) {
    event->accept();
    leave();
}

void FullBlackForm::focusOutEvent(QFocusEvent* event) {
    Screen::focusOutEvent(event);
    // Another program took the keys while the screen is up: the window comes back.
    if (event->reason() == Qt::ActiveWindowFocusReason && isVisible()) emit activationWanted();
}

}  // namespace kelvorn
