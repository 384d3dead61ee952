// SPDX-License-Identifier: GPL-3.0-or-later
// The full-screen stage and the twip geometry of the screens placed on it.
#include "platform/stage.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/palette.h"

namespace kelvorn {

TwipScale::TwipScale(int widthPx, int heightPx) {
    if (widthPx <= 0 || heightPx <= 0) return;  // keep the default 810 x 610
    scale_ = std::min(widthPx / kDesignWidth, heightPx / kDesignHeight);
    const int w = px(kDesignWidth);
    const int h = px(kDesignHeight);
    mainArea_ = QRect((widthPx - w) / 2, (heightPx - h) / 2, w, h);
}

int TwipScale::px(double twips) const { return qRound(twips * scale_); }

QRect TwipScale::rect(double left, double top, double width, double height) const {
    // Edges are rounded, not sizes, so that touching controls stay touching.
    const int x = px(left);
    const int y = px(top);
    return QRect(x, y, px(left + width) - x, px(top + height) - y);
}

QFont TwipScale::font(const QString& family, double points, bool bold) const {
    QFont f(family);
    f.setPixelSize(std::max(1, qRound(points * 20 * scale_)));
    f.setBold(bold);
    return f;
}

Stage::Stage(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("kelvorn"));
    setColours(this, palette::kWhite, palette::kBlack, true);
    QSize size(810, 610);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize screenSize = screen->geometry().size();
        if (!screenSize.isEmpty()) size = screenSize;
    }
    twips_ = TwipScale(size.width(), size.height());
    resize(size);  // children are placed for this size before the first show
}

void Stage::showStage() { showFullScreen(); }

void Stage::activate() {
    // Called every 1.2 s: a window already in front with the keys is left alone, so the
    // idle jukebox does not ask the window system for a restack each time.
    if (isActiveWindow() && QGuiApplication::focusWindow() == windowHandle()) return;
    raise();
    activateWindow();
}

QColor rgb(unsigned value) { return QColor((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff); }

void setColours(QWidget* w, unsigned text, unsigned background, bool opaque) {
    if (!w) return;
    QPalette p = w->palette();
    const QColor fg = rgb(text);
    const QColor bg = rgb(background);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) p.setColor(role, fg);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) p.setColor(role, bg);
    w->setPalette(p);
    w->setAutoFillBackground(opaque);
}

}  // namespace kelvorn
