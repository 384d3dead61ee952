// Delay K pass counts and the real pump's pacing.
#include "platform/event_pump.h"

#include <QTimer>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>

using namespace kelvorn;
using Clock = std::chrono::steady_clock;

TEST(DelayK, PassCounts) {
    const struct { double k, speed; long passes; } cases[] = {
        {300, 1, 301}, {300, 2, 151}, {300, 30, 11}, {10000, 3, 3334}, {300, 0.5, 601}, {0, 1, 1},
        {300, -1, 0}, {300, 0, 0}, {300, NAN, 0},  // a negative or broken speed makes no pass
    };
    for (const auto& c : cases) EXPECT_EQ(delayPasses(c.k, c.speed), c.passes) << c.k << " / " << c.speed;
    EXPECT_GT(delayPasses(300, 1e-300), 0);  // huge but bounded, no overflow
}

TEST(QtEventPump, PassRunsPendingEventsAndShortQuantaStillAddUpToTheirPace) {
    QtEventPump slow(1000);
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    auto start = Clock::now();
    for (int i = 0; i < 5 && !fired; ++i) slow.pass();
    EXPECT_TRUE(fired);
    slow.pass();
    EXPECT_GE(Clock::now() - start, std::chrono::microseconds(1000));
    // Passes shorter than a sleep can be: the waits are gathered into real sleeps.
    QtEventPump fast(50);
    start = Clock::now();
    for (int i = 0; i < 2000; ++i) fast.pass();
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(99));
}

TEST(QtEventPump, YieldSkipsPassesTooCloseTogether) {
    QtEventPump pump;
    pump.yield();  // the first yield runs the events
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    pump.yield();  // right after the first: skipped
    EXPECT_EQ(fired, 0);
    const auto until = Clock::now() + std::chrono::seconds(2);
    while (fired == 0 && Clock::now() < until) pump.yield();
    EXPECT_EQ(fired, 1);
}
