// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-sequence generator (splitmix64).
#include "platform/random_source.h"

namespace kelvorn {

double FixedSequenceRandom::rnd() {
    state_ += 0x9e3779b97f4a7c15ULL;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    z ^= z >> 31;
    // The top 53 bits as a fraction: exactly representable, never 1.
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

}  // namespace kelvorn
