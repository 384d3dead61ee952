// The screens' colours (0xRRGGBB).
#pragma once

namespace kelvorn::palette {

constexpr unsigned kBackground = 0x9090C0;  // main, menu and list screens, the wipe
constexpr unsigned kNormalText = 0xC0C0FF;  // buttons and list lines
constexpr unsigned kNormalBack = 0x0000C0;
constexpr unsigned kHighlightText = 0xC00000;  // the one highlighted button or line
constexpr unsigned kHighlightBack = 0xFF8000;
constexpr unsigned kErrorText = 0xFF0000;  // what went wrong: "NOT SAVED", an impossible time

}  // namespace kelvorn::palette
