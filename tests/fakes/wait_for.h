// SPDX-License-Identifier: GPL-3.0-or-later
// Runs pending events until a condition holds, for tests on the real player.
#pragma once
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace kelvorn {

// False when the time runs out first.
template <class Condition>
bool waitFor(Condition done, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    for (; !done(); QThread::msleep(5)) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents();
    }
    return true;
}

}  // namespace kelvorn
