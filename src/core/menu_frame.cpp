// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/menu_frame.h"

#include <QLabel>

#include "core/widgets.h"
#include "platform/event_pump.h"
#include "platform/palette.h"
#include "platform/stage.h"

namespace kelvorn {

namespace {
constexpr unsigned kBackground = palette::kBackground;
}  // namespace

MenuFrame::MenuFrame(QWidget* screen, const TwipScale& twips, const FrameLayout& l) : twips_(twips) {
    MainLabel = new QLabel(l.title, screen);
    setColours(MainLabel, palette::kBlack, kBackground, false);
    MainLabel->setAlignment(Qt::AlignCenter);
    MainLabel->setGeometry(twips.rect(l.titleLeft, l.titleTop, 8295, 615));
    setTitleSize(26);

    MainBack = new ClickLabel("<<", screen);
    MainBack->setFont(twips.font("Arial", 24, true));
    setColours(MainBack, palette::kHighlightText, kBackground, false);
    MainBack->setAlignment(Qt::AlignCenter);
    MainBack->setGeometry(twips.rect(l.backLeft, l.backTop, 1215, 495));

    MainOff = new Mark(screen, l.crossMark ? Mark::Shape::Cross : Mark::Shape::Rewind, palette::kMark);
    MainOff->setGeometry(twips.rect(l.markLeft, l.markTop, 735, 495));
    Shape1 = new LineShape(screen, palette::kWhite, qMax(1, twips.px(kThinTwips)));
    Shape1->setGeometry(twips.rect(l.markLeft - 240, l.markTop - 120, 975, 735));

    const double width = l.lineRight - l.lineLeft;
    Line1 = new LineShape(screen, palette::kWhite);
    Line1->setGeometry(twips.rect(l.lineLeft, l.lineTop, width, kThinTwips));
    Line2 = new LineShape(screen, palette::kWhite);
    Line2->setGeometry(twips.rect(l.lineLeft, l.lineBottom, width, kThinTwips));
    Line3 = new LineShape(screen, palette::kWhite);
    Line3->setGeometry(twips.rect(l.lineLeft, l.lineTop, kThinTwips, l.lineBottom - l.lineTop));
    Line4 = new LineShape(screen, palette::kWhite);
    Line4->setGeometry(twips.rect(840, l.connectorY, l.lineLeft - 840, kThinTwips));
}

void MenuFrame::setTitleSize(int points) { MainLabel->setFont(twips_.font("Arial", points, true)); }

void MenuFrame::fadeIn(EventPump& pump, double gfx) {
    fadeInUpToLines(pump, gfx);
    delayK(pump, 10000, gfx);
}

void MenuFrame::fadeInUpToLines(EventPump& pump, double gfx) {
    setTitleSize(1);
    MainLabel->show();
    for (int size = 1; size <= 26; ++size) {
        setTitleSize(size);
        delayK(pump, 300, gfx);
    }
    Shape1->show();
    MainOff->show();
    delayK(pump, 10000, gfx);
    Line4->show();
    MainBack->show();
    delayK(pump, 10000, gfx);
    Line3->show();
    delayK(pump, 10000, gfx);
    Line2->show();
    Line1->show();
}

void MenuFrame::hideLines() {
    Line1->hide();
    Line2->hide();
    Line3->hide();
    Line4->hide();
}

void MenuFrame::hideBackAndMark() {
    MainBack->hide();
    Shape1->hide();
    MainOff->hide();
    MainLabel->hide();
}

void MenuFrame::hide() {
    hideLines();
    hideBackAndMark();
}

}  // namespace kelvorn
