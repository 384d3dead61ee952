// SPDX-License-Identifier: GPL-3.0-or-later
// Local time of day and its "hh:mm:ss" text.
#include "platform/clock.h"

#include <QDateTime>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace kelvorn {

namespace {
constexpr long long kSecondsPerDay = 86400;
}

long long ClockReading::day() const {
    const double d = std::floor(local() / kSecondsPerDay);
    return std::isfinite(d) ? static_cast<long long>(d) : 0;
}

double ClockReading::secondsSinceMidnight() const {
    const double s = local() - static_cast<double>(day()) * kSecondsPerDay;
    return std::isfinite(s) ? s : 0;
}

ClockReading SystemClock::read() const {
    const QDateTime now = QDateTime::currentDateTime();
    return {static_cast<double>(now.toMSecsSinceEpoch()) / 1000.0, now.offsetFromUtc()};
}

double SystemClock::monotonic() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string timeText(long long seconds) {
    long long s = seconds % kSecondsPerDay;
    if (s < 0) s += kSecondsPerDay;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(s / 3600), static_cast<int>(s / 60 % 60),
                  static_cast<int>(s % 60));
    return text;
}

std::string timeTextOfDay(double dayFraction) {
    double s = std::round(dayFraction * kSecondsPerDay);
    if (!std::isfinite(s)) s = 0;
    // Wrap before converting, so no fraction is too large for an integer.
    s = std::fmod(s, static_cast<double>(kSecondsPerDay));
    return timeText(static_cast<long long>(s));
}

}  // namespace kelvorn
