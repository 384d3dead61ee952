// Time texts, the wave volume figures and the fixed random sequence.
#include "platform/clock.h"
#include "platform/random_source.h"
#include "platform/wave_volume.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kelvorn;

TEST(TimeText, Seconds) {
    EXPECT_EQ(timeText(0), "00:00:00");
    EXPECT_EQ(timeText(3661), "01:01:01");
    EXPECT_EQ(timeText(86399), "23:59:59");
    EXPECT_EQ(timeText(86400 + 62), "00:01:02");  // hours wrap at 24
    EXPECT_EQ(timeText(-1), "23:59:59");
}

TEST(TimeText, FractionOfDay) {
    EXPECT_EQ(timeTextOfDay(0.5), "12:00:00");
    EXPECT_EQ(timeTextOfDay(0.25 + 0.4 / 86400), "06:00:00");
    EXPECT_EQ(timeTextOfDay(0.25 + 0.6 / 86400), "06:00:01");
    EXPECT_EQ(timeTextOfDay(0.999 + 0.00695), "00:08:34");  // snooze past midnight: 86914 s
    EXPECT_EQ(timeTextOfDay(-0.25), "18:00:00");
    EXPECT_EQ(timeTextOfDay(NAN), "00:00:00");
    EXPECT_EQ(timeTextOfDay(1e300).size(), 8u);
}

TEST(TimeText, SystemClockIsWithinTheDay) {
    SystemClock clock;
    const double now = clock.now();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, 1.0);
}

TEST(WaveVolume, ChannelFigures) {
    EXPECT_EQ(waveChannelValue(100), 65025);
    EXPECT_EQ(waveChannelValue(50), 32512);  // 32512.5 rounds to even
    EXPECT_EQ(waveChannelValue(40), 26010);
    EXPECT_EQ(waveChannelValue(0), 0);
    EXPECT_EQ(waveChannelValue(5), 3251);  // 3251.25
    // Out-of-range settings stay inside 16 bits.
    EXPECT_EQ(waveChannelValue(150), 65535);
    EXPECT_EQ(waveChannelValue(-20), 0);
    EXPECT_EQ(waveChannelValue(NAN), 0);
}

TEST(WaveVolume, PackedValueAndLast) {
    EXPECT_EQ(waveVolumeValue(100), 0xFE01FE01u);
    EXPECT_EQ(waveVolumeValue(50), (32512u << 16) | 32512u);
    WaveVolume volume;
    EXPECT_EQ(volume.lastValue(), waveVolumeValue(100));
    volume.set(40);
    EXPECT_EQ(volume.lastValue(), (26010u << 16) | 26010u);
}

TEST(FixedSequenceRandom, SameSequenceEveryStartAndInRange) {
    FixedSequenceRandom a, b;
    double sum = 0;
    for (int i = 0; i < 10000; ++i) {
        const double x = a.rnd();
        ASSERT_EQ(x, b.rnd());
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        sum += x;
    }
    EXPECT_NEAR(sum / 10000, 0.5, 0.02);
}
