// One running jukebox per user: a second start brings the first to the front.
#pragma once
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

namespace kelvorn {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;
    // True when this process is the only instance (and now listens for later ones);
    // false when another runs: it has been asked to come to the front. A lock file
    // decides between starts at the same moment, so exactly one instance runs and a
    // live instance's socket is never removed.
    bool claim();
    // Stops listening and gives the claim up: the socket and the lock file are removed.
    void release();

    static QString defaultName();
    // The lock file that guards the claim of `name`, beside its socket.
    static QString lockPath(const QString& name);

signals:
    // A later start asked this instance to come to the front.
    void raiseRequested();

private:
    bool askRunningToRaise(int waitMs);

    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace kelvorn
