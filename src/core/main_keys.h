// SPDX-License-Identifier: GPL-3.0-or-later
// The main screen's key table: which action a typed character runs.
#pragma once
#include <string>

namespace kelvorn {

struct KelvornSERVICE;

enum class MainAction {
    None,         // unassigned key
    Up,           // highlight up
    Down,         // highlight down
    Back,         // black screen / exit count
    Ok,           // button action of the highlight
    Button,       // digits 1..6: button action 0..5
    Previous,     // 7: previous song
    SeekBack,     // 8: ten seconds back
    SeekForward,  // 9: ten seconds forward
    SleepSnooze,  // 0: sleep timer or snooze
};

struct MainKey {
    MainAction action = MainAction::None;
    int button = -1;  // for Button
};

// The first entry of the table that matches wins: KeyUp, KeyDown, KeyBack, KeyOk,
// then the digits. So a key setting equal to a digit shadows that digit.
MainKey mainKeyFor(const std::string& key, const KelvornSERVICE& svc);

// The highlight after moving up or down through the six buttons, wrapping.
int stepHighlight(int current, int delta, int count = 6);

// Elapsed position after "8": ten seconds back, but not before the start.
double seekBackTarget(double position);

}  // namespace kelvorn
