// A second claim on the same name fails and asks the first to come to the front.
#include "platform/single_instance.h"

#include <QUuid>
#include <gtest/gtest.h>

#include "fakes/wait_for.h"

using namespace kelvorn;

TEST(SingleInstance, SecondClaimRaisesFirst) {
    const QString name = "kelvorn-test-" + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(name);
    int raised = 0;
    QObject::connect(&first, &SingleInstance::raiseRequested, [&] { ++raised; });
    ASSERT_TRUE(first.claim());
    EXPECT_FALSE(SingleInstance(name).claim());
    ASSERT_TRUE(waitFor([&] { return raised > 0; }, 3000));
    EXPECT_EQ(raised, 1);
}
