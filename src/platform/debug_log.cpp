#include "platform/debug_log.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelvorn {

Q_LOGGING_CATEGORY(lcEvents, "kelvorn.events", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlayer, "kelvorn.player", QtInfoMsg)

namespace {
const auto processStart = std::chrono::steady_clock::now();
}

void enableDebugFromEnvironment() {
    const char* v = std::getenv("KELVORN_DEBUG");
    if (v && std::strcmp(v, "1") == 0) QLoggingCategory::setFilterRules(QStringLiteral("kelvorn.*.debug=true"));
}

bool debugEnabled() { return lcEvents().isDebugEnabled(); }

long long msSinceStart() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - processStart).count();
}

void debugEvent(const char* event, const std::string& detail) {
    if (!debugEnabled()) return;
    if (detail.empty()) qCDebug(lcEvents, "%s %lld", event, msSinceStart());
    else qCDebug(lcEvents, "%s %lld %s", event, msSinceStart(), detail.c_str());
}

void debugMessage(QtMsgType, const QMessageLogContext& context, const QString& message) {
    const bool ours = context.category && std::strncmp(context.category, "kelvorn.", 8) == 0;
    if (!ours && !debugEnabled()) return;  // the user sees no log
    std::fprintf(stderr, "kelvorn: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

}  // namespace kelvorn
