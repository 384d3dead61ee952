// SPDX-License-Identifier: GPL-3.0-or-later
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
// Qt's first complaint about its platform plugin: when the start then fails, it says why
// ("could not connect to display"); later ones only follow from it.
QString platformWarning;

// The first sentence of a fatal message, on one line.
QString firstSentence(const QString& message) {
    const QString line = message.section(QLatin1Char('\n'), 0, 0).trimmed();
    const qsizetype end = line.indexOf(QLatin1String(". "));
    return end < 0 ? line : line.left(end);
}
}  // namespace

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

void cannotStart(const std::string& why) {
    std::fprintf(stderr, "kelvorn: cannot start: %s\n", why.c_str());
    std::fflush(stderr);
}

void debugMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        QString why = firstSentence(message);
        if (!platformWarning.isEmpty()) why = platformWarning + QStringLiteral(" (") + why + QLatin1Char(')');
        cannotStart(why.toLocal8Bit().toStdString());
        std::_Exit(EXIT_FAILURE);  // a plain error status, not an abort with a core dump
    }
    if (platformWarning.isEmpty() && type != QtDebugMsg && type != QtInfoMsg && context.category &&
        std::strncmp(context.category, "qt.qpa", 6) == 0)
        platformWarning = message.simplified();
    const bool ours = context.category && std::strncmp(context.category, "kelvorn.", 8) == 0;
    if (!ours && !debugEnabled()) return;  // the user sees no log
    std::fprintf(stderr, "kelvorn: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

}  // namespace kelvorn
