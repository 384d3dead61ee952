// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM (a service manager stopping the program), SIGINT and SIGHUP, turned into a
// request on the GUI thread, so the program ends the way its exit action ends it; and
// SIGPIPE ignored, so a reader that went away (a sound server, a socket) ends nothing.
#pragma once
#include <QObject>

class QSocketNotifier;

namespace kelvorn {

class ExitSignals : public QObject {
    Q_OBJECT
public:
    // A GUI thread held up elsewhere still ends the program this long after the signal,
    // with status 0 as a stop asks for.
    static constexpr unsigned kGraceSeconds = 2;

    // Installs the handlers; at most one object at a time. The destructor restores the
    // default handling.
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;

signals:
    void exitRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kelvorn
