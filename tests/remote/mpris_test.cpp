// The jukebox on a private session bus, driven and read as playerctl or a phone would.
#include "remote/mpris.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>

#include "fakes/core_test_rig.h"
#include "fakes/private_bus.h"
#include "fakes/wait_for.h"

using namespace kelvorn;

namespace {

class MprisRig : public QObject, public CoreRig {
    Q_OBJECT
public:
    PrivateBus bus;
    int raised = 0, saved = 0;
    QStringList changed;  // what the PropertiesChanged signals told
    MprisPlayer mpris{services, *main};

    MprisRig() {
        QObject::connect(&mpris, &MprisPlayer::raiseWanted, [this] { ++raised; });
        QObject::connect(&mpris, &MprisPlayer::settingsChanged, [this] { ++saved; });
    }

    // A session bus of the test's own, before anything in the process connects to one.
    bool startBus() {
        if (!bus.start()) return false;
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address.toUtf8());
        return true;
    }
    // The other program's own connection: its calls go through the bus daemon and are
    // answered while the call runs the event loop.
    static QDBusConnection client() { return QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client"); }
    QVariant call(const char* method, const QVariantList& args = {},
                  const char* interface = "org.mpris.MediaPlayer2.Player") {
        QDBusMessage message = QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.kelvorn",
                                                              "/org/mpris/MediaPlayer2", interface, method);
        message.setArguments(args);
        const QDBusMessage reply = client().call(message, QDBus::BlockWithGui, 3000);
        EXPECT_NE(reply.type(), QDBusMessage::ErrorMessage) << method << ": " << reply.errorMessage().toStdString();
        return reply.arguments().value(0);
    }
    QVariant property(const char* name, const char* interface = "org.mpris.MediaPlayer2.Player") {
        return call("Get", {interface, name}, "org.freedesktop.DBus.Properties").value<QDBusVariant>().variant();
    }
    void set(const char* name, const QVariant& value) {
        call("Set", {"org.mpris.MediaPlayer2.Player", name, QVariant::fromValue(QDBusVariant(value))},
             "org.freedesktop.DBus.Properties");
    }

public slots:
    void propertiesChanged(const QString&, const QVariantMap& properties) { changed += properties.keys(); }
};

}  // namespace

TEST(Mpris, ControlsPlaybackLikeTheMainScreenAndTellsWhatPlays) {
    MprisRig rig;
    if (!rig.startBus()) GTEST_SKIP() << "no dbus-daemon to run a private session bus";
    rig.setArchive({"Band - Song.mp3", "b.mp3"});
    ASSERT_TRUE(rig.mpris.registerOnSessionBus());
    rig.call("Raise", {}, "org.mpris.MediaPlayer2");
    EXPECT_EQ(rig.raised, 1);
    MprisRig::client().connect("", "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties", "PropertiesChanged",
                               &rig, SLOT(propertiesChanged(QString, QVariantMap)));

    rig.call("PlayPause");     // nothing started yet: PLAY
    rig.main->Timer2_Timer();  // the engine's tick
    EXPECT_EQ(rig.lastOpened(), "/music/Band - Song.mp3");
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Playing");
    const QVariantMap meta = qdbus_cast<QVariantMap>(rig.property("Metadata").value<QDBusArgument>());
    EXPECT_EQ(meta.value("xesam:title").toString(), "Song");
    EXPECT_EQ(meta.value("xesam:artist").toStringList(), QStringList{"Band"});
    EXPECT_EQ(meta.value("xesam:url").toString(), "file:///music/Band%20-%20Song.mp3");
    rig.player.readTags({"Tag Band", "Tag Song", "Tag Album"});  // the file name's split wins
    const QVariantMap tagged = qdbus_cast<QVariantMap>(rig.property("Metadata").value<QDBusArgument>());
    EXPECT_EQ(tagged.value("xesam:title").toString() + tagged.value("xesam:album").toString(), "SongTag Album");
    rig.call("Next");  // "1" skips
    rig.main->Timer2_Timer();
    EXPECT_EQ(rig.lastOpened(), "/music/b.mp3");
    rig.call("Pause");
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Paused");
    rig.call("Previous");  // "7"
    EXPECT_TRUE(rig.svc.NewSong && rig.svc.SongPos == 0);
    // Each new song and each change of state was told to whoever listens.
    EXPECT_TRUE(waitFor([&] { return rig.changed.count("Metadata") >= 2; }, 3000))
        << rig.changed.join(",").toStdString();
    EXPECT_GE(rig.changed.count("PlaybackStatus"), 2);  // playing, paused

    // Volume is the normal volume, kept in the settings; Shuffle is SHUFFLE / NORMAL, which
    // saves through the main screen's own hook.
    rig.set("Volume", 0.4);
    EXPECT_EQ(rig.svc.VolNormal, 40);
    EXPECT_DOUBLE_EQ(rig.property("Volume").toDouble(), 0.4);
    rig.set("Shuffle", true);
    EXPECT_TRUE(rig.svc.ShuffleOn);
    EXPECT_EQ(rig.saved, 1);
    rig.call("Stop");
    EXPECT_FALSE(rig.svc.PlayOn);
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Stopped");
}

#include "mpris_test.moc"
