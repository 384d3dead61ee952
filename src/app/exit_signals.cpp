// SPDX-License-Identifier: GPL-3.0-or-later
// A signal handler may do almost nothing: it writes one byte to a socket pair whose
// other end the event loop watches.
#include "app/exit_signals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>

namespace kelvorn {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int pipeEnds[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    const ssize_t written = ::write(pipeEnds[0], &byte, 1);
    (void)written;  // a full pipe already holds a request
    ::alarm(ExitSignals::kGraceSeconds);
}

// The event loop did not take the request in time: end here, as a stop would.
void onGraceOver(int) { ::_exit(0); }

}  // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) return;
    notifier_ = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(pipeEnds[1], bytes, sizeof bytes) > 0) {}
        emit exitRequested();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : kSignals) ::sigaction(sig, &action, nullptr);
    action.sa_handler = onGraceOver;
    ::sigaction(SIGALRM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

ExitSignals::~ExitSignals() {
    ::alarm(0);
    for (const int sig : kSignals) std::signal(sig, SIG_DFL);
    std::signal(SIGALRM, SIG_DFL);
    delete notifier_;
    for (int& end : pipeEnds) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

}  // namespace kelvorn
