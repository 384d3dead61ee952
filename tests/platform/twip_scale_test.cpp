// The main screen's 12150 x 9150 twips on a display: scaled uniformly, centred, with
// black bars where the aspect differs.
#include "platform/stage.h"

#include <gtest/gtest.h>

using namespace kelvorn;

TEST(TwipScale, MainScreenFillsTheDisplayUniformlyCentredBetweenBlackBars) {
    const struct { int width, height; QRect area, lowerRightQuarter; int font12; } displays[] = {
        {1280, 720, {162, 0, 956, 720}, {478, 360, 478, 360}, 19},       // wider: bars left and right
        {1024, 1024, {0, 126, 1024, 771}, {512, 386, 512, 385}, 20},     // square: bars above and below
        {800, 600, {1, 0, 797, 600}, {398, 300, 399, 300}, 16},          // 4:3, a hair wider than the layout
        {1920, 1080, {243, 0, 1434, 1080}, {717, 540, 717, 540}, 28},
        {0, 0, {0, 0, 810, 610}, {405, 305, 405, 305}, 16},               // no size known: 15 twips a pixel
    };
    for (const auto& d : displays) {
        SCOPED_TRACE(std::to_string(d.width) + "x" + std::to_string(d.height));
        const TwipScale t(d.width, d.height);
        EXPECT_EQ(t.mainArea(), d.area);
        EXPECT_EQ(t.rect(6075, 4575, 6075, 4575), d.lowerRightQuarter);  // inside the main area
        EXPECT_EQ(t.font("Arial", 12).pixelSize(), d.font12);
        // Edges are rounded, not sizes: a row of controls 100 twips wide has no gaps or overlaps.
        for (int left = 0; left < 1000; left += 100)
            EXPECT_EQ(t.rect(left, 0, 100, 100).right() + 1, t.rect(left + 100, 0, 100, 100).left()) << left;
    }
    EXPECT_EQ(TwipScale(100, 100).font("Arial", 1).pixelSize(), 1);  // never below one pixel
}
