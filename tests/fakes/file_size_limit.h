// SPDX-License-Identifier: GPL-3.0-or-later
// Runs `write` under a small file size limit (its signal ignored): writes fail part-way, even for root.
#pragma once
#include <sys/resource.h>

#include <csignal>

namespace kelvorn {

template <class Write>
bool underFileSizeLimit(rlim_t bytes, Write write) {
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0) return true;  // reported as "written": the test fails
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    const bool limited = setrlimit(RLIMIT_FSIZE, &small) == 0;
    const bool written = limited ? write() : true;
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return written;
}

}  // namespace kelvorn
