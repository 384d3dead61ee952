// Kelvorn: a full-screen MP3 jukebox for the TV, run in its working folder.
#include <QApplication>

#include "app/jukebox.h"
#include "platform/debug_log.h"
#include "platform/quiet_sound_libraries.h"

int main(int argc, char** argv) {
    kelvorn::enableDebugFromEnvironment();
    qInstallMessageHandler(kelvorn::debugMessage);
    QApplication app(argc, argv);
    QApplication::setApplicationName("kelvorn");
    kelvorn::setUpPlayerProcess();  // after QApplication, which sets the locale from the environment
    kelvorn::Jukebox jukebox(".");
    if (!jukebox.start()) return 0;  // another instance runs and was brought to the front
    return QApplication::exec();
}
