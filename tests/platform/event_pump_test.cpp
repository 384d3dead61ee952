// Delay K pass counts and the real pump's pacing.
#include "platform/event_pump.h"

#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>

using namespace kelvorn;

TEST(DelayK, PassCounts) {
    const struct { double k, speed; long passes; } cases[] = {
        {300, 1, 301}, {300, 2, 151}, {300, 30, 11}, {300, 0.5, 601}, {0, 1, 1},
        {300, -1, 0}, {300, 0, 0}, {300, NAN, 0},  // a negative or broken speed makes no pass
    };
    for (const auto& c : cases) EXPECT_EQ(delayPasses(c.k, c.speed), c.passes) << c.k << " / " << c.speed;
    EXPECT_GT(delayPasses(300, 1e-300), 0);  // huge but bounded, no overflow
}

namespace {

constexpr long kGiveUp = 10'000'000;

// Passes (or yields) the pump makes until a timer started now fires; the events run inside them.
long passesUntilTimer(EventPump& pump, int ms, bool yield = false) {
    bool fired = false;
    QTimer::singleShot(ms, [&] { fired = true; });
    long passes = 0;
    for (; !fired && passes < kGiveUp; ++passes) yield ? pump.yield() : pump.pass();
    return passes;
}

}  // namespace

// A pass runs the pending events and then keeps its pace: passes shorter than a sleep can
// be are gathered into real sleeps, so a timer due in 100 ms fires after about 100 ms of passes.
TEST(QtEventPump, PassesRunPendingEventsAndKeepTheirPace) {
    const struct { int quantumUs; long most; } pumps[] = {{1000, 110}, {50, 2200}};
    for (const auto& p : pumps) {
        QtEventPump pump(p.quantumUs);
        EXPECT_EQ(passesUntilTimer(pump, 0), 1) << p.quantumUs;
        EXPECT_LE(passesUntilTimer(pump, 100), p.most) << p.quantumUs;
    }
}

TEST(QtEventPump, YieldSkipsPassesTooCloseTogether) {
    QtEventPump pump;
    EXPECT_EQ(passesUntilTimer(pump, 0, true), 1);  // the first yield runs the events
    const long yields = passesUntilTimer(pump, 0, true);  // those right after it are skipped, not all
    EXPECT_TRUE(yields > 1 && yields < kGiveUp) << yields;
}
