// SPDX-License-Identifier: GPL-3.0-or-later
// The frame every menu screen shares: the title below, the "<<" back button with the
// mark beside it in a small frame, and the four white lines around the menu.
#pragma once
#include <QString>
#include <QtGlobal>

class QLabel;
class QWidget;

namespace kelvorn {

class ClickLabel;
class LineShape;
class EventPump;
class TwipScale;

// Where a screen puts its frame, in twips.
struct FrameLayout {
    QString title;
    double titleLeft, titleTop;  // MainLabel: 8295 x 615
    double backLeft, backTop;    // MainBack: 1215 x 495
    double markLeft, markTop;    // MainOff: 735 x 495; Shape1 around it
    double lineLeft, lineRight;  // Line1/Line2 from lineLeft to lineRight
    double lineTop, lineBottom;  // Line3 from lineTop to lineBottom at lineLeft
    double connectorY;           // Line4 from x 840 to lineLeft
    bool crossMark = false;      // the main screen's cross; menus show a "<<" mark
};

// Holds widgets its screen owns: not copyable.
class MenuFrame {
public:
    MenuFrame(QWidget* screen, const TwipScale& twips, const FrameLayout& layout);
    Q_DISABLE_COPY_MOVE(MenuFrame)

    // The build-up every menu shares: the title grows from 1 to 26 points (delay 300 each),
    // then the mark, the connector with "<<", the left line, the top and bottom lines,
    // each group followed by delay 10000.
    void fadeIn(EventPump& pump, double gfxSpeed);
    // The same build-up without the closing delay, for screens that show more
    // elements together with the top and bottom lines.
    void fadeInUpToLines(EventPump& pump, double gfxSpeed);
    // The title's font size in points (26 when built up).
    void setTitleSize(int points);
    // Hides the frame elements, lines first, title last.
    void hide();
    void hideLines();
    void hideBackAndMark();

    QLabel* MainLabel;
    ClickLabel* MainBack;
    QWidget* MainOff;
    LineShape* Shape1;
    LineShape* Line1;
    LineShape* Line2;
    LineShape* Line3;
    LineShape* Line4;

private:
    const TwipScale& twips_;
};

}  // namespace kelvorn
