// SPDX-License-Identifier: GPL-3.0-or-later
// Counted event-loop passes: the pace of every wait and animation.
#include "platform/event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace kelvorn {

namespace {
// Passes closer together than this are skipped by yield(): a long scan would
// otherwise spend most of its time in the event loop.
constexpr long long kYieldIntervalNs = 15'000'000;
// Bound on a single delay, far beyond any real one, to keep the count a valid long.
constexpr double kMaxPasses = 1e12;
}  // namespace

long delayPasses(double k, double gfxSpeed) {
    const double quotient = k / gfxSpeed;
    if (!std::isfinite(quotient) || quotient < 0) return 0;
    return static_cast<long>(std::floor(std::min(quotient, kMaxPasses))) + 1;
}

void delayK(EventPump& pump, double k, double gfxSpeed) {
    for (long n = delayPasses(k, gfxSpeed); n > 0; --n) pump.pass();
}

QtEventPump::QtEventPump(int quantumMicroseconds) : quantum_(quantumMicroseconds) {}

namespace {
long long steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
// Passes are paced against a running deadline: each one adds a quantum, and the pump
// sleeps only once it is a whole millisecond ahead. Short sleeps would each overshoot
// by the kernel's timer slack, so sleeping per pass would make animations several
// times slower than intended.
constexpr long long kSleepChunkNs = 1'000'000;
// After a longer gap (no animation running, or a slow paint) the pace starts afresh
// rather than racing to catch up.
constexpr long long kResyncNs = 50'000'000;
constexpr long long kRunIntervalNs = 250'000;
// About one display frame: the wipe's 81 steps then take some 0.4 s.
constexpr long long kFrameNs = 5'000'000;
}  // namespace

void QtEventPump::pass() {
    // Running the event loop costs a few microseconds even when nothing is pending;
    // passes closer together than a quarter millisecond share one run, which keeps
    // long animations light on the processor.
    if (quantum_ <= 0 || steadyNs() - lastRunNs_ >= kRunIntervalNs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        lastRunNs_ = steadyNs();
    }
    if (quantum_ <= 0) return;
    const long long now = steadyNs();
    if (now - paceNs_ > kResyncNs) paceNs_ = now;
    paceNs_ += quantum_ * 1000LL;
    if (paceNs_ - now >= kSleepChunkNs) std::this_thread::sleep_for(std::chrono::nanoseconds(paceNs_ - now));
}

void QtEventPump::frame() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);  // paints the step
    const long long now = steadyNs();
    const long long due = lastFrameNs_ + kFrameNs;
    if (due > now && due - now <= kFrameNs) std::this_thread::sleep_for(std::chrono::nanoseconds(due - now));
    lastFrameNs_ = lastRunNs_ = steadyNs();
}

void QtEventPump::yield() {
    const long long now = steadyNs();
    if (lastYieldNs_ != 0 && now - lastYieldNs_ < kYieldIntervalNs) return;
    lastYieldNs_ = now;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace kelvorn
