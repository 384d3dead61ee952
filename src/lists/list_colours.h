// The list lines' colours and flashes. Line colours are kept as integers with red in
// the low byte (0x00BBGGRR), because the flashes do arithmetic on that integer.
#pragma once
#include <array>

namespace kelvorn {

constexpr unsigned kLineText = 0xFFC0C0;       // #C0C0FF
constexpr unsigned kLineBack = 0xC00000;       // #0000C0
constexpr unsigned kHighlightText = 0x0000C0;  // #C00000
constexpr unsigned kHighlightBack = 0x0080FF;  // #FF8000 (33023)

constexpr int kFlashSteps = 24;
constexpr int kFlashPause = 200;  // a pause of 200 lets events run 201 times

// The play flash runs from orange through green, the second-select flash towards
// yellow-orange; each is twelve steps out and twelve steps back.
enum class Flash { Play, Second };
std::array<unsigned, kFlashSteps> flashColours(Flash kind);

// 0x00BBGGRR to the 0xRRGGBB form that setColours takes.
unsigned rgbFromBgr(unsigned bgr);

}  // namespace kelvorn
