// SPDX-License-Identifier: GPL-3.0-or-later
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
    // The socket and the lock file live in `folder`, which only this user may enter
    // (platform/private_folder.h).
    explicit SingleInstance(QString folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Claim {
        Claimed,       // this process is the only instance, and now listens for later ones
        Raised,        // another runs and has been asked to come to the front
        NotAnswering,  // another holds the lock but never took the request
        Failed,        // the lock could not be had at all (why(): the reason)
    };
    // A lock file decides between starts at the same moment, so exactly one instance
    // runs; a socket is removed only by the holder of the lock.
    Claim claim();
    // Why the last claim was not Claimed or Raised, for the user.
    const QString& why() const { return why_; }
    // Stops listening and gives the claim up: the socket and the lock file are removed.
    void release();

    QString socketPath() const;
    QString lockPath() const;

signals:
    // A later start asked this instance to come to the front.
    void raiseRequested();

private:
    bool askRunningToRaise(int waitMs);

    QString folder_;
    QString why_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace kelvorn
