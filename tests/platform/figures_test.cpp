// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's figures: wave volume, lenient numbers, the twip scale.
#include "platform/lenient_number.h"
#include "platform/stage.h"
#include "platform/wave_volume.h"

#include <gtest/gtest.h>
#include <cmath>
#include <tuple>

using namespace kelvorn;

TEST(WaveVolume, ChannelFiguresStayInSixteenBits) {
    // 50 % is 32512.5, rounded to even.
    const std::pair<double, uint16_t> cases[] = {{100, 65025}, {50, 32512}, {150, 65535}, {-20, 0}, {NAN, 0}};
    for (const auto& [percent, value] : cases) {
        EXPECT_EQ(waveChannelValue(percent), value) << percent;
        EXPECT_EQ(waveVolumeValue(percent), (uint32_t{value} << 16) | value) << percent;
    }
}

TEST(LeadingNumber, ReadsUpToTheFirstCharacterThatCannotContinueEvenInHugeTexts) {
    // The decimal mark is a point in every locale; no exponent; no number is +0.
    const std::pair<const char*, double> cases[] = {
        {"38", 38},      {".5", 0.5},    {"5.", 5},  {"-0.25", -0.25}, {"+7", 7},  {"  -2x", -2},
        {"\t 12,5", 12}, {"1.2.3", 1.2}, {"2e5", 2}, {"", 0},          {"abc", 0}, {"-", 0},
        {".", 0},        {"-.", 0},      {"+-3", 0}, {"- 3", 0},       {"-0", 0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(leadingNumber(text), value) << '"' << text << '"';
        EXPECT_EQ(std::signbit(leadingNumber(text)), value < 0) << '"' << text << '"';
    }
    EXPECT_GT(leadingNumber(std::string(10000, '9')), 1e300);
    EXPECT_EQ(leadingNumber("0." + std::string(10000, '0') + "1"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("1." + std::string(10000, '5')), 1.5555555555555556);
}

// 12150 x 9150 twips scaled uniformly, centred between black bars; with no size, 15 twips a pixel.
TEST(TwipScale, MainScreenFillsTheDisplayUniformlyCentredBetweenBlackBars) {
    const std::tuple<QSize, QRect, QRect, int> displays[] = {
        // size, main area, lower right quarter, 12 pt
        {{1280, 720}, {162, 0, 956, 720}, {478, 360, 478, 360}, 19},
        {{1024, 1024}, {0, 126, 1024, 771}, {512, 386, 512, 385}, 20},
        {{0, 0}, {0, 0, 810, 610}, {405, 305, 405, 305}, 16}};
    for (const auto& [size, area, quarter, font12] : displays) {
        const TwipScale t(size.width(), size.height());
        EXPECT_EQ(t.mainArea(), area) << size.width();
        EXPECT_EQ(t.rect(6075, 4575, 6075, 4575), quarter) << size.width();
        EXPECT_EQ(t.font("Arial", 12).pixelSize(), font12) << size.width();
        // Edges are rounded, not sizes: no gaps or overlaps.
        for (int left = 0; left < 1000; left += 100)
            EXPECT_EQ(t.rect(left, 0, 100, 100).right() + 1, t.rect(left + 100, 0, 100, 100).left()) << left;
    }
    EXPECT_EQ(TwipScale(100, 100).font("Arial", 1).pixelSize(), 1);  // never below one pixel
}
