// Developer diagnostics: one family of logging categories, "kelvorn.*", off by default.
// KELVORN_DEBUG=1 (or QT_LOGGING_RULES="kelvorn.*.debug=true") turns it on; the program
// then writes its events to stderr, the lines the tests and benchmarks read.
#pragma once
#include <QLoggingCategory>
#include <string>

namespace kelvorn {

Q_DECLARE_LOGGING_CATEGORY(lcEvents)  // "kelvorn.events": start-up steps, songs, notices
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)  // "kelvorn.player": mpv's own messages and failed calls

// Turns the family on when KELVORN_DEBUG=1 is set; call once, early in main.
void enableDebugFromEnvironment();
bool debugEnabled();
// Milliseconds since the process started (monotonic).
long long msSinceStart();
// Logs "<event> <ms since start>[ <detail>]" under kelvorn.events.
void debugEvent(const char* event, const std::string& detail = {});
// Writes messages of the family to stderr as "kelvorn: <message>", and Qt's own only
// while the family is on; install with qInstallMessageHandler.
void debugMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);

}  // namespace kelvorn
