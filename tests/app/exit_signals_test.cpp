// SPDX-License-Identifier: GPL-3.0-or-later
// What a service manager's stop and a broken pipe do to the program.
#include "app/exit_signals.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "fakes/wait_for.h"

using namespace kelvorn;

// A stop reaches the event loop once, or ends a held-up process within the grace time with
// status 0; SIGPIPE ends nothing.
TEST(ExitSignals, AStopReachesTheEventLoopOrEndsTheProcessInTimeAndABrokenPipeEndsNothing) {
    {
        ExitSignals exitSignals;
        int requests = 0;
        QObject::connect(&exitSignals, &ExitSignals::exitRequested, [&] { ++requests; });
        std::raise(SIGPIPE);
        std::raise(SIGTERM);
        EXPECT_TRUE(waitFor([&] { return requests == 1; }, 1000));  // before the grace time ends it all
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
            ExitSignals exitSignals;
            std::raise(SIGTERM);
            std::this_thread::sleep_for(std::chrono::seconds(ExitSignals::kGraceSeconds + 3));
            std::_Exit(3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(ExitSignals::kGraceSeconds + 1));
}
