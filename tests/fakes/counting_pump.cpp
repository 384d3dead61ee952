#include "fakes/counting_pump.h"

#include <QCoreApplication>

namespace kelvorn {

void CountingPump::pass() {
    ++passes;
    if (runQtEvents)
        QCoreApplication::processEvents();
    if (onPass)
        onPass();
}

void CountingPump::yield() {
    ++yields;
    if (runQtEvents)
        QCoreApplication::processEvents();
    if (onYield)
        onYield();
}

}  // namespace kelvorn
