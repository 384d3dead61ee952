// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/list_colours.h"

#include <cstddef>

namespace kelvorn {

std::array<unsigned, kFlashSteps> flashColours(Flash kind) {
    // Out with one sign of the step, back with the other.
    const int out = kind == Flash::Play ? -255 : 255;
    std::array<unsigned, kFlashSteps> colours{};
    for (int i = 0; i < 12; ++i) {
        colours[static_cast<std::size_t>(i)] = static_cast<unsigned>(static_cast<int>(kHighlightBack) + out * i);
        colours[static_cast<std::size_t>(23 - i)] = static_cast<unsigned>(static_cast<int>(kHighlightBack) - out * i);
    }
    return colours;
}

}  // namespace kelvorn
