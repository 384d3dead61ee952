// Kelvorn: a full-screen MP3 jukebox for the TV, run in its working folder.
#include <QApplication>

#include "app/jukebox.h"
#include "platform/debug_log.h"

namespace {

// The user sees no log: Qt's own warnings reach stderr only in debug mode.
void qtMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (kelvorn::debugEnabled()) kelvorn::debugEvent("qt", message.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(qtMessage);
    QApplication app(argc, argv);
    QApplication::setApplicationName("kelvorn");
    kelvorn::Jukebox jukebox(".");
    if (!jukebox.start()) return 0;  // another instance runs and was brought to the front
    return app.exec();
}
