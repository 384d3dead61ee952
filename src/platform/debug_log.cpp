#include "platform/debug_log.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelvorn {

namespace {
const auto processStart = std::chrono::steady_clock::now();
}

bool debugEnabled() {
    static const bool enabled = [] {
        const char* v = std::getenv("KELVORN_DEBUG");
        return v && std::strcmp(v, "1") == 0;
    }();
    return enabled;
}

long long msSinceStart() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - processStart).count();
}

void debugEvent(const char* event, const std::string& detail) {
    if (!debugEnabled()) return;
    if (detail.empty()) std::fprintf(stderr, "kelvorn: %s %lld\n", event, msSinceStart());
    else std::fprintf(stderr, "kelvorn: %s %lld %s\n", event, msSinceStart(), detail.c_str());
    std::fflush(stderr);
}

}  // namespace kelvorn
