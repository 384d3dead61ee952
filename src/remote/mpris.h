// SPDX-License-Identifier: GPL-3.0-or-later
// MPRIS on the session bus: phones, desktops and media keys (KDE Connect, GNOME's media
// controls, playerctl) control the jukebox as its main screen's keys do, whichever
// screen is in front, and see what it plays.
#pragma once
#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <functional>

namespace kelvorn {

struct Services;
class VelmotMAIN;

// What the bus sees of the jukebox, and what it may ask of it.
class MprisPlayer : public QObject {
    Q_OBJECT
public:
    MprisPlayer(Services& services, VelmotMAIN& main);

    // Owns "org.mpris.MediaPlayer2.kelvorn" on the session bus; false (and nothing else
    // happens) when there is no session bus or the name is taken.
    bool registerOnSessionBus();

    // The root interface.
    void raise();
    // The player interface's methods.
    void next();
    void previous();
    void pause();
    void playPause();
    void stop();
    void play();
    void seek(qlonglong offsetUs);
    void setPosition(const QDBusObjectPath& trackId, qlonglong positionUs);

    QString playbackStatus() const;
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    bool shuffle() const;
    void setShuffle(bool on);
    qlonglong position() const;

    // Sends PropertiesChanged for what changed since the last look (song, state, volume,
    // shuffle); also runs on a timer while registered.
    void announceChanges();

signals:
    void raiseWanted();      // Raise: the window to the front
    void settingsChanged();  // the normal volume was set: "Settings.kvx" is to be written

private:
    QDBusObjectPath trackId() const;
    void noteSong() const;

    Services& s_;
    VelmotMAIN& main_;
    QTimer watch_;
    QVariantMap announced_;         // the properties last sent
    mutable std::string lastFile_;  // the song last shown
    mutable int track_ = 0;         // counts the songs, for their track ids
};

// org.mpris.MediaPlayer2
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ noneSupported)
    Q_PROPERTY(QStringList SupportedMimeTypes READ noneSupported)
public:
    MprisRootAdaptor(QObject* parent, MprisPlayer& player);
    bool canQuit() const { return false; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Kelvorn"); }
    QString desktopEntry() const { return QStringLiteral("kelvorn"); }
    QStringList noneSupported() const { return {}; }

public slots:
    void Raise() { player_.raise(); }
    void Quit() {}  // the jukebox is left only from its own screen

private:
    MprisPlayer& player_;
};

// org.mpris.MediaPlayer2.Player
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ yes)
    Q_PROPERTY(bool CanGoPrevious READ yes)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanSeek READ yes)
    Q_PROPERTY(bool CanControl READ yes)
public:
    MprisPlayerAdaptor(QObject* parent, MprisPlayer& player);
    QString playbackStatus() const { return player_.playbackStatus(); }
    double rate() const { return 1.0; }
    bool shuffle() const { return player_.shuffle(); }
    void setShuffle(bool on) { player_.setShuffle(on); }
    QVariantMap metadata() const { return player_.metadata(); }
    double volume() const { return player_.volume(); }
    void setVolume(double volume) { player_.setVolume(volume); }
    qlonglong position() const { return player_.position(); }
    bool yes() const { return true; }

public slots:
    void Next() { player_.next(); }
    void Previous() { player_.previous(); }
    void Pause() { player_.pause(); }
    void PlayPause() { player_.playPause(); }
    void Stop() { player_.stop(); }
    void Play() { player_.play(); }
    void Seek(qlonglong offset) { player_.seek(offset); }
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position) { player_.setPosition(trackId, position); }
    void OpenUri(const QString&) {}  // only the music folder is played

signals:
    void Seeked(qlonglong position);

private:
    MprisPlayer& player_;
};

}  // namespace kelvorn
