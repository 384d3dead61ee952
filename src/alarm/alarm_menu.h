// SPDX-License-Identifier: GPL-3.0-or-later
// AlarmMenu: the "ALARM MENU" screen. Arms and disarms the alarm, sets its time digit
// by digit, and sets the normal, alarm and sleep volumes on three bars while the output
// follows the bar being set. Owns ReadAlarm/WriteAlarm of the settings file.
#pragma once
#include <QTimer>
#include <array>
#include <cstdint>
#include <string>

#include "core/button_column.h"
#include "core/menu_frame.h"
#include "core/menu_screen.h"

class QLabel;

namespace kelvorn {

class LineShape;
class Transitions;
class MainDisplay;

class AlarmMenu : public MenuScreen {
    Q_OBJECT
public:
    // Created hidden at start-up and kept; the main screen's entry opens it.
    AlarmMenu(QWidget* stage, Services& services, Transitions& transitions, MainDisplay& display);

    void keyTyped(const std::string& key) override;
    // 0: ALARM ON/OFF, 1: SET ALARM (keys, Ok and clicks); the highlight stays.
    void MainButt_Click(int index);
    // "<<" clicked: back to the main screen; nothing is written, the output volume
    // returns to what the back key restores.
    void MainBack_Click();

    // Builds the screen up in normal mode with the buttons active; FadeOut hides it at once.
    void FadeIn() override;
    void FadeOut() override;

    // Loads "Settings.kvx" and brings the main screen's and this screen's displays in
    // line; a missing file leaves the defaults and touches no display.
    void ReadAlarm();
    // Stores the alarm time, the flags and the volumes; a failed write is shown.
    void WriteAlarm();

    // Change the selected bar's volume by 5 within 0..100 and let the output follow it.
    void VolumeUp();
    void VolumeDown();

    int aktbutt() const { return MainButt.aktbutt(); }
    // 0: the buttons are active; 1, 2, 3: the bar N, A or S is selected.
    int volSelect() const { return VolSelect; }
    bool settingAlarm() const { return SetAlarm; }
    int alarmPos() const { return AlarmPos; }
    const std::string& tmpAlarm() const { return TmpAlarm; }

    // The screen's elements.
    MenuFrame frame;                      // MainLabel, MainBack, MainOff, Shape1, Line1..Line4
    ButtonColumn MainButt;                // "ALARM ON/OFF" and "SET ALARM"
    LineShape* Shape2;                    // box behind the time; its border shows the set mode
    LineShape* Shape3;                    // frame around "ALARM:" and the time
    LineShape* Shape4;                    // frame around the alarm state
    QLabel* Label1;                       // "ALARM:"
    QLabel* AlarmClock;                   // the alarm time, with the cursor mark while it is set
    QLabel* Label2;                       // "ALARM IS ON" / "ALARM IS OFF"
    std::array<LineShape*, 3> barFrames;  // Shape5, Shape6, Shape7: frames of N, A, S
    std::array<LineShape*, 3> bars;       // Shape8, Shape9, Shape10: the levels
    std::array<QLabel*, 3> barLetters;    // Label3, Label4, Label5: "N", "A", "S"
    QTimer RefuseTimer;                   // ends the flash of a refused time

protected:
    // Cursor right and left stand for "9" and "7".
    void keyPressEvent(QKeyEvent* event) override;

private:
    void normalKey(const std::string& key);
    void setModeKey(const std::string& key);
    void enterDigit(char digit);
    void confirmTime();
    void cancelTime();
    void toggleAlarm();
    void startSetting();
    void moveBarSelection(int delta);
    void stepVolume(int delta);
    void leave();

    // The alarm time shown, with the cursor mark on `markPos` (1-based; 0 for none).
    void showClock(const std::string& time, int markPos = 0);
    void showAlarmState();
    void placeBar(int bar);
    int& volumeOf(int bar);
    // The frame that shows selection `select` is white, the others silver.
    void paintSelection(int select, bool selected);
    // The output volume of the buttons: normal, or sleep while the sleep timer runs,
    // or alarm while the alarm list plays.
    void restoreOutputVolume();

    Transitions& transitions_;
    MainDisplay& display_;

    int16_t VolSelect = 0;
    std::string OldAlarm;
    std::string TmpAlarm;
    bool SetAlarm = false;
    int16_t AlarmPos = 1;
    std::string shownTime_;  // what AlarmClock shows, without its cursor mark
};

}  // namespace kelvorn
