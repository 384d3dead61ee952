// SPDX-License-Identifier: GPL-3.0-or-later
// The pace of "let pending events run": every wait and animation is counted in passes.
#include "platform/event_pump.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <thread>

using namespace kelvorn;

// A pass lasts about one quantum; yields close together run the event loop once.
TEST(EventPump, PassesKeepTheirPaceAndYieldsCloseTogetherAreSkipped) {
    QtEventPump pump(1000);  // a millisecond a pass
    bool fired = false;
    QTimer::singleShot(50, [&] { fired = true; });
    long passes = 0;
    for (; !fired && passes < 100000; ++passes) pump.pass();
    EXPECT_GE(passes, 40);   // not faster than the quantum
    EXPECT_LE(passes, 500);  // nor much slower, even on a busy machine
    int ran = 0;
    for (int i = 0; i < 100; ++i) {
        QTimer::singleShot(0, [&] { ++ran; });
        pump.yield();
    }
    EXPECT_LE(ran, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pump.yield();
    EXPECT_EQ(ran, 100);
}
