// SPDX-License-Identifier: GPL-3.0-or-later
// One running instance per user, over a local socket in a folder of the user's own.
#include "app/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <cerrno>

namespace kelvorn {

namespace {
constexpr int kConnectWaitMs = 300;
constexpr int kRetryMs = 50;
constexpr int kStartingWaitMs = 3000;
constexpr qint64 kMaxRequestBytes = 64;  // "raise\n"; anything longer is not ours

}  // namespace

SingleInstance::SingleInstance(QString folder, QObject* parent) : QObject(parent), folder_(std::move(folder)) {}

SingleInstance::~SingleInstance() { release(); }

QString SingleInstance::socketPath() const { return folder_ + QStringLiteral("/kelvorn.socket"); }

QString SingleInstance::lockPath() const { return folder_ + QStringLiteral("/kelvorn.lock"); }

bool SingleInstance::askRunningToRaise(int waitMs) {
    QDeadlineTimer deadline(waitMs);
    do {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(kConnectWaitMs)) {
            socket.write("raise\n");
            socket.flush();
            socket.waitForBytesWritten(kConnectWaitMs);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(kRetryMs);  // an instance starting at the same moment is not listening yet
    } while (!deadline.hasExpired());
    return false;
}

SingleInstance::Claim SingleInstance::claim() {
    why_.clear();
    lock_ = std::make_unique<QLockFile>(lockPath());
    lock_->setStaleLockTime(0);  // stale only when its process is gone, never by age
    if (!lock_->tryLock(0)) {
        const QLockFile::LockError error = lock_->error();
        lock_.reset();
        if (error == QLockFile::LockFailedError) {
            // Another instance runs or is starting: it keeps its socket, this one ends.
            if (askRunningToRaise(kStartingWaitMs)) return Claim::Raised;
            why_ = QStringLiteral("another instance holds %1 but does not answer").arg(lockPath());
            return Claim::NotAnswering;
        }
        // Nobody is known to run: neither take over nor remove anything.
        why_ = QStringLiteral("the lock file %1 could not be made (%2)")
                   .arg(lockPath(), error == QLockFile::PermissionError ? QStringLiteral("permission denied")
                                                                        : QStringLiteral("unknown error"));
        return Claim::Failed;
    }
    // Holding the lock, no other instance lives: a socket left by a crashed one would
    // block listen().
    QLocalServer::removeServer(socketPath());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            auto readRequest = [this, client] {
                if (!client->canReadLine() && client->bytesAvailable() < kMaxRequestBytes) return;
                const QByteArray request = client->readLine(kMaxRequestBytes).trimmed();
                client->disconnectFromServer();
                if (request == "raise") emit raiseRequested();
            };
            connect(client, &QLocalSocket::readyRead, client, readRequest);
            readRequest();  // the request may have arrived with the connection
        }
    });
    // Failing to listen only costs the raise of later starts; never block this one.
    server_->listen(socketPath());
    return Claim::Claimed;
}

void SingleInstance::release() {
    if (server_) server_->close();  // removes the socket file
    delete server_;
    server_ = nullptr;
    lock_.reset();  // unlocks and removes the lock file
}

}  // namespace kelvorn
