// Test main for screen tests: a QApplication on the offscreen platform.
#include <gtest/gtest.h>
#include <QApplication>

#include "mpv/quiet_sound_libraries.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kelvorn::setUpPlayerProcess();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
