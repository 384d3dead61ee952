// SPDX-License-Identifier: GPL-3.0-or-later
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
// while the family is on; install with qInstallMessageHandler. A fatal message of Qt's
// (no display, no platform plugin) is told as a start that cannot run, and the program
// ends with status 1 instead of an abort.
void debugMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);
// Tells the user why the program cannot run: one line "kelvorn: cannot start: <why>" on
// stderr (the service's journal), also without the debug switch.
void cannotStart(const std::string& why);

}  // namespace kelvorn
