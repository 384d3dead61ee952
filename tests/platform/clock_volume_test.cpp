// Time texts, the wave volume figures and the fixed random sequence.
#include "platform/clock.h"
#include "platform/random_source.h"
#include "platform/wave_volume.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kelvorn;

TEST(TimeText, SecondsAndFractionsOfTheDayWrapAtMidnight) {
    EXPECT_EQ(timeText(3661), "01:01:01");
    EXPECT_EQ(timeText(86400 + 62), "00:01:02");
    EXPECT_EQ(timeText(-1), "23:59:59");
    EXPECT_EQ(timeTextOfDay(0.25 + 0.4 / 86400), "06:00:00");
    EXPECT_EQ(timeTextOfDay(0.25 + 0.6 / 86400), "06:00:01");
    EXPECT_EQ(timeTextOfDay(0.999 + 0.00695), "00:08:34");  // snooze past midnight: 86914 s
    EXPECT_EQ(timeTextOfDay(-0.25), "18:00:00");
    EXPECT_EQ(timeTextOfDay(NAN), "00:00:00");
    EXPECT_EQ(timeTextOfDay(1e300).size(), 8u);
}

TEST(WaveVolume, ChannelFiguresStayInSixteenBits) {
    const struct { double percent; uint16_t value; } cases[] = {
        {100, 65025}, {50, 32512} /* 32512.5 rounds to even */, {0, 0}, {150, 65535}, {-20, 0}, {NAN, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(waveChannelValue(c.percent), c.value) << c.percent;
        EXPECT_EQ(waveVolumeValue(c.percent), (uint32_t{c.value} << 16) | c.value) << c.percent;
    }
}

TEST(FixedSequenceRandom, SameSequenceEveryStartAndInRange) {
    FixedSequenceRandom a, b;
    double sum = 0;
    for (int i = 0; i < 10000; ++i) {
        const double x = a.rnd();
        ASSERT_TRUE(x == b.rnd() && x >= 0.0 && x < 1.0) << i << ": " << x;
        sum += x;
    }
    EXPECT_NEAR(sum / 10000, 0.5, 0.02);
}
