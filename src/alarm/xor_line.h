// SPDX-License-Identifier: GPL-3.0-or-later
// One line of the black screen's pattern, drawn exclusive-or into its retained drawing.
#pragma once
#include <QImage>
#include <QRegion>

#include "alarm/line_trail.h"

namespace kelvorn {

// Draws `line` (in twips, scaled by `pxPerTwip`) exclusive-or onto the 32-bit `image`, one
// pixel of the 15-twip grid wide, and returns the pixels it changed as short boxes along
// the line, within the image. The same line drawn again takes itself off and leaves the
// lines it crossed as they were, so the oldest line goes at the cost of one line.
QRegion xorLine(QImage& image, const TrailLine& line, double pxPerTwip);

}  // namespace kelvorn
