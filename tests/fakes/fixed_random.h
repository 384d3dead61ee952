// Random source for tests: returns the given values in order, starting over at the end.
#pragma once
#include "platform/random_source.h"

#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

namespace kelvorn {

class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom(std::initializer_list<double> sequence) : values(sequence) {}
    explicit ScriptedRandom(std::vector<double> sequence = {}) : values(std::move(sequence)) {}

    // 0 when no values are given.
    double rnd() override {
        ++calls;
        if (values.empty())
            return 0;
        return values[next_++ % values.size()];
    }

    std::vector<double> values;
    long calls = 0;

private:
    std::size_t next_ = 0;
};

}  // namespace kelvorn
