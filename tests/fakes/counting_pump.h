// SPDX-License-Identifier: GPL-3.0-or-later
// Event pump for tests: counts passes instead of waiting, and can act on each one.
#pragma once
#include "platform/event_pump.h"

#include <functional>

namespace kelvorn {

class CountingPump : public EventPump {
public:
    void pass() override {
        ++passes;
        if (onPass) onPass();
    }
    void yield() override {
        ++yields;
        if (onYield) onYield();
    }

    // From now on, runs `act` once, at the `count`th pass.
    void at(long count, std::function<void()> act) {
        onPass = [this, due = passes + count, act] {
            if (passes == due) act();
        };
    }

    long passes = 0;
    long yields = 0;
    // Run on each pass / yield, after counting: lets a test change things mid-wait.
    std::function<void()> onPass;
    std::function<void()> onYield;
};

}  // namespace kelvorn
