// Delay K pass counts and the real pump's pacing.
#include "platform/event_pump.h"

#include <QTimer>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>

using namespace kelvorn;

namespace {
class CountingPump : public EventPump {
public:
    void pass() override { ++passes; }
    void yield() override {}
    long passes = 0;
};
}  // namespace

TEST(DelayK, PassCounts) {
    EXPECT_EQ(delayPasses(300, 1), 301);
    EXPECT_EQ(delayPasses(300, 2), 151);
    EXPECT_EQ(delayPasses(300, 30), 11);
    EXPECT_EQ(delayPasses(10000, 3), 3334);
    EXPECT_EQ(delayPasses(300, 0.5), 601);
    EXPECT_EQ(delayPasses(0, 1), 1);
}

TEST(DelayK, NegativeOrBrokenSpeedMakesNoPass) {
    EXPECT_EQ(delayPasses(300, -1), 0);
    EXPECT_EQ(delayPasses(300, 0), 0);
    EXPECT_EQ(delayPasses(300, NAN), 0);
    EXPECT_GT(delayPasses(300, 1e-300), 0);  // huge but bounded, no overflow
}

TEST(DelayK, RunsThePumpThatOften) {
    CountingPump pump;
    delayK(pump, 5000, 2);
    EXPECT_EQ(pump.passes, 2501);
    delayK(pump, 5000, -1);
    EXPECT_EQ(pump.passes, 2501);
}

TEST(QtEventPump, PassRunsPendingEventsAndWaits) {
    QtEventPump pump(1000);
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5 && !fired; ++i) pump.pass();
    EXPECT_TRUE(fired);
    pump.pass();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(1000));
}

TEST(QtEventPump, YieldSkipsPassesTooCloseTogether) {
    QtEventPump pump;
    pump.yield();  // the first yield runs the events
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    pump.yield();  // right after the first: skipped
    EXPECT_EQ(fired, 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (fired == 0 && std::chrono::steady_clock::now() < until) pump.yield();
    EXPECT_EQ(fired, 1);
}

TEST(QtEventPump, ShortQuantaAddUpToTheirPace) {
    // Many passes shorter than a sleep can be must still keep the pace on average:
    // the waits are gathered into real sleeps rather than dropped.
    QtEventPump pump(50);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 2000; ++i) pump.pass();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(99));
}
