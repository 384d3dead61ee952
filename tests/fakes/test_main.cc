// SPDX-License-Identifier: GPL-3.0-or-later
// Test main: screen tests (KELVORN_GUI_TESTS) get a QApplication, offscreen unless told
// otherwise; the others a QCoreApplication.
#include <gtest/gtest.h>
#include <QApplication>

#include "mpv/quiet_sound_libraries.h"

int main(int argc, char** argv) {
#ifdef KELVORN_GUI_TESTS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    kelvorn::setUpPlayerProcess();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
