// Test main for widget-free tests: a QCoreApplication is enough.
#include <gtest/gtest.h>
#include <QCoreApplication>

#include "mpv/quiet_sound_libraries.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    kelvorn::setUpPlayerProcess();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
