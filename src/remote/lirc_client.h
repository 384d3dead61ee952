// SPDX-License-Identifier: GPL-3.0-or-later
// Button presses of an infrared remote, read from the LIRC daemon (lircd).
#pragma once
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <string>

#include "remote/lirc_buttons.h"

class QLocalSocket;
class QTimer;

namespace kelvorn {

// Connects to lircd's socket and turns its button events into key texts. Without a
// daemon, or after the daemon closed the connection, it tries again every `retryMs`
// without ever blocking the event loop; the remote simply does nothing meanwhile.
class LircClient : public QObject {
    Q_OBJECT
public:
    static constexpr int kRetryMs = 2000;

    // Reads Remote.kvx of `workDir` once. `currentKeys` gives the five configurable keys
    // at the moment of each press.
    LircClient(const std::string& workDir, std::function<RemoteKeys()> currentKeys, int retryMs = kRetryMs,
               QObject* parent = nullptr);

    // Starts connecting; later attempts follow by themselves.
    void start();

    // $LIRC_SOCKET_PATH, /run/lirc/lircd or /var/run/lirc/lircd: the first that exists,
    // empty when none does.
    static QString socketPath();

signals:
    // One accepted press: the text the key would type on the keyboard. Never emitted
    // while the handling of an earlier press still runs.
    void keyPressed(const QString& text);

private:
    void connectNow();
    void readEvents();
    void deliver();

    RemoteButtonMap buttons_;
    std::function<RemoteKeys()> currentKeys_;
    LircLineReader reader_;
    std::deque<QString> pending_;  // presses not handled yet, oldest first
    bool delivering_ = false;
    QLocalSocket* socket_ = nullptr;
    QTimer* retry_ = nullptr;
};

}  // namespace kelvorn
