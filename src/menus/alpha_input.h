// SPDX-License-Identifier: GPL-3.0-or-later
// AlphaInput: the "ALPHA ENTRY" screen, where a short text is typed with the digit
// keys the way it is typed on a telephone keypad. It builds the text in AlphaText and
// reports the end of the entry through AlphaRunning and AlphaCancel; what the text is
// for is the caller's business.
#pragma once
#include <QTimer>
#include <array>
#include <cstdint>
#include <string>

#include "core/menu_frame.h"
#include "core/menu_screen.h"

class QLabel;

namespace kelvorn {

class ClickLabel;
class LineShape;

class AlphaInput : public MenuScreen {
    Q_OBJECT
public:
    AlphaInput(QWidget* stage, Services& services);

    void keyTyped(const std::string& key) override;
    // Multi-tap step of keypad button 0..9 (keys "1".."9", "0" and clicks).
    void MainButt_Click(int index);
    // Accept (">>" and KeyOk): commits the pending character and ends the entry.
    void MainCont_Click();
    // Cancel ("<<" and KeyBack): ends the entry, the text is not to be used.
    void MainBack_Click();
    // Delete ("X = DEL" and KeyAlt): the pending character, else the last character.
    void TVDEL_Click();
    // One tick of Timer1: time-out commit, cursor blink, display.
    void Timer1_Timer();

    // FadeIn clears the text and the pending character, then builds the screen up;
    // the entry display is no part of either routine.
    void FadeIn() override;
    void FadeOut() override;

    const std::string& SearchChr() const { return searchChr_; }
    int TimeOut() const { return timeOut_; }
    int TimeOut2() const { return timeOut2_; }
    bool CursorFlag() const { return cursorFlag_; }
    QString displayText() const;

    // The screen's elements.
    QLabel* AlphaDisplay;
    ClickLabel* TVDEL;
    MenuFrame frame;  // MainLabel, MainBack, MainOff, Shape1, Line1..Line4
    std::array<ClickLabel*, 10> MainButt;
    ClickLabel* MainCont;
    QWidget* MainGo;
    LineShape* Shape2;
    LineShape* Line5;
    LineShape* Line6;

    QTimer Timer1;  // 50 ms from creation, 100 ms after the first digit key

private:
    void stepSearchChr(int delta, char whenEmpty);
    void commitSearchChr();

    std::string searchChr_;  // the pending character: empty or one byte
    int16_t timeOut_ = 0;    // ticks since the last character key
    int16_t timeOut2_ = 0;   // ticks since the last cursor change
    bool cursorFlag_ = false;
    bool inTick_ = false;  // the display update lets events run, and with them Timer1
};

}  // namespace kelvorn
