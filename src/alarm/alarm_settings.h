// SPDX-License-Identifier: GPL-3.0-or-later
// "Settings.kvx": the alarm time, alarm and shuffle flags and the three volumes that
// survive a restart. Widget-free; the alarm menu brings the displays in line.
#pragma once
#include <string>
#include <vector>

namespace kelvorn {

struct KelvornSERVICE;

// The file's name; it is found in the working folder without regard to letter case.
inline constexpr const char* kAlarmSettingsFile = "Settings.kvx";

// Applies the lines of the file to the state, over the defaults (alarm "00:00:00", off,
// shuffle off, volumes 100). Line 1 up to its first comma is the alarm time (empty gives
// "00:00:00"); lines 2 and 3 are true only for the number 1; a volume line missing at
// the end of the file gives 100. Volumes are kept as read (within 16 bits), so the file
// keeps a hand-edited value until the menu changes it; users clamp with usableVolume.
void applyAlarmLines(KelvornSERVICE& svc, const std::vector<std::string>& lines);

// The six lines as written: the time unchanged, "1"/"0", and each volume in the print
// layout of numbers (" 75 ", "-5 ").
std::vector<std::string> alarmLines(const KelvornSERVICE& svc);

// Sets the defaults, then reads the file from `workDir` when there is one. True when
// the file exists (even if it could not be read): only then are the displays updated.
bool readAlarmSettings(KelvornSERVICE& svc, const std::string& workDir);

// Replaces the file atomically with six CR LF lines. False when it could not be
// written; the old file then stays as it was and the state is untouched.
bool writeAlarmSettings(const KelvornSERVICE& svc, const std::string& workDir);

// A stored volume as the bars and the output use it: within 0..100.
int usableVolume(int volume);

}  // namespace kelvorn
