// SPDX-License-Identifier: GPL-3.0-or-later
// The never-seeded random generator: the same sequence after every start.
#pragma once
#include <cstdint>

namespace kelvorn {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Uniform in [0, 1).
    virtual double rnd() = 0;
};

class FixedSequenceRandom : public RandomSource {
public:
    double rnd() override;

private:
    uint64_t state_ = 0x853c49e6748fea9bULL;  // fixed start: never seeded from the clock
};

}  // namespace kelvorn
