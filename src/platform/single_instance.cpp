// One running instance per user, over a local socket.
#include "platform/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <unistd.h>

namespace kelvorn {

namespace {
constexpr int kConnectWaitMs = 300;
constexpr int kRetryMs = 50;
constexpr int kStartingWaitMs = 3000;
constexpr qint64 kMaxRequestBytes = 64;  // "raise\n"; anything longer is not ours
}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() { release(); }

QString SingleInstance::defaultName() { return QStringLiteral("kelvorn-") + QString::number(::getuid()); }

QString SingleInstance::lockPath(const QString& name) {
    return QDir::tempPath() + QLatin1Char('/') + name + QStringLiteral(".lock");
}

bool SingleInstance::askRunningToRaise(int waitMs) {
    QDeadlineTimer deadline(waitMs);
    do {
        QLocalSocket socket;
        socket.connectToServer(name_);
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

bool SingleInstance::claim() {
    lock_ = std::make_unique<QLockFile>(lockPath(name_));
    lock_->setStaleLockTime(0);  // stale only when its process is gone, never by age
    if (!lock_->tryLock(0) && lock_->error() == QLockFile::LockFailedError) {
        // Another instance runs or is starting: it keeps its socket, this one ends.
        lock_.reset();
        askRunningToRaise(kStartingWaitMs);
        return false;
    }
    // Holding the lock, no other instance lives: a socket left by a crashed one would
    // block listen().
    QLocalServer::removeServer(name_);
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
    server_->listen(name_);
    return true;
}

void SingleInstance::release() {
    if (server_) server_->close();  // removes the socket file
    delete server_;
    server_ = nullptr;
    lock_.reset();  // unlocks and removes the lock file
}

}  // namespace kelvorn
