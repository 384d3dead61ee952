// SPDX-License-Identifier: GPL-3.0-or-later
// VelmotMAIN: the main screen with the song display, the status labels and the
// six-button main menu; it owns the clock, playback and re-activation timers.
#pragma once
#include <QTimer>
#include <functional>
#include <memory>

#include "core/alarm_clock.h"
#include "core/button_column.h"
#include "core/main_command.h"
#include "core/main_display.h"
#include "core/menu_frame.h"
#include "core/menu_screen.h"
#include "core/playback_engine.h"
#include "platform/media_player.h"

class QLabel;

namespace kelvorn {

class ClickLabel;

class VelmotMAIN : public MenuScreen, public MainDisplay, public NoticeBoard {
    Q_OBJECT
public:
    VelmotMAIN(QWidget* stage, Services& services);

    void keyTyped(const std::string& key) override;
    // Runs the action of button 0..5 (keys, Ok and clicks).
    void MainButt_Click(int index);
    // The one entry of the main screen's commands, whichever way they come, with the same
    // guards for all: none while the archive is scanned, and none that answers a sounding
    // alarm's tone (that input only silences it). `seconds` is SeekTo's position. False
    // when the command was dropped.
    bool command(MainCommand command, double seconds = 0);
    // A key of a remote control: it answers a sounding alarm as a typed key does, and goes
    // to the screen in front, whether a window of the program is active or not.
    void remoteKey(const QString& text);
    // Ends the program: the cursor comes back if it was hidden; nothing is saved.
    void exitProgram();

    // Builds the menu up, animated; FadeOut hides it at once.
    void FadeIn() override;
    void FadeOut() override;
    // Hides the decoration before the first build-up.
    void hideDecoration();

    // Shows `text` in the notice place for `ms` milliseconds (below the menu screens, so
    // it is seen from every menu).
    void showNotice(const QString& text, int ms = 4000);
    // The program's notices are shown here from the main screen's making on.
    void notice(const std::string& text) override { showNotice(QString::fromStdString(text)); }

    // Paints the highlight on button `index` and the other buttons normal.
    void highlight(int index) { MainButt.highlight(index); }
    int aktbutt() const { return MainButt.aktbutt(); }

    void startClock() { Timer1.start(); }
    void startReactivation() { Timer3.start(); }

    // One pass of each timer's work, also called directly by tests.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    PlaybackEngine& engine() { return engine_; }
    AlarmClock& alarmClock() { return alarmClock_; }

    // What a label shows now (for tests and diagnostics).
    enum class Field { Song, Artist, Clock, Elapsed, SleepLeft, AlarmTime, Shuffle, Sleep, Snooze, Alarm, Notice };
    QString shown(Field field) const;
    bool noticeVisible() const;
    // The file of the song whose title and artist are shown (empty before the first).
    const std::string& shownFile() const { return shownFile_; }

    // MainDisplay: what the clock and the alarm menu change.
    void showClock(const std::string& time) override;
    void showElapsed(const std::string& time) override;
    void showSleep(bool on) override;
    void showSleepLeft(const std::string& time) override;
    void showSnooze(bool on) override;
    void showAlarm(bool armed, const std::string& time) override;
    void showAlarmTime(const std::string& time) override;
    void showShuffle(bool on) override;
    void bringToFront() override;

    // The clock and playback timers stopped, for tests that drive the ticks themselves.
    void stopTimers();

signals:
    // What the main screen asks of the program around it.
    void blackScreenWanted();     // the first back key
    void listsMenuWanted();       // button 2
    void alarmMenuWanted();       // button 3
    void videoListWanted();       // button 5
    void settingsChanged();       // after SHUFFLE / NORMAL
    void activationWanted();      // Timer3: the window back in front
    void exitWanted();            // the exit action's last step: end the process at once
    void seeked(double seconds);  // a seek was asked for, to this position
    void songShown();             // a song's title and artist are shown anew

public:
    // The screen's elements.
    MenuFrame frame;        // MainLabel, MainBack, MainOff, Shape1, Line1..Line4
    ButtonColumn MainButt;  // the six buttons, built after the frame

private:
    void player_stateChanged();
    // Title and artist of the song the engine started last.
    void showSongName();

    QLabel* MainSong;
    QLabel* MainInterpret;
    QLabel* MainClock;
    QLabel* MainTime;
    QLabel* SleepDisplay;
    QLabel* AlarmTimeDisplay;
    QLabel* ShuffleStatus;
    QLabel* SleepStatus;
    QLabel* SnoozeStatus;
    QLabel* AlarmStatus;
    QLabel* Label1;
    QLabel* Notice;  // "NOT SAVED" and the like, hidden after a few seconds

    QTimer Timer1;       // clock, 100 ms
    QTimer Timer2;       // playback, 100 ms
    QTimer Timer3;       // window re-activation, 1200 ms
    QTimer NoticeTimer;  // hides the notice

    PlaybackEngine engine_;
    AlarmClock alarmClock_;  // Timer1's work and key "0"
    MediaPlayer::PlayState lastPlayState_ = MediaPlayer::Stopped;
    std::string shownFile_;
};

}  // namespace kelvorn
