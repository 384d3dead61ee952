// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarm/line_trail.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/random_source.h"

namespace kelvorn {

std::optional<TrailLine> LineTrail::push(const TrailLine& line) {
    if (count_ < kCapacity) {
        ring_[static_cast<size_t>((oldest_ + count_) % kCapacity)] = line;
        ++count_;
        return std::nullopt;
    }
    // Full: the new line takes the oldest one's slot.
    const TrailLine dropped = ring_[static_cast<size_t>(oldest_)];
    ring_[static_cast<size_t>(oldest_)] = line;
    oldest_ = (oldest_ + 1) % kCapacity;
    return dropped;
}

void LineTrail::clear() {
    oldest_ = 0;
    count_ = 0;
}

const TrailLine& LineTrail::at(int i) const {
    return ring_[static_cast<size_t>((oldest_ + std::clamp(i, 0, kCapacity - 1)) % kCapacity)];
}

int renewVelocity(int v, double r) {
    // std::nearbyint rounds halves to the even number in the default rounding mode.
    const int renewed = static_cast<int>(std::nearbyint(r * 10 - v - 5));
    // Left alone the speed is a random walk and drifts, over a night, to crawling or
    // jumping lines: its size is reflected back at the ends of the starting speeds.
    int speed = std::abs(renewed);
    if (speed < kSlowestLine) speed = std::min(2 * kSlowestLine - speed, kFastestLine);
    if (speed > kFastestLine) speed = std::max(2 * kFastestLine - speed, kSlowestLine);
    return renewed < 0 ? -speed : speed;
}

namespace {

// Moves a colour component by its step; it turns at 255 and at 0.
void cycle(int& component, int& step) {
    component += step;
    if (component > 255) step = -step;
    if (component < 0) {
        step = -step;
        component = std::abs(component);
    }
}

unsigned rgbOf(int red, int green, int blue) {
    auto limit = [](int c) { return static_cast<unsigned>(std::clamp(c, 0, 255)); };
    return limit(red) << 16 | limit(green) << 8 | limit(blue);
}

}  // namespace

LineStep LinePattern::step(int width, int height, RandomSource& random) {
    const unsigned colour = rgbOf(LineRed, LineGreen, LineBlue);
    cycle(LineRed, StepRed);
    cycle(LineGreen, StepGreen);
    cycle(LineBlue, StepBlue);

    LineStep result;
    result.drawn = TrailLine{LineX1, LineY1, LineX2, LineY2, colour};
    result.erased = Trail.push(result.drawn);

    LineX1 += LineDX1;
    LineY1 += LineDY1;
    LineX2 += LineDX2;
    LineY2 += LineDY2;

    // The order of the tests fixes which velocity takes which random number. A point
    // outside that already heads back in keeps its velocity: turned again, it could
    // swing in and out beyond the edge and wander off.
    if (LineX1 > width && LineDX1 > 0) LineDX1 = renewVelocity(LineDX1, random.rnd());
    if (LineX2 > width && LineDX2 > 0) LineDX2 = renewVelocity(LineDX2, random.rnd());
    if (LineY1 > height && LineDY1 > 0) LineDY1 = renewVelocity(LineDY1, random.rnd());
    if (LineY2 > height && LineDY2 > 0) LineDY2 = renewVelocity(LineDY2, random.rnd());
    if (LineX1 < 0 && LineDX1 < 0) LineDX1 = renewVelocity(LineDX1, random.rnd());
    if (LineX2 < 0 && LineDX2 < 0) LineDX2 = renewVelocity(LineDX2, random.rnd());
    if (LineY1 < 0 && LineDY1 < 0) LineDY1 = renewVelocity(LineDY1, random.rnd());
    if (LineY2 < 0 && LineDY2 < 0) LineDY2 = renewVelocity(LineDY2, random.rnd());
    return result;
}

void LinePattern::fitInto(int width, int height) {
    // A point left far outside would turn back on every step and never come in again.
    width = std::max(width, 0);
    height = std::max(height, 0);
    LineX1 = std::clamp(LineX1, 0, width);
    LineX2 = std::clamp(LineX2, 0, width);
    LineY1 = std::clamp(LineY1, 0, height);
    LineY2 = std::clamp(LineY2, 0, height);
}

}  // namespace kelvorn
