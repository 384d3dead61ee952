// SPDX-License-Identifier: GPL-3.0-or-later
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
    QList<QVariantMap> told;  // what the PropertiesChanged signals told
    QList<qlonglong> seeks;   // what the Seeked signals told
    MprisPlayer mpris{services, *main};

    MprisRig() {
        QObject::connect(&mpris, &MprisPlayer::raiseWanted, [this] { ++raised; });
        QObject::connect(&mpris, &MprisPlayer::settingsChanged, [this] { ++saved; });
    }

    bool startBus() {  // before anything in the process connects to a session bus
        if (!bus.start()) return false;
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address.toUtf8());
        return true;
    }
    // Another program's connection: its calls are answered while the call runs the event loop.
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
    void propertiesChanged(const QString&, const QVariantMap& properties) { told += properties; }
    void seeked(qlonglong position) { seeks += position; }
};

}  // namespace

// Each call in each player state: Play never pauses, Pause never resumes, seeks as asked or on.
TEST(Mpris, EachCallInEachStateOfThePlayer) {
    enum State { Stopped, Playing, Paused };
    // state, call, the state after it, songs opened by it (after the engine's tick).
    const std::tuple<State, void (MprisPlayer::*)(), MediaPlayer::PlayState, int> cases[] = {
        {Stopped, &MprisPlayer::play, MediaPlayer::Playing, 1},
        {Stopped, &MprisPlayer::pause, MediaPlayer::Stopped, 0},
        {Stopped, &MprisPlayer::playPause, MediaPlayer::Playing, 1},
        {Playing, &MprisPlayer::play, MediaPlayer::Playing, 0},
        {Playing, &MprisPlayer::pause, MediaPlayer::Paused, 0},
        {Playing, &MprisPlayer::playPause, MediaPlayer::Paused, 0},
        {Playing, &MprisPlayer::stop, MediaPlayer::Stopped, 0},
        {Paused, &MprisPlayer::play, MediaPlayer::Playing, 0},
        {Paused, &MprisPlayer::pause, MediaPlayer::Paused, 0},
        {Paused, &MprisPlayer::playPause, MediaPlayer::Playing, 0},
        {Paused, &MprisPlayer::next, MediaPlayer::Playing, 1}};
    for (const auto& [state, call, after, opened] : cases) {
        MprisRig rig;
        rig.setArchive({"a.mp3", "b.mp3"});
        if (state != Stopped) rig.type("1");
        rig.main->Timer2_Timer();
        if (state == Paused) rig.type("2");
        const size_t opens = rig.player.opens.size();
        (rig.mpris.*call)();
        rig.main->Timer2_Timer();
        EXPECT_EQ(rig.player.playState(), after) << state << " call " << &call - &std::get<1>(cases[0]);
        EXPECT_EQ(rig.player.opens.size() - opens, static_cast<size_t>(opened)) << state;
        EXPECT_EQ(rig.svc.PlayOn, after == MediaPlayer::Playing) << state;
    }
    MprisRig rig;
    rig.setArchive({"caf\xe9.mp3", "b.mp3"});
    rig.type("1");
    rig.main->Timer2_Timer();
    rig.player.length = 100;
    rig.player.setPositionValue(50);
    const QDBusObjectPath current = qdbus_cast<QDBusObjectPath>(rig.mpris.metadata().value("mpris:trackid"));
    rig.mpris.setPosition(QDBusObjectPath("/org/mpris/MediaPlayer2/kelvorn/track/0"), 10'000'000);  // another track
    rig.mpris.setPosition(current, -1);
    rig.mpris.setPosition(current, 101'000'000);
    rig.mpris.seek(-60'000'000);
    EXPECT_EQ(rig.player.seeks, std::vector<double>{0});
    rig.mpris.setPosition(current, 20'000'000);
    EXPECT_EQ(rig.mpris.position(), 20'000'000);  // at once, before the player says so
    // A name that is not UTF-8: its bytes in the url, its title as the screen shows it.
    const QVariantMap meta = rig.mpris.metadata();
    EXPECT_TRUE(meta.value("xesam:url").toString().endsWith("/music/caf%E9.mp3"))
        << meta.value("xesam:url").toString().toStdString();
    EXPECT_EQ(meta.value("xesam:title").toString(), QString::fromLatin1("caf\xe9"));
    rig.mpris.seek(81'000'000);  // past the end: the next song
    rig.main->Timer2_Timer();
    EXPECT_EQ(rig.lastOpened(), "/music/b.mp3");
}

TEST(Mpris, ControlsPlaybackLikeTheMainScreenAndTellsWhatPlays) {
    MprisRig rig;
    if (!rig.startBus()) GTEST_SKIP() << "no dbus-daemon to run a private session bus";
    rig.setArchive({"Band - Song.mp3", "b.mp3"});
    ASSERT_TRUE(rig.mpris.registerOnSessionBus());
    rig.call("Raise", {}, "org.mpris.MediaPlayer2");
    EXPECT_EQ(rig.raised, 1);
    MprisRig::client().connect("", "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties", "PropertiesChanged",
                               &rig, SLOT(propertiesChanged(QString, QVariantMap)));
    MprisRig::client().connect("", "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player", "Seeked", &rig,
                               SLOT(seeked(qlonglong)));

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
    // A song that ends and the next are told as one change: no "Stopped" between them.
    ASSERT_TRUE(waitFor([&] { return !rig.told.isEmpty(); }, 3000));
    rig.told.clear();
    rig.player.finishSong();
    rig.main->Timer2_Timer();
    EXPECT_EQ(rig.lastOpened(), "/music/b.mp3");
    ASSERT_TRUE(waitFor([&] { return !rig.told.isEmpty(); }, 3000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(rig.told.last().contains("Metadata"));
    for (const QVariantMap& change : rig.told)
        EXPECT_EQ(change.value("PlaybackStatus").toString(), change.contains("Metadata") ? "Playing" : "")
            << change.keys().join(",").toStdString();
    rig.type("9");  // the keys' seeks are told too
    rig.call("Seek", {qlonglong{-3'000'000}});
    EXPECT_TRUE(waitFor([&] { return rig.seeks.size() == 2; }, 3000));
    EXPECT_EQ(rig.seeks.value(1), 7'000'000);
    rig.call("Pause");
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Paused");
    EXPECT_TRUE(waitFor([&] { return rig.told.last().value("PlaybackStatus") == "Paused"; }, 3000));
    rig.call("Previous");  // "7"
    EXPECT_TRUE(rig.svc.NewSong && rig.svc.SongPos == 0);
    // Volume is the normal volume; Shuffle is SHUFFLE / NORMAL, saved through the main screen.
    rig.set("Volume", 0.4);
    EXPECT_EQ(rig.svc.VolNormal, 40);
    EXPECT_DOUBLE_EQ(rig.property("Volume").toDouble(), 0.4);
    rig.set("Shuffle", true);
    EXPECT_TRUE(rig.svc.ShuffleOn);
    EXPECT_EQ(rig.saved, 1);
    rig.call("Stop");
    EXPECT_EQ(rig.property("PlaybackStatus").toString(), "Stopped");
}

#include "mpris_test.moc"
