// SPDX-License-Identifier: GPL-3.0-or-later
// The small settings files read at start: keys, mouse and animation speed.
#pragma once
#include <string>
#include <vector>

namespace kelvorn {

struct KelvornSERVICE;

// Applies the five lines of the key file in order (up, down, select, second select,
// back), blanks around them trimmed. A line whose leading number is not 0 is a
// character code; a code that is no 8-bit character (outside 1..255 after rounding)
// keeps the default, and so does a line that is not one character. A back key equal to
// the up or down key (which win) becomes "#" again, so the back key always acts.
void applyKeyLines(KelvornSERVICE& svc, const std::vector<std::string>& lines);

// The mouse file's first line: the cursor is wanted when its number is exactly 1.
bool mouseWanted(const std::vector<std::string>& lines);

constexpr double kSlowestGfxSpeed = 0.25;

// The speed file's first line; 0 or above 30 gives 1, 0 < x < 0.25 gives 0.25,
// negatives stay.
double gfxSpeedFrom(const std::vector<std::string>& lines);

// Reads "Keys.kvx", "mouse.kvx" and "GFXSpeed.kvx" from `workDir` (names matched
// without regard to case) into the state; missing files leave the defaults.
void readStartSettings(KelvornSERVICE& svc, const std::string& workDir);

}  // namespace kelvorn
