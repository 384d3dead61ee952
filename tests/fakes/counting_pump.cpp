#include "fakes/counting_pump.h"

namespace kelvorn {

void CountingPump::pass() {
    ++passes;
    if (onPass) onPass();
}

void CountingPump::yield() {
    ++yields;
    if (onYield) onYield();
}

}  // namespace kelvorn
