// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transitions.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>

#include "core/menu_screen.h"
#include "platform/event_pump.h"
#include "platform/palette.h"
#include "platform/stage.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {
constexpr double kStripWidth = 12000;
constexpr double kStripHeight = 90;
constexpr double kWipeEnd = 6500;
constexpr double kMenuOffset = 960;
}  // namespace

BlackOut::BlackOut(QWidget* stage, const TwipScale& twips) : QWidget(stage), twips_(twips) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Centred on the stage, like every window of the program when it is first shown.
    const double px = twips.pxPerTwip();
    const double stageW = stage ? stage->width() / px : TwipScale::kDesignWidth;
    const double stageH = stage ? stage->height() / px : TwipScale::kDesignHeight;
    left_ = (stageW - kStripWidth) / 2;
    startTop_ = (stageH - kStripHeight) / 2;
    resetStrip();
    hide();
}

void BlackOut::setTwips(double top, double height) {
    top_ = top;
    height_ = height;
    setGeometry(twips_.rect(left_, top_, kStripWidth, height_));
}

void BlackOut::resetStrip() { setTwips(startTop_, kStripHeight); }

void BlackOut::mousePressEvent(QMouseEvent* event) { event->accept(); }

void BlackOut::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), rgb(palette::kBackground)); }

Transitions::Transitions(QWidget* stage, Services& services, MenuScreen& main)
    : stage_(stage), s_(services), main_(main) {}

BlackOut& Transitions::blackOut() {
    if (!blackOut_) blackOut_ = new BlackOut(stage_, s_.twips);
    return *blackOut_;
}

int Transitions::wipeSteps(double gfxSpeed) {
    const double step = 80 * gfxSpeed;
    if (!(step > 0)) return 0;
    // h = 90, 90 + step, ... up to 6500, counted in closed form: a sum would stop
    // growing for a tiny step and never reach the end.
    const double steps = std::floor((kWipeEnd - kStripHeight) / step + 1e-9) + 1;
    return steps < 100000 ? static_cast<int>(steps) : 100000;
}

void Transitions::wipe() {
    BlackOut& strip = blackOut();
    const double gfx = s_.svc.GFXSpeed;
    strip.show();
    strip.raise();
    s_.pump.pass();
    const int steps = wipeSteps(gfx);
    double top = strip.topTwips();
    for (int i = 0; i < steps; ++i) {
        top -= 44 * gfx;
        strip.setTwips(top, kStripHeight + i * 80 * gfx);
        s_.pump.pass();
        s_.pump.frame();
    }
    s_.pump.pass();
}

void Transitions::overlayReset() {
    BlackOut& strip = blackOut();
    strip.hide();
    // Back to where the wipe started, whatever it did, so every wipe starts the same.
    strip.resetStrip();
}

void Transitions::placeMenuScreen(QWidget& screen) const {
    const QRect main = main_.geometry();
    screen.setGeometry(main.x(), main.y() + s_.twips.px(kMenuOffset), main.width(), s_.twips.px(6495));
}

void Transitions::open(MenuScreen& from, MenuScreen& to, const std::function<void()>& between) {
    wipe();
    to.FadeOut();
    placeMenuScreen(to);
    to.showScreen();
    overlayReset();
    from.FadeOut();
    if (between) between();
    if (&from != &main_) from.hide();
    to.FadeIn();
}

void Transitions::backToMain(MenuScreen& from) {
    // A second back key during the wipe would run a second transition inside the first.
    // Other screens opened meanwhile still close as usual.
    if (closing(from)) return;
    closing_.push_back(&from);
    const auto done = qScopeGuard([&] { closing_.erase(std::find(closing_.begin(), closing_.end(), &from)); });
    wipe();
    overlayReset();
    main_.FadeOut();
    from.FadeOut();
    from.hideScreen();
    main_.FadeIn();
}

}  // namespace kelvorn
