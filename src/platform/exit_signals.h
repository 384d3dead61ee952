// SIGTERM (a service manager stopping the program), SIGINT and SIGHUP, turned into a
// request on the GUI thread, so the program ends the way its exit action ends it.
#pragma once
#include <QObject>

class QSocketNotifier;

namespace kelvorn {

class ExitSignals : public QObject {
    Q_OBJECT
public:
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
