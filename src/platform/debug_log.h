// Developer diagnostics on stderr, only when KELVORN_DEBUG=1 is set; silent otherwise.
#pragma once
#include <string>

namespace kelvorn {

bool debugEnabled();
// Milliseconds since the process started (monotonic).
long long msSinceStart();
// Prints "kelvorn: <event> <ms since start>[ <detail>]" when enabled.
void debugEvent(const char* event, const std::string& detail = {});

}  // namespace kelvorn
