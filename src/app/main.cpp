// Kelvorn: a full-screen MP3 jukebox for the TV, run in its working folder.
#include <QApplication>

#include "core/jukebox.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("kelvorn");
    kelvorn::Jukebox jukebox(".");
    if (!jukebox.start()) return 0;  // another instance runs and was brought to the front
    return app.exec();
}
