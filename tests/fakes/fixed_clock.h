// Clock for tests: the time of day is whatever the test sets.
#pragma once
#include "platform/clock.h"

namespace kelvorn {

class FixedClock : public Clock {
public:
    explicit FixedClock(double start = 0) : seconds(start) {}
    double secondsSinceMidnight() const override { return seconds; }
    void set(int hours, int minutes, double secs = 0) { seconds = hours * 3600.0 + minutes * 60.0 + secs; }

    double seconds;
};

}  // namespace kelvorn
