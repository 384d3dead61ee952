// SPDX-License-Identifier: GPL-3.0-or-later
// Kelvorn: a full-screen MP3 jukebox for the TV, run in its working folder.
#include <QApplication>
#include <cstdlib>

#include "app/jukebox.h"
#include "mpv/quiet_sound_libraries.h"
#include "platform/debug_log.h"

int main(int argc, char** argv) {
    kelvorn::enableDebugFromEnvironment();
    qInstallMessageHandler(kelvorn::debugMessage);
    QApplication app(argc, argv);
    QApplication::setApplicationName("kelvorn");
    kelvorn::setUpPlayerProcess();  // after QApplication, which sets the locale from the environment
    kelvorn::Jukebox jukebox(".");
    switch (jukebox.start()) {
    case kelvorn::Jukebox::Started::Raised: return EXIT_SUCCESS;   // the running one is in front now
    case kelvorn::Jukebox::Started::Refused: return EXIT_FAILURE;  // a service manager tries again
    case kelvorn::Jukebox::Started::Running: break;
    }
    return QApplication::exec();
}
