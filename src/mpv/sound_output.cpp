// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpv/sound_output.h"

#include <QByteArrayList>

namespace kelvorn {

bool isRealSoundOutput(std::string_view driver, const char* sdlDriver) {
    if (driver.empty() || driver == "null" || driver == "pcm") return false;
    if (driver != "sdl" || !sdlDriver) return true;
    // SDL takes the first name of a list it can open; these two are never a device.
    const QByteArray first = QByteArray(sdlDriver).split(',').value(0).trimmed().toLower();
    return first != "dummy" && first != "disk";
}

}  // namespace kelvorn
