// One instance per user: a later start raises the first and ends, also when both
// start at the same moment or a crashed one left its socket; a stop signal becomes an
// exit request.
#include "platform/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QUuid>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

#include "fakes/wait_for.h"
#include "platform/exit_signals.h"

using namespace kelvorn;

namespace {

QString uniqueName() { return "kelvorn-test-" + QUuid::createUuid().toString(QUuid::Id128); }

// `first` claims `name` and listens: a later start of the same name ends and raises it, once.
bool claimsAndIsRaisedByALaterStart(SingleInstance& first, const QString& name) {
    int raised = 0;
    QObject counter;
    QObject::connect(&first, &SingleInstance::raiseRequested, &counter, [&] { ++raised; });
    return first.claim() && !SingleInstance(name).claim() && waitFor([&] { return raised > 0; }, 3000) &&
           raised == 1;
}

}  // namespace

TEST(SingleInstance, SecondClaimRaisesFirstAndReleaseLetsANewOneIn) {
    const QString name = uniqueName();
    SingleInstance first(name);
    EXPECT_TRUE(claimsAndIsRaisedByALaterStart(first, name));
    first.release();
    SingleInstance next(name);
    EXPECT_TRUE(claimsAndIsRaisedByALaterStart(next, name));
}

// A crash leaves the socket's name behind: nobody listens there and no lock is held.
TEST(SingleInstance, SocketLeftByACrashedInstanceDoesNotStopTheNextStart) {
    const QString name = uniqueName();
    QFile left(QDir::tempPath() + "/" + name);
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    SingleInstance next(name);
    EXPECT_TRUE(claimsAndIsRaisedByALaterStart(next, name));
}

// The first start holds the lock but does not listen yet: the second must neither take
// over nor remove a socket, but wait and ask the first to come to the front.
TEST(SingleInstance, StartAtTheSameMomentEndsOnceTheFirstListens) {
    const QString name = uniqueName();
    QLockFile starting(SingleInstance::lockPath(name));
    ASSERT_TRUE(starting.tryLock(0));
    QByteArray request;
    bool listening = false;
    std::thread first([&] {  // the first instance, a moment later, in its own thread
        QLocalServer server;
        QThread::msleep(400);
        listening = server.listen(name);
        if (server.waitForNewConnection(3000)) {
            QLocalSocket* client = server.nextPendingConnection();
            while (client->waitForReadyRead(1000)) request += client->readAll();
        }
    });
    EXPECT_FALSE(SingleInstance(name).claim());
    first.join();
    EXPECT_TRUE(listening);
    EXPECT_EQ(request, "raise\n");
}

TEST(ExitSignals, TermIntAndHupBecomeAnExitRequest) {
    ExitSignals watch;
    int requests = 0;
    QObject::connect(&watch, &ExitSignals::exitRequested, [&] { ++requests; });
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        const int before = requests;
        std::raise(sig);
        EXPECT_TRUE(waitFor([&] { return requests > before; }, 2000)) << sig;
    }
}
