// SPDX-License-Identifier: GPL-3.0-or-later
// Clock for tests: real time and the local offset are whatever the test sets.
#pragma once
#include "platform/clock.h"

namespace kelvorn {

class FixedClock : public Clock {
public:
    ClockReading read() const override { return {utc, offset}; }
    double monotonic() const override { return utc; }
    // Moves forward to the next moment (this one included) whose local time is h:m:s.
    void set(int hours, int minutes, double secs = 0) {
        double ahead = hours * 3600.0 + minutes * 60.0 + secs - read().secondsSinceMidnight();
        if (ahead < 0) ahead += 86400;
        utc += ahead;
    }
    void advance(double seconds) { utc += seconds; }

    double utc = 0;
    int offset = 0;
};

}  // namespace kelvorn
