// The jukebox on a private session bus, driven and read as playerctl or a phone would.
#include "app/mpris.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QProcess>

#include "core/playback_engine.h"
#include "fakes/core_test_rig.h"
#include "fakes/wait_for.h"

using namespace kelvorn;

namespace {

// Counts the PropertiesChanged signals the jukebox sends, with what changed.
class ChangeCounter : public QObject {
    Q_OBJECT
public:
    QStringList changed;
public slots:
    void propertiesChanged(const QString&, const QVariantMap& properties, const QStringList&) {
        changed += properties.keys();
    }
};

struct MprisRig : CoreRig {
    QProcess bus;
    int raised = 0, saved = 0;
    MprisPlayer mpris{services, *main, [this] { ++raised; }, [this] { ++saved; }};

    // A session bus of the test's own, before anything in the process connects to one.
    bool startBus() {
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!bus.waitForStarted(3000) || !waitFor([&] { return bus.canReadLine(); }, 3000)) return false;
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
        return true;
    }
    ~MprisRig() {
        bus.kill();
        bus.waitForFinished(2000);
    }
    // The other program's own connection: its calls go through the bus daemon and are
    // answered while the test runs the event loop.
    static QDBusConnection client() { return QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client"); }
    QVariant call(const char* interface, const char* method, const QVariantList& args = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.kelvorn",
                                                              "/org/mpris/MediaPlayer2", interface, method);
        message.setArguments(args);
        QDBusPendingCallWatcher watcher(client().asyncCall(message));
        waitFor([&] { return watcher.isFinished(); }, 3000);
        EXPECT_FALSE(watcher.isError()) << method << ": " << watcher.error().message().toStdString();
        const QList<QVariant> values = watcher.reply().arguments();
        return values.isEmpty() ? QVariant() : values.first();
    }
    QVariant property(const char* name, const char* interface = "org.mpris.MediaPlayer2.Player") {
        return call("org.freedesktop.DBus.Properties", "Get", {interface, name}).value<QDBusVariant>().variant();
    }
    void engineTick() { main->Timer2_Timer(); }
};

}  // namespace

TEST(Mpris, ControlsPlaybackLikeTheMainScreenAndTellsWhatPlays) {
    MprisRig rig;
    if (!rig.startBus()) GTEST_SKIP() << "no dbus-daemon to run a private session bus";
    rig.setArchive({"Band - Song.mp3", "b.mp3"});
    ASSERT_TRUE(rig.mpris.registerOnSessionBus());
    EXPECT_EQ(rig.property("Identity", "org.mpris.MediaPlayer2").toString(), "Kelvorn");
    EXPECT_TRUE(rig.property("CanRaise", "org.mpris.MediaPlayer2").toBool());
    rig.call("org.mpris.MediaPlayer2", "Raise");
    EXPECT_EQ(rig.raised, 1);
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Stopped");

    ChangeCounter counter;
    MprisRig::client().connect("", "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties",
                                          "PropertiesChanged", &counter,
                                          SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    rig.call("org.mpris.MediaPlayer2.Player", "PlayPause");  // nothing started yet: PLAY
    rig.engineTick();
    EXPECT_EQ(rig.lastOpened(), "/music/Band - Song.mp3");
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Playing");
    const QVariantMap meta = qdbus_cast<QVariantMap>(rig.property("Metadata").value<QDBusArgument>());
    EXPECT_EQ(meta.value("xesam:title").toString(), "Song");
    EXPECT_EQ(meta.value("xesam:artist").toStringList(), QStringList{"Band"});
    EXPECT_EQ(meta.value("xesam:url").toString(), "file:///music/Band%20-%20Song.mp3");

    rig.call("org.mpris.MediaPlayer2.Player", "Next");  // "1" skips
    rig.engineTick();
    EXPECT_EQ(rig.lastOpened(), "/music/b.mp3");
    rig.call("org.mpris.MediaPlayer2.Player", "Pause");
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Paused");
    rig.call("org.mpris.MediaPlayer2.Player", "Previous");  // "7"
    EXPECT_TRUE(rig.svc.NewSong && rig.svc.SongPos == 0);
    // Each new song and each change of state was told to whoever listens.
    EXPECT_TRUE(waitFor([&] { return counter.changed.count("Metadata") >= 2; }, 3000)) << counter.changed.join(",").toStdString();
    EXPECT_GE(counter.changed.count("PlaybackStatus"), 2);

    // Volume is the normal volume, kept in the settings; Shuffle is SHUFFLE / NORMAL.
    rig.call("org.freedesktop.DBus.Properties", "Set",
             {"org.mpris.MediaPlayer2.Player", "Volume", QVariant::fromValue(QDBusVariant(0.4))});
    EXPECT_EQ(rig.svc.VolNormal, 40);
    EXPECT_DOUBLE_EQ(rig.property("Volume").toDouble(), 0.4);
    rig.call("org.freedesktop.DBus.Properties", "Set",
             {"org.mpris.MediaPlayer2.Player", "Shuffle", QVariant::fromValue(QDBusVariant(true))});
    EXPECT_TRUE(rig.svc.ShuffleOn);
    EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::Shuffle), "SHUFFLE");
    EXPECT_EQ(rig.saved, 1);  // the volume; shuffle saves through the main screen's own hook
    rig.call("org.mpris.MediaPlayer2.Player", "Stop");
    EXPECT_FALSE(rig.svc.PlayOn);
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Stopped");
}

#include "mpris_test.moc"
