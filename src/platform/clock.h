// Local time of day, replaceable in tests.
#pragma once
#include <string>

namespace kelvorn {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with fractions.
    virtual double secondsSinceMidnight() const = 0;
    // Fraction of the day: 0 = midnight, 0.5 = noon.
    double now() const { return secondsSinceMidnight() / 86400.0; }
};

class SystemClock : public Clock {
public:
    double secondsSinceMidnight() const override;
};

// "hh:mm:ss" of a count of whole seconds; hours wrap at 24.
std::string timeText(long long seconds);
// "hh:mm:ss" of a fraction of a day (rounded to the nearest second).
std::string timeTextOfDay(double dayFraction);

}  // namespace kelvorn
