// SPDX-License-Identifier: GPL-3.0-or-later
// "Let pending events run": the one service behind every wait and animation.
#pragma once

namespace kelvorn {

class EventPump {
public:
    virtual ~EventPump() = default;
    // One pass: runs the pending events, then waits a small fixed quantum for more,
    // so counted passes keep a steady pace without spinning.
    virtual void pass() = 0;
    // Lets pending events run without the quantum wait; for long work loops (the
    // scan) that yield after every item. May skip passes that come too close together.
    virtual void yield() = 0;
    // A visible animation step has just been made: on a real display it is painted and
    // stays up for about one frame before the next step. Counts as no pass.
    virtual void frame() {}
};

// Delay K: Int(K / gfxSpeed) + 1 passes; none when the quotient is negative.
void delayK(EventPump& pump, double k, double gfxSpeed);

// Number of passes delayK makes; exposed for tests and benchmarks.
long delayPasses(double k, double gfxSpeed);

// The real pump over the Qt event loop.
class QtEventPump : public EventPump {
public:
    explicit QtEventPump(int quantumMicroseconds = 35);
    void pass() override;
    void yield() override;
    void frame() override;

private:
    int quantum_;
    long long lastYieldNs_ = 0;
    long long paceNs_ = 0;       // when the current pass is due to end
    long long lastRunNs_ = 0;    // when the event loop last ran
    long long lastFrameNs_ = 0;  // when the last animation step was shown
};

}  // namespace kelvorn
