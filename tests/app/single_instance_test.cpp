// SPDX-License-Identifier: GPL-3.0-or-later
// One running instance per user, over a local socket in a folder of the user's own.
#include "app/single_instance.h"

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
#include <thread>

#include "fakes/file_size_limit.h"
#include "fakes/wait_for.h"
#include "platform/atomic_file.h"
#include "platform/private_folder.h"

using namespace kelvorn;

// A crash leaves the socket's name behind; `first` takes its place, and a later start raises it once.
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

// The first holds the lock but does not listen yet: the second waits and asks it to raise; a
// lock that cannot be made at all removes nothing and refuses the start with the reason.
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

// Folders of another user (root makes them for 65534) are never taken; a loose own one is tightened.
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
    EXPECT_EQ(privateFolder(), runtime.path());
    ASSERT_EQ(::chown(QFile::encodeName(runtime.path()).constData(), 65534, 65534), 0);
    ASSERT_TRUE(QDir().mkdir(own));
    ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0755), 0);
    EXPECT_EQ(privateFolder(), own);
    EXPECT_FALSE(QFileInfo(own).permissions().testAnyFlags(QFile::ReadGroup | QFile::ReadOther));
    ASSERT_EQ(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
    EXPECT_EQ(privateFolder(), homeFolder);
    ASSERT_TRUE(QDir().rmdir(homeFolder) && QFile(homeFolder).open(QIODevice::WriteOnly));
    QString why;
    EXPECT_EQ(privateFolder(&why), QString());
    EXPECT_TRUE(why.contains(homeFolder)) << why.toStdString();
    for (int i = 0; i < 3; ++i) saved[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
}
