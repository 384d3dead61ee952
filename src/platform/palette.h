// SPDX-License-Identifier: GPL-3.0-or-later
// Every colour the screens use, in one place (0xRRGGBB).
#pragma once

namespace kelvorn::palette {

constexpr unsigned kBlack = 0x000000;             // titles; the black, video and stage backgrounds
constexpr unsigned kWhite = 0xFFFFFF;             // frame lines, the version, the update texts
constexpr unsigned kBackground = 0x9090C0;        // main, menu and list screens, the wipe
constexpr unsigned kNormalText = 0xC0C0FF;        // buttons, list lines, the song, the clocks
constexpr unsigned kNormalBack = 0x0000C0;        // behind buttons and lines; dark blue captions
constexpr unsigned kHighlightText = 0xC00000;     // the highlighted button or line; "<<", ">>", ALARM
constexpr unsigned kHighlightBack = 0xFF8000;     // behind the highlight
constexpr unsigned kErrorText = 0xFF0000;         // what went wrong: "NOT SAVED", an impossible time
constexpr unsigned kMark = 0xFF0000;              // the cross and arrow marks, the volume bars
constexpr unsigned kSnoozeText = 0xFF00FF;        // SNOOZE on the main screen
constexpr unsigned kSilver = 0xC0C0C0;            // the alarm menu's idle volume bars
constexpr unsigned kShadow = 0x404040;            // the update screen's title shadow
constexpr unsigned kBoxBorderStart = 0x8080FF;    // the alarm time's box: armed
constexpr unsigned kBoxBorderSetting = 0x4040F0;  // while the time is typed
constexpr unsigned kBoxBorderNormal = 0x000080;   // otherwise
constexpr unsigned kResultText = 0xC0C000;        // search results the highlight has not touched
constexpr unsigned kBlackIndicator = 0x00C0C0;    // BLACK on the black screen
constexpr unsigned kSleepIndicator = 0xC00000;    // SLEEP on the black screen
constexpr unsigned kSnoozeIndicator = 0x0000FF;   // SNOOZE on the black screen

}  // namespace kelvorn::palette
