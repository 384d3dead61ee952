// SPDX-License-Identifier: GPL-3.0-or-later
// Random source for tests: returns the given values in order, starting over at the end.
#pragma once
#include "platform/random_source.h"

#include <cstddef>
#include <vector>

namespace kelvorn {

class ScriptedRandom : public RandomSource {
public:
    // 0 when no values are given.
    double rnd() override {
        if (values.empty()) return 0;
        return values[next_++ % values.size()];
    }

    std::vector<double> values;

private:
    std::size_t next_ = 0;
};

}  // namespace kelvorn
