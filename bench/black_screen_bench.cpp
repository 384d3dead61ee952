// SPDX-License-Identifier: GPL-3.0-or-later
// The black screen's line pattern at 1024 x 768: one step draws a line into the retained
// drawing and takes the oldest off, as the 10 ms animation timer does, without painting.
#include <benchmark/benchmark.h>

#include <QImage>

#include "alarm/line_trail.h"
#include "alarm/xor_line.h"
#include "platform/random_source.h"

namespace {

using namespace kelvorn;

void BM_LineStep(benchmark::State& state) {
    const double scale = 1024 / 12000.0;
    QImage drawing(1024, 768, QImage::Format_RGB32);
    drawing.fill(Qt::black);
    LinePattern pattern;
    FixedSequenceRandom random;
    for (int i = 0; i < LineTrail::kCapacity; ++i) xorLine(drawing, pattern.step(12000, 9000, random).drawn, scale);
    long boxes = 0;
    for (auto _ : state) {
        const LineStep step = pattern.step(12000, 9000, random);
        QRegion changed = xorLine(drawing, step.drawn, scale);
        if (step.erased) changed += xorLine(drawing, *step.erased, scale);
        boxes += changed.rectCount();
        benchmark::DoNotOptimize(changed);
    }
    state.counters["boxes"] = benchmark::Counter(static_cast<double>(boxes), benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(BM_LineStep)->Unit(benchmark::kMicrosecond);
