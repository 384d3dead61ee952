// SPDX-License-Identifier: GPL-3.0-or-later
// The list lines' colours and flashes. Line colours are kept as integers with red in
// the low byte (0x00BBGGRR), because the flashes do arithmetic on that integer.
#pragma once
#include <array>

#include "platform/palette.h"

namespace kelvorn {

// 0x00BBGGRR to 0xRRGGBB and back: red and blue change places.
constexpr unsigned rgbFromBgr(unsigned bgr) { return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF); }

constexpr unsigned kLineText = rgbFromBgr(palette::kNormalText);
constexpr unsigned kLineBack = rgbFromBgr(palette::kNormalBack);
constexpr unsigned kHighlightText = rgbFromBgr(palette::kHighlightText);
constexpr unsigned kHighlightBack = rgbFromBgr(palette::kHighlightBack);  // 33023
static_assert(kHighlightBack == 33023);

constexpr int kFlashSteps = 24;
constexpr int kFlashPause = 200;  // a pause of 200 lets events run 201 times

// The play flash runs from orange through green, the second-select flash towards
// yellow-orange; each is twelve steps out and twelve steps back.
enum class Flash { Play, Second };
std::array<unsigned, kFlashSteps> flashColours(Flash kind);

}  // namespace kelvorn
