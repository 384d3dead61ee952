// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/mpris.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/playback_engine.h"
#include "core/services.h"
#include "core/velmot_main.h"
#include "platform/media_player.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

const char* const kService = "org.mpris.MediaPlayer2.kelvorn";
const char* const kPath = "/org/mpris/MediaPlayer2";
const char* const kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr int kWatchMs = 500;
constexpr double kMicroseconds = 1e6;

// The file's bytes as a URL: a name that is not UTF-8 keeps its bytes ("%E9").
QString fileUrl(const std::string& file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    const std::string& path = error ? file : absolute.native();
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/"));
}

}  // namespace

MprisPlayer::MprisPlayer(Services& services, VelmotMAIN& main) : s_(services), main_(main) {
    watch_.setInterval(kWatchMs);
    connect(&watch_, &QTimer::timeout, this, &MprisPlayer::announceChanges);
}

bool MprisPlayer::registerOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    new MprisRootAdaptor(this, *this);
    new MprisPlayerAdaptor(this, *this);
    if (!bus.registerObject(kPath, this) || !bus.registerService(kService)) {
        bus.unregisterObject(kPath);
        return false;
    }
    // A new song, a pause or an end is told at once; volume and shuffle at the next look.
    connect(&s_.MP1, &MediaPlayer::stateChanged, this, &MprisPlayer::announceChanges, Qt::QueuedConnection);
    connect(&main_, &VelmotMAIN::songShown, this, &MprisPlayer::announceChanges);
    connect(&main_, &VelmotMAIN::seeked, this, [](double seconds) {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kPlayerInterface, QStringLiteral("Seeked"));
        signal << static_cast<qlonglong>(std::llround(seconds * kMicroseconds));
        QDBusConnection::sessionBus().send(signal);
    });
    announceChanges();
    watch_.start();
    return true;
}

void MprisPlayer::raise() { emit raiseWanted(); }

// The main screen's own commands, whichever screen is in front, with their guards: "1"
// plays or skips, "7" goes back a song, "2" pauses and resumes.
void MprisPlayer::next() { main_.command(MainCommand::PlaySkip); }

void MprisPlayer::previous() { main_.command(MainCommand::Previous); }

void MprisPlayer::pause() { main_.command(MainCommand::Pause); }

void MprisPlayer::playPause() {
    if (s_.MP1.playState() == MediaPlayer::Stopped && !s_.svc.PlayOn) main_.command(MainCommand::PlaySkip);
    else main_.command(MainCommand::StopResume);
}

void MprisPlayer::play() { main_.command(MainCommand::Play); }

void MprisPlayer::stop() { main_.command(MainCommand::Stop); }

void MprisPlayer::seek(qlonglong offsetUs) {
    const double target = std::max(0.0, s_.MP1.position() + static_cast<double>(offsetUs) / kMicroseconds);
    const double length = s_.MP1.duration();
    if (length > 0 && target > length) return next();  // past the end: the next song
    main_.command(MainCommand::SeekTo, target);
}

void MprisPlayer::setPosition(const QDBusObjectPath& trackId, qlonglong positionUs) {
    const double target = static_cast<double>(positionUs) / kMicroseconds;
    const double length = s_.MP1.duration();
    if (trackId != this->trackId() || target < 0 || (length > 0 && target > length)) return;
    main_.command(MainCommand::SeekTo, target);
}

// Between two songs the player is stopped for a moment while playback goes on: that is
// no stop to tell.
QString MprisPlayer::playbackStatus() const {
    switch (s_.MP1.playState()) {
    case MediaPlayer::Playing: return QStringLiteral("Playing");
    case MediaPlayer::Paused: return QStringLiteral("Paused");
    case MediaPlayer::Stopped: break;
    }
    return s_.svc.PlayOn ? QStringLiteral("Playing") : QStringLiteral("Stopped");
}

QDBusObjectPath MprisPlayer::trackId() const {
    noteSong();
    if (lastFile_.empty()) return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/kelvorn/track/%1").arg(track_));
}

// A new song shown on the main screen is a new track (its id counts the songs).
void MprisPlayer::noteSong() const {
    const std::string& file = main_.shownFile();
    if (file == lastFile_) return;
    lastFile_ = file;
    ++track_;
}

QVariantMap MprisPlayer::metadata() const {
    noteSong();
    QVariantMap map{{QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId())}};
    if (lastFile_.empty()) return map;
    // Title and artist as the main screen shows them.
    map.insert(QStringLiteral("xesam:title"), main_.shown(VelmotMAIN::Field::Song));
    map.insert(QStringLiteral("xesam:artist"), QStringList{main_.shown(VelmotMAIN::Field::Artist)});
    if (const std::string album = s_.MP1.tags().album; !album.empty())
        map.insert(QStringLiteral("xesam:album"), QString::fromStdString(album));
    map.insert(QStringLiteral("xesam:url"), fileUrl(lastFile_));
    if (const double length = s_.MP1.duration(); length > 0)
        map.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(std::llround(length * kMicroseconds)));
    return map;
}

double MprisPlayer::volume() const { return std::clamp(s_.svc.VolumeSet, 0.0, 100.0) / 100.0; }

// As the alarm menu's N bar: the normal volume, heard at once and kept in the settings.
void MprisPlayer::setVolume(double volume) {
    if (!std::isfinite(volume)) return;
    KelvornSERVICE& svc = s_.svc;
    svc.VolNormal = static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
    svc.VolumeSet = svc.VolNormal;
    SetWaveVolume(s_);
    emit settingsChanged();
    announceChanges();
}

bool MprisPlayer::shuffle() const { return s_.svc.ShuffleOn; }

// As SHUFFLE / NORMAL ("5"), which also saves the settings.
void MprisPlayer::setShuffle(bool on) {
    if (on != s_.svc.ShuffleOn) main_.command(MainCommand::Shuffle);
    announceChanges();
}

qlonglong MprisPlayer::position() const { return std::llround(s_.MP1.position() * kMicroseconds); }

void MprisPlayer::announceChanges() {
    const QVariantMap now{{QStringLiteral("PlaybackStatus"), playbackStatus()},
                          {QStringLiteral("Metadata"), metadata()},
                          {QStringLiteral("Volume"), volume()},
                          {QStringLiteral("Shuffle"), shuffle()}};
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (announced_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
    // A new song is told whole: its status with its title, artist and url.
    if (changed.contains(QStringLiteral("Metadata")))
        changed.insert(QStringLiteral("PlaybackStatus"), now.value(QStringLiteral("PlaybackStatus")));
    announced_ = now;
    if (changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

MprisRootAdaptor::MprisRootAdaptor(QObject* parent, MprisPlayer& player)
    : QDBusAbstractAdaptor(parent), player_(player) {}

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, MprisPlayer& player)
    : QDBusAbstractAdaptor(parent), player_(player) {}

}  // namespace kelvorn
