// A second claim on the same name fails and asks the first to come to the front.
#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUuid>
#include <gtest/gtest.h>

using namespace kelvorn;

TEST(SingleInstance, SecondClaimRaisesFirst) {
    const QString name = "kelvorn-test-" + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(name);
    int raised = 0;
    QObject::connect(&first, &SingleInstance::raiseRequested, [&] { ++raised; });
    ASSERT_TRUE(first.claim());

    SingleInstance second(name);
    EXPECT_FALSE(second.claim());

    QElapsedTimer timer;
    timer.start();
    while (raised == 0 && timer.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(raised, 1);
}

TEST(SingleInstance, DefaultNameIsPerUser) {
    EXPECT_TRUE(SingleInstance::defaultName().startsWith("kelvorn-"));
    EXPECT_GT(SingleInstance::defaultName().size(), 8);
}
