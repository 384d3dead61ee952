// One running instance per user, over a local socket.
#include "platform/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace kelvorn {

namespace {
constexpr int kConnectWaitMs = 300;
constexpr qint64 kMaxRequestBytes = 64;  // "raise\n"; anything longer is not ours
}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

QString SingleInstance::defaultName() {
    return QStringLiteral("kelvorn-") + QString::number(::getuid());
}

bool SingleInstance::claim() {
    {
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (socket.waitForConnected(kConnectWaitMs)) {
            socket.write("raise\n");
            socket.flush();
            socket.waitForBytesWritten(kConnectWaitMs);
            socket.disconnectFromServer();
            return false;
        }
    }

    // Nobody answered: a socket left by a crashed instance would block listen().
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

}  // namespace kelvorn
