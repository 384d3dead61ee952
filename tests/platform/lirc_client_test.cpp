// The infrared remote through lircd: a fake daemon that starts late, sends lines in odd
// pieces, leaves and comes back.
#include "platform/lirc_client.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "fakes/wait_for.h"

using namespace kelvorn;

namespace {

const RemoteKeys kDefaultKeys{"q", "a", "c", "x", "#"};

// A daemon on a private socket, announced to the client through LIRC_SOCKET_PATH.
struct FakeLircd {
    QTemporaryDir dir;
    QString path = dir.filePath("lircd");
    QByteArray savedPath = qgetenv("LIRC_SOCKET_PATH");
    bool hadPath = qEnvironmentVariableIsSet("LIRC_SOCKET_PATH");
    QLocalServer server;
    QLocalSocket* client = nullptr;

    FakeLircd() { qputenv("LIRC_SOCKET_PATH", path.toUtf8()); }
    ~FakeLircd() {
        if (hadPath) qputenv("LIRC_SOCKET_PATH", savedPath);
        else qunsetenv("LIRC_SOCKET_PATH");
    }
    bool awaitClient() {
        return waitFor([&] { return (client = server.nextPendingConnection()) != nullptr; }, 2000);
    }
    void send(const QByteArray& bytes) {
        client->write(bytes);
        client->flush();
    }
    void leave() {  // the daemon stops: its socket file goes with it
        client->disconnectFromServer();
        server.close();
    }
};

}  // namespace

TEST(LircClient, ReadsEventsFromADaemonThatStartsLate) {
    FakeLircd lircd;
    QFile remoteFile(lircd.dir.filePath("Remote.kvx"));
    ASSERT_TRUE(remoteFile.open(QIODevice::WriteOnly) && remoteFile.write("KEY_HOME=200\n") > 0);
    remoteFile.close();
    RemoteKeys keys = kDefaultKeys;
    LircClient lirc(lircd.dir.path().toStdString(), [&] { return keys; }, 50);
    QString typed;
    QObject::connect(&lirc, &LircClient::keyPressed, [&](const QString& text) { typed += text; });
    lirc.start();
    waitFor([] { return false; }, 150);  // no daemon yet: a few quiet attempts
    ASSERT_TRUE(lircd.server.listen(lircd.path));
    ASSERT_TRUE(lircd.awaitClient());

    lircd.send("BEGIN\nSIGHUP\nEND\n0 00 KEY_1 r\n0 00 KEY_U");  // merged, then split
    lircd.send("P r\n0 01 KEY_UP r\n0 01 KEY_1 r\n");
    lircd.send(QByteArray(3000, 'z') + "\n" + QByteArray("\0\xff\n0 00 KEY_OK r\n", 17));
    ASSERT_TRUE(waitFor([&] { return typed.size() >= 4; }, 2000)) << typed.toStdString();
    keys.up = "w";  // the keys are read at each press
    lircd.send("0 00 KEY_UP r\n0 00 KEY_NOTHING r\n0 00 KEY_2 r\n0 00 KEY_HOME r\n");
    ASSERT_TRUE(waitFor([&] { return typed.size() >= 7; }, 2000));
    EXPECT_EQ(typed, "1qqcw2" + QString(QChar(0xC8)));  // code 200 types the character 200
}

TEST(LircClient, ComesBackAfterTheDaemonLeavesAndForgetsItsPartialLine) {
    FakeLircd lircd;
    LircClient lirc(lircd.dir.path().toStdString(), [] { return kDefaultKeys; }, 50);
    QString typed;
    QObject::connect(&lirc, &LircClient::keyPressed, [&](const QString& text) { typed += text; });
    ASSERT_TRUE(lircd.server.listen(lircd.path));
    lirc.start();
    ASSERT_TRUE(lircd.awaitClient());
    // Each daemon sends and leaves at once; "1 r" must not complete the first one's "KEY_".
    const char* sessions[] = {"0 00 KEY_5 r\n0 00 KEY_", "1 r\n0 00 KEY_6 r\n", "0 00 KEY_7 r\n"};
    for (const char* bytes : sessions) {
        if (bytes != sessions[0]) {
            lircd.leave();
            waitFor([] { return false; }, 150);  // attempts while no daemon listens
            ASSERT_TRUE(lircd.server.listen(lircd.path));
            ASSERT_TRUE(lircd.awaitClient()) << bytes;
        }
        lircd.send(bytes);
    }
    ASSERT_TRUE(waitFor([&] { return typed.endsWith('7'); }, 2000)) << typed.toStdString();
    EXPECT_EQ(typed, "567");
}
