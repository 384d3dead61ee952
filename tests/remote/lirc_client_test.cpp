// SPDX-License-Identifier: GPL-3.0-or-later
// The infrared remote through a fake lircd that starts late, sends odd pieces and junk, and comes back.
#include "remote/lirc_client.h"

#include <gtest/gtest.h>
#include <QLocalServer>
#include <QLocalSocket>
#include <QScopedValueRollback>
#include <QTemporaryDir>
#include <QTimer>

#include "fakes/wait_for.h"
#include "platform/atomic_file.h"

using namespace kelvorn;

// Keys as they are at each press; a held button repeats only if it moves the highlight;
// Remote.kvx sets a key as Keys.kvx does.
TEST(LircClient, FollowsADaemonThatStartsLateLeavesAndComesBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("lircd");
    const QByteArray oldPath = qgetenv("LIRC_SOCKET_PATH");
    qputenv("LIRC_SOCKET_PATH", path.toUtf8());
    ASSERT_TRUE(writeFileAtomic(dir.filePath("Remote.kvx").toStdString(),
                                " KEY_HOME =  200 \r\nKEY_OK=Enter\r\nKEY_OK 53\r\nKEY_1=256\r\nKEY_UP=\r\n=5\r\n"));
    RemoteKeys keys{"q", "a", "c", "x", "#"};
    const auto currentKeys = [&] { return keys; };
    LircClient lirc(dir.path().toStdString(), currentKeys, 50);
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
        if (waitFor([&] { return typed == typedAfter; }, 2000)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "typed \"" << typed.toStdString() << '"';
    };
    lirc.start();
    ASSERT_TRUE(daemonStarts());
    ASSERT_TRUE(sends("BEGIN\nSIGHUP\nEND\n0 00 KEY_1 r\n0 00 KEY_U", "1"));
    ASSERT_TRUE(
        sends("P r\n0 01 KEY_UP r\n0 01 KEY_1 r\n0 03 KEY_DOWN r\n0 00 KEY_NUMERIC_5 r\n0 00 KEY_SELECT r\n"
              "0 00 KEY_EXIT r\n0 00 KEY_INFO r\n0 00 KEY_PLAYPAUSE r\n0 00 KEY_NEXTSONG r\n"
              "0 00 KEY_PREVIOUS r\n0 00 KEY_FASTFORWARD r\n0 00 KEY_REWIND r\n0 00 KEY_SLEEP r\n",
              "1qqa5c#x217980"));
    // Lines lircd never sends, NULs, bad UTF-8, too long a hold, an overlong line; blanks and tabs part fields.
    QByteArray junk = "0 00 KEY_1\n0 00 KEY_1 r extra\nxyz 00 KEY_1 r\n0 -1 KEY_1 r\n0 00 KEY_1 r\r\n0 10000 KEY_1 r\n";
    junk += QByteArray("0 00 key_up r\n0 00 KEY_\0 r\n\0\xff\n", 30) + QByteArray(2000, ' ') + "0 00 KEY_9 r\n";
    ASSERT_TRUE(sends(junk + " 0  0a\tKEY_UP   r \n0 00 KEY_OK r\n0 00 KEY_", "1qqa5c#x217980qc"));
    peer->disconnectFromServer();
    daemon.close();  // the daemon stops; its socket file goes with it
    keys = {"1", "a", "c", "x", "#"};
    ASSERT_TRUE(daemonStarts());
    // "1 r" does not complete the old connection's "KEY_"; a held up-key digit repeats; code 200.
    EXPECT_TRUE(
        sends("1 r\n0 00 KEY_UP r\n0 05 KEY_1 r\n0 00 KEY_HOME r\n", "1qqa5c#x217980qc11" + QString(QChar(0xC8))));
    // Presses read or arriving during a nested event loop (a flash) wait for it, in order.
    QString order;
    bool handling = false;
    QObject::connect(&lirc, &LircClient::keyPressed, [&](const QString& text) {
        order += handling ? "[" + text + "]" : text;
        if (text != "5" || handling) return;
        const QScopedValueRollback busy(handling, true);
        peer->write("0 00 KEY_7 r\n0 00 KEY_8 r\n");
        peer->flush();
        waitFor([] { return false; }, 200);
        peer->write("0 00 KEY_9 r\n");
        peer->disconnectFromServer();
        waitFor([] { return false; }, 200);
    });
    peer->write("0 00 KEY_5 r\n0 00 KEY_6 r\n");
    peer->flush();
    EXPECT_TRUE(waitFor([&] { return order.size() >= 5; }, 2000));
    EXPECT_EQ(order.toStdString(), "56789");
    qputenv("LIRC_SOCKET_PATH", oldPath);
}
