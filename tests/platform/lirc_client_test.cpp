// The infrared remote through a fake lircd that starts late, sends lines in odd pieces,
// leaves and comes back.
#include "platform/lirc_client.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "fakes/wait_for.h"

using namespace kelvorn;

namespace {

// Points the client at the fake daemon; the old LIRC_SOCKET_PATH comes back afterwards.
struct SocketPathOverride {
    const char* name = "LIRC_SOCKET_PATH";
    bool wasSet = qEnvironmentVariableIsSet(name);
    QByteArray saved = qgetenv(name);
    explicit SocketPathOverride(const QString& path) { qputenv(name, path.toUtf8()); }
    ~SocketPathOverride() { wasSet ? void(qputenv(name, saved)) : void(qunsetenv(name)); }
};

}  // namespace

TEST(LircClient, FollowsADaemonThatStartsLateLeavesAndComesBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("lircd");
    const SocketPathOverride socketPath(path);
    QFile remoteFile(dir.filePath("Remote.kvx"));
    ASSERT_TRUE(remoteFile.open(QIODevice::WriteOnly) && remoteFile.write("KEY_HOME=200\n") > 0);
    remoteFile.close();
    RemoteKeys keys{"q", "a", "c", "x", "#"};
    LircClient lirc(dir.path().toStdString(), [&] { return keys; }, 50);
    QString typed;
    QObject::connect(&lirc, &LircClient::keyPressed, [&](const QString& text) { typed += text; });

    int attempts = 0;  // the client's retries, seen on its retry timer
    QObject::connect(lirc.findChild<QTimer*>(), &QTimer::timeout, [&] { ++attempts; });
    QLocalServer daemon;
    QLocalSocket* peer = nullptr;
    auto daemonStarts = [&] {
        const int before = attempts;  // the client tries again meanwhile, without a daemon
        return waitFor([&] { return attempts > before + 1; }, 2000) && daemon.listen(path) &&
               waitFor([&] { return (peer = daemon.nextPendingConnection()); }, 2000);
    };
    auto sends = [&](const QByteArray& bytes, const QString& typedAfter) {
        peer->write(bytes);
        peer->flush();
        return waitFor([&] { return typed == typedAfter; }, 2000);
    };
    lirc.start();
    ASSERT_TRUE(daemonStarts());
    ASSERT_TRUE(sends("BEGIN\nSIGHUP\nEND\n0 00 KEY_1 r\n0 00 KEY_U", "1")) << typed.toStdString();
    ASSERT_TRUE(sends("P r\n0 01 KEY_UP r\n0 01 KEY_1 r\n", "1qq")) << typed.toStdString();
    // NUL bytes, invalid UTF-8 and an overlong line that ends like an event type nothing.
    ASSERT_TRUE(sends(QByteArray("\0\xff\n", 3) + QByteArray(2000, ' ') + "0 00 KEY_9 r\n0 00 KEY_OK r\n0 00 KEY_",
                      "1qqc")) << typed.toStdString();
    peer->disconnectFromServer();
    daemon.close();  // the daemon stops; its socket file goes with it
    keys = {"w", "a", "c", "x", "#"};  // the keys are read at each press
    ASSERT_TRUE(daemonStarts());
    // "1 r" must not complete the old connection's "KEY_"; code 200 types the character 200.
    EXPECT_TRUE(sends("1 r\n0 00 KEY_UP r\n0 00 KEY_HOME r\n", "1qqcw" + QString(QChar(0xC8)))) << typed.toStdString();
}
