// SPDX-License-Identifier: GPL-3.0-or-later
// Local time of day, replaceable in tests.
#pragma once
#include <string>

namespace kelvorn {

// One reading of the clock: real time, and where it falls on the local timeline.
struct ClockReading {
    double utc = 0;  // seconds since the epoch: intervals no clock setting or daylight saving bends
    int offset = 0;  // local time minus UTC, in seconds (changes at a daylight-saving switch)

    // Seconds on the local timeline: day() * 86400 + secondsSinceMidnight().
    double local() const { return utc + offset; }
    // The local date as a day number.
    long long day() const;
    // Seconds since local midnight, with fractions.
    double secondsSinceMidnight() const;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual ClockReading read() const = 0;
    // Seconds on a clock that only moves forward, for pacing.
    virtual double monotonic() const = 0;
    // Seconds since local midnight, with fractions.
    double secondsSinceMidnight() const { return read().secondsSinceMidnight(); }
    // Fraction of the day: 0 = midnight, 0.5 = noon.
    double now() const { return secondsSinceMidnight() / 86400.0; }
};

class SystemClock : public Clock {
public:
    ClockReading read() const override;
    double monotonic() const override;
};

// "hh:mm:ss" of a count of whole seconds; hours wrap at 24.
std::string timeText(long long seconds);
// "hh:mm:ss" of a fraction of a day (rounded to the nearest second).
std::string timeTextOfDay(double dayFraction);

}  // namespace kelvorn
