// SPDX-License-Identifier: GPL-3.0-or-later
// FullBlackForm: the black screen over the whole window, with the BLACK / SLEEP /
// SNOOZE indicators and the bouncing-lines animation switched by the select key.
#pragma once
#include <QImage>
#include <QTimer>

#include "alarm/line_trail.h"
#include "core/black_screen.h"
#include "core/screen.h"

class QLabel;

namespace kelvorn {

class FullBlackForm : public Screen, public BlackScreen {
    Q_OBJECT
public:
    FullBlackForm(QWidget* stage, Services& services);

    void keyTyped(const std::string& key) override;

    void showBlack() override;
    void hideBlack() override;
    void showIndicator(Indicator which) override;
    void stopLines() override;
    void ClearDrawing() override;

    // Hides the indicators, once (2 s after an indicator was shown).
    void Timer1_Timer();
    // One picture of the animation, every 40 ms while it runs: kStepsPerPicture steps of
    // the pattern, which moves at one step per 10 ms.
    void Timer2_Timer();
    static constexpr int kStepsPerPicture = 4;

    bool animating() const { return Timer2.isActive(); }
    const LinePattern& pattern() const { return pattern_; }
    // The retained drawing, one pixel per window pixel.
    const QImage& drawing() const { return drawing_; }
    // The window's size in twips, the bounds of the end points.
    int widthTwips() const;
    int heightTwips() const;
    double pxPerTwip() const { return scale_; }

    QLabel* BlackBlack;
    QLabel* BlackSleep;
    QLabel* BlackSnooze;
    QTimer Timer1;  // hides the indicators, 2000 ms, once
    QTimer Timer2;  // line animation, 40 ms (four 10 ms steps)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

signals:
    // The program's window should be raised and activated (it lost the keys, or the
    // black screen was left).
    void activationWanted();

private:
    void hideIndicators();
    void leave();
    void fitToStage();
    // Scale, indicator places and a fresh drawing for the current size.
    void adoptSize();
    void placeIndicators();

    LinePattern pattern_;
    QImage drawing_;
    double scale_ = 1.0 / 15.0;  // pixels per twip
    bool inStep_ = false;
};

}  // namespace kelvorn
