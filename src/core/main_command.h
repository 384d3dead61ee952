// SPDX-License-Identifier: GPL-3.0-or-later
// The main screen's commands: one set, whichever way they come (its keys and buttons, an
// infrared remote, MPRIS).
#pragma once

namespace kelvorn {

enum class MainCommand {
    PlaySkip,     // "1": play the list from its start (or a random song), or skip while playing
    StopResume,   // "2": pause or resume; stops the trying of songs that do not open
    ListsMenu,    // "3"
    AlarmMenu,    // "4"
    Shuffle,      // "5": shuffle or normal order, kept in the settings
    VideoList,    // "6"
    Previous,     // "7": the song before
    SeekBack,     // "8": ten seconds back
    SeekForward,  // "9": ten seconds on
    SleepSnooze,  // "0": the sleep timer, or a snooze while the alarm's songs play
    Back,         // "#": the black screen; the third in a row ends the program
    Play,         // resumes a pause or starts when nothing plays; nothing while playing
    Pause,        // pauses what plays; nothing otherwise
    Stop,         // ends playing, and the trying of songs
    SeekTo,       // to a position in the open song
};

// The command of main-screen button 0..5 ("1".."6").
MainCommand buttonCommand(int index);

}  // namespace kelvorn
