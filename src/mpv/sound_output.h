// SPDX-License-Identifier: GPL-3.0-or-later
// Which of mpv's sound drivers reach a device someone can hear.
#pragma once
#include <string_view>

namespace kelvorn {

// False for mpv's silent "null" output and its "pcm" file writer, and for SDL when
// SDL_AUDIODRIVER (`sdlDriver`, its value or nullptr) names SDL's own "dummy" or "disk"
// driver; true for every other driver (pipewire, pulse, alsa, jack, ...).
bool isRealSoundOutput(std::string_view driver, const char* sdlDriver);

}  // namespace kelvorn
