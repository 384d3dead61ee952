// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarm/xor_line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace kelvorn {

namespace {

// The most steps along the line that one repaint box covers. Shorter boxes hug the line
// closer; every box is one more rectangle for the window system to copy.
constexpr int kPieceSteps = 64;

int toPixel(int twips, double pxPerTwip) { return static_cast<int>(std::lround(twips * pxPerTwip)); }

}  // namespace

QRegion xorLine(QImage& image, const TrailLine& line, double pxPerTwip) {
    if (image.depth() != 32 || image.isNull()) return {};
    const int pen = std::max(1, toPixel(15, pxPerTwip));
    const auto colour = static_cast<QRgb>(line.colour & 0xFFFFFFu);  // the alpha byte stays
    int u0 = toPixel(line.x1, pxPerTwip), v0 = toPixel(line.y1, pxPerTwip);
    int u1 = toPixel(line.x2, pxPerTwip), v1 = toPixel(line.y2, pxPerTwip);
    // Walk along the longer axis (u) from its lower end; the pen spans the other axis (v).
    const bool steep = std::abs(v1 - v0) > std::abs(u1 - u0);
    if (steep) {
        std::swap(u0, v0);
        std::swap(u1, v1);
    }
    if (u0 > u1) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const int uLimit = steep ? image.height() : image.width();
    const int vLimit = steep ? image.width() : image.height();
    const int before = (pen - 1) / 2;  // pen pixels on the lower side of the centre
    const int after = pen / 2;
    auto* const bits = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / 4;
    const int du = u1 - u0;
    const int dv = std::abs(v1 - v0);
    const int sv = v0 < v1 ? 1 : -1;

    QRegion touched;
    auto addBox = [&](int uFrom, int uTo, int vLow, int vHigh) {
        const QRect box =
            steep ? QRect(QPoint(vLow, uFrom), QPoint(vHigh, uTo)) : QRect(QPoint(uFrom, vLow), QPoint(uTo, vHigh));
        touched += box & image.rect();
    };
    int error = du / 2;
    int v = v0;
    int pieceStart = u0;
    int pieceLow = v - before;
    int pieceHigh = v + after;
    for (int u = u0; u <= u1; ++u) {
        if (u - pieceStart == kPieceSteps) {
            addBox(pieceStart, u - 1, pieceLow, pieceHigh);
            pieceStart = u;
            pieceLow = v - before;
            pieceHigh = v + after;
        }
        pieceLow = std::min(pieceLow, v - before);
        pieceHigh = std::max(pieceHigh, v + after);
        if (u >= 0 && u < uLimit) {
            const int low = std::max(0, v - before);
            const int high = std::min(vLimit - 1, v + after);
            for (int w = low; w <= high; ++w) {
                QRgb& pixel = steep ? bits[u * stride + w] : bits[w * stride + u];
                pixel ^= colour;
            }
        }
        error -= dv;
        if (error < 0) {
            v += sv;
            error += du;
        }
    }
    addBox(pieceStart, u1, pieceLow, pieceHigh);
    return touched;
}

}  // namespace kelvorn
