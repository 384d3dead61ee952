// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm tone as a file of the program's own, for a libmpv whose libavfilter (which
// generates the tone otherwise) is missing at run time.
#pragma once
#include <string>

namespace kelvorn {

// Three seconds of the alarm tone as a WAV file's bytes: 880 Hz at half the full scale,
// half a second on and half a second off; 16-bit PCM, mono, 44.1 kHz.
std::string alarmToneWav();

// The path of the tone written as a WAV file, empty when it cannot be written. It is
// written on the first call (again should it have gone), into the user's private folder
// (platform/private_folder.h), where nobody else can put a link in its place.
std::string alarmToneFile();

}  // namespace kelvorn
