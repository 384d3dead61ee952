// SPDX-License-Identifier: GPL-3.0-or-later
// The black screen's moving line pattern without widgets: two end points bouncing
// off the window edges, a slowly cycling colour, and the trail of the last 500 lines.
#pragma once
#include <array>
#include <optional>

namespace kelvorn {

class RandomSource;

// One drawn line in twips, with its colour as 0xRRGGBB.
struct TrailLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    unsigned colour = 0;
    bool operator==(const TrailLine&) const = default;
};

// Fixed-capacity first-in first-out store of the lines on the screen.
class LineTrail {
public:
    static constexpr int kCapacity = 500;

    // Appends `line`; when the trail is full the oldest line is dropped and returned
    // so that the caller can take it off the screen.
    std::optional<TrailLine> push(const TrailLine& line);
    void clear();
    int TrailCount() const { return count_; }
    // Line `i`, 0 being the oldest; `i` must lie in [0, TrailCount()).
    const TrailLine& at(int i) const;

private:
    std::array<TrailLine, kCapacity> ring_{};
    int oldest_ = 0;
    int count_ = 0;
};

// The range of the starting speeds, in twips per step.
constexpr int kSlowestLine = 100;
constexpr int kFastestLine = 300;

// A velocity renewed at an edge: r * 10 - v - 5, rounded half to even, r in [0, 1);
// the old velocity reversed and changed by -5 to +5, its size kept within
// kSlowestLine..kFastestLine by reflection at those ends.
int renewVelocity(int v, double r);

// What one animation step asks to be drawn.
struct LineStep {
    TrailLine drawn;                  // the new line
    std::optional<TrailLine> erased;  // the oldest line, to be taken off the screen
};

// The animation state of the black screen. Positions are kept wider than 16 bits
// so that a point far outside a shrunken window can never overflow.
class LinePattern {
public:
    // One animation step on a window of `width` x `height` twips.
    LineStep step(int width, int height, RandomSource& random);
    // Empties the trail; the points, velocities and colours carry on.
    void clearTrail() { Trail.clear(); }
    // Brings end points that lie outside a (new, smaller) window back onto its edge.
    void fitInto(int width, int height);

    int LineX1 = 0, LineY1 = 0;
    int LineX2 = 0, LineY2 = 0;
    int LineDX1 = 100, LineDY1 = 160;
    int LineDX2 = 300, LineDY2 = 280;
    int LineRed = 5, LineGreen = 6, LineBlue = 7;
    int StepRed = 5, StepGreen = 6, StepBlue = 7;
    LineTrail Trail;
};

}  // namespace kelvorn
