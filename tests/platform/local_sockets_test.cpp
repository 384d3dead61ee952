// The program's local sockets: one running instance per user, and the infrared remote
// through a fake lircd that starts late, sends lines in odd pieces and junk, leaves and
// comes back.
#include "platform/lirc_client.h"
#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <thread>

#include "fakes/file_size_limit.h"
#include "fakes/wait_for.h"
#include "platform/text_file.h"

using namespace kelvorn;

// A crash leaves the socket's name behind, where nobody listens and no lock is held. The
// claim of `first` takes its place, and a later start ends and raises it, once.
TEST(SingleInstance, LaterStartRaisesTheFirstAndEndsAndNeitherAStaleSocketNorAReleaseStopsTheNext) {
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_TRUE(writeFileAtomic(first.socketPath().toStdString(), ""));
    for (const char* round : {"after a crash", "after a release"}) {
        SCOPED_TRACE(round);
        int raised = 0;
        QObject::connect(&first, &SingleInstance::raiseRequested, [&] { ++raised; });
        ASSERT_EQ(first.claim(), SingleInstance::Claim::Claimed);
        EXPECT_EQ(SingleInstance(folder.path()).claim(), SingleInstance::Claim::Raised);
        EXPECT_TRUE(waitFor([&] { return raised > 0; }, 3000));
        EXPECT_EQ(raised, 1);
        first.release();
        QObject::disconnect(&first, &SingleInstance::raiseRequested, nullptr, nullptr);
    }
}

// The first start holds the lock but does not listen yet: the second must neither take
// over nor remove a socket, but wait and ask the first to come to the front. A lock that
// cannot be made at all is no other instance: nothing is removed, and the start is
// refused with the reason.
TEST(SingleInstance, StartAtTheSameMomentEndsOnceTheFirstListensAndALockErrorRemovesNothing) {
    QTemporaryDir folder;
    SingleInstance second(folder.path());
    QLockFile starting(second.lockPath());
    ASSERT_TRUE(starting.tryLock(0));
    QByteArray request;
    bool listening = false;
    std::thread first([&] {  // the first instance, a moment later, in its own thread
        QLocalServer server;
        QThread::msleep(400);
        listening = server.listen(second.socketPath());
        if (server.waitForNewConnection(3000)) {
            QLocalSocket* client = server.nextPendingConnection();
            while (client->waitForReadyRead(1000)) request += client->readAll();
        }
    });
    EXPECT_EQ(second.claim(), SingleInstance::Claim::Raised);
    first.join();
    EXPECT_TRUE(listening);
    EXPECT_EQ(request, "raise\n");
    starting.unlock();

    ASSERT_TRUE(writeFileAtomic(second.socketPath().toStdString(), ""));
    SingleInstance::Claim claim{};
    underFileSizeLimit(1, [&] { return (claim = second.claim()) == SingleInstance::Claim::Failed; });  // a full disk
    EXPECT_EQ(claim, SingleInstance::Claim::Failed);
    EXPECT_TRUE(second.why().contains("kelvorn.lock")) << second.why().toStdString();
    EXPECT_TRUE(QFileInfo(second.socketPath()).isFile());
}

// Folders another user made (root makes them here, for user 65534) are never taken;
// one of the user's own with a loose mode is tightened and taken.
TEST(SingleInstance, PrivateFolderIsTheUsersOwnAndNobodyElseCanEnterIt) {
    if (::getuid() != 0) GTEST_SKIP() << "needs root to make folders of another user";
    QTemporaryDir runtime, tmp, home;
    const char* names[] = {"XDG_RUNTIME_DIR", "TMPDIR", "HOME"};
    const QTemporaryDir* folders[] = {&runtime, &tmp, &home};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = qgetenv(names[i]);
        qputenv(names[i], QFile::encodeName(folders[i]->path()));
    }
    const QString own = tmp.path() + "/kelvorn-0", homeFolder = home.path() + "/.cache/kelvorn";
    EXPECT_EQ(SingleInstance::privateFolder(), runtime.path());
    ASSERT_EQ(::chown(QFile::encodeName(runtime.path()).constData(), 65534, 65534), 0);
    ASSERT_TRUE(QDir().mkdir(own));
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0755), 0);
    EXPECT_EQ(SingleInstance::privateFolder(), own);
    EXPECT_FALSE(QFileInfo(own).permissions().testAnyFlags(QFile::ReadGroup | QFile::ReadOther));
    ASSERT_EQ(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
    EXPECT_EQ(SingleInstance::privateFolder(), homeFolder);
    ASSERT_TRUE(QDir().rmdir(homeFolder) && QFile(homeFolder).open(QIODevice::WriteOnly));
    QString why;
    EXPECT_EQ(SingleInstance::privateFolder(&why), QString());
    EXPECT_TRUE(why.contains(homeFolder)) << why.toStdString();
    for (int i = 0; i < 3; ++i) saved[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
}

// Buttons type the keys as they are at each press; a held button types again only when it
// moves the highlight. Remote.kvx sets a key as Keys.kvx does, a code 1..255 or one
// character; its other lines change nothing.
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
    // Lines lircd never sends, NUL bytes, invalid UTF-8, a hold too long to count and an
    // overlong line that ends like an event type nothing; blanks and tabs part the fields.
    QByteArray junk = "0 00 KEY_1\n0 00 KEY_1 r extra\nxyz 00 KEY_1 r\n0 -1 KEY_1 r\n0 00 KEY_1 r\r\n0 10000 KEY_1 r\n";
    junk += QByteArray("0 00 key_up r\n0 00 KEY_\0 r\n\0\xff\n", 30) + QByteArray(2000, ' ') + "0 00 KEY_9 r\n";
    ASSERT_TRUE(sends(junk + " 0  0a\tKEY_UP   r \n0 00 KEY_OK r\n0 00 KEY_", "1qqa5c#x217980qc"));
    peer->disconnectFromServer();
    daemon.close();  // the daemon stops; its socket file goes with it
    keys = {"1", "a", "c", "x", "#"};
    ASSERT_TRUE(daemonStarts());
    // "1 r" must not complete the old connection's "KEY_"; a held digit that is the up key
    // types again; code 200 types the character 200.
    EXPECT_TRUE(
        sends("1 r\n0 00 KEY_UP r\n0 05 KEY_1 r\n0 00 KEY_HOME r\n", "1qqa5c#x217980qc11" + QString(QChar(0xC8))));
    qputenv("LIRC_SOCKET_PATH", oldPath);
}
