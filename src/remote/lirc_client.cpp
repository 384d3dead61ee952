// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/lirc_client.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QScopedValueRollback>
#include <QTimer>

namespace kelvorn {

namespace {

// Key settings hold one byte per character code up to 255, as a typed key reads them.
QString keyText(const std::string& key) {
    if (key.size() == 1) return QString(QChar(static_cast<unsigned char>(key[0])));
    return QString::fromStdString(key);
}

}  // namespace

LircClient::LircClient(const std::string& workDir, std::function<RemoteKeys()> currentKeys, int retryMs,
                       QObject* parent)
    : QObject(parent),
      buttons_(readRemoteButtons(workDir)),
      currentKeys_(std::move(currentKeys)),
      socket_(new QLocalSocket(this)),
      retry_(new QTimer(this)) {
    retry_->setSingleShot(true);
    retry_->setInterval(retryMs);
    connect(retry_, &QTimer::timeout, this, &LircClient::connectNow);
    connect(socket_, &QLocalSocket::readyRead, this, &LircClient::readEvents);
    // A failed attempt reports an error, a lost daemon an error and the disconnection:
    // either way the next attempt waits for the timer, restarting it is harmless.
    connect(socket_, &QLocalSocket::errorOccurred, retry_, qOverload<>(&QTimer::start));
    connect(socket_, &QLocalSocket::disconnected, this, [this] {
        readEvents();  // events sent just before the daemon went away
        retry_->start();
    });
}

void LircClient::start() { connectNow(); }

QString LircClient::socketPath() {
    QStringList candidates{QStringLiteral("/run/lirc/lircd"), QStringLiteral("/var/run/lirc/lircd")};
    const QString chosen = qEnvironmentVariable("LIRC_SOCKET_PATH");
    if (!chosen.isEmpty()) candidates.prepend(chosen);
    for (const QString& path : candidates)
        if (QFileInfo::exists(path)) return path;
    return {};
}

void LircClient::connectNow() {
    if (socket_->state() != QLocalSocket::UnconnectedState) return;  // connected, or an attempt runs
    const QString path = socketPath();
    if (path.isEmpty()) {
        retry_->start();
        return;
    }
    reader_.clear();                 // a line cut off with the last connection never ends in this one
    socket_->connectToServer(path);  // asynchronous: a failure comes as errorOccurred
}

void LircClient::readEvents() {
    // The socket does not tell of bytes that came while a press was handled in a nested
    // loop inside this slot: they are read once it is done.
    do {
        const QByteArray bytes = socket_->readAll();
        const auto size = static_cast<size_t>(bytes.size());
        for (const std::string& line : reader_.feed(std::string_view(bytes.constData(), size))) {
            const std::optional<LircEvent> event = parseLircLine(line);
            if (!event) continue;
            const std::string key = keyForEvent(buttons_, *event, currentKeys_ ? currentKeys_() : RemoteKeys{});
            if (!key.empty()) pending_.push_back(keyText(key));
        }
        deliver();
    } while (!delivering_ && socket_->bytesAvailable() > 0);
}

// A press may run a nested event loop (a list's flash, a transition), in which more
// presses arrive: they wait for it, so presses are handled one at a time, in order.
void LircClient::deliver() {
    if (delivering_) return;
    const QScopedValueRollback delivering(delivering_, true);
    while (!pending_.empty()) {
        const QString key = pending_.front();
        pending_.pop_front();
        emit keyPressed(key);
    }
}

}  // namespace kelvorn
