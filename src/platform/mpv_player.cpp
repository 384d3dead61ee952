#include "platform/mpv_player.h"

#include <mpv/client.h>

#include "platform/mpv_video_widget.h"
#include "platform/quiet_sound_libraries.h"

#include <QMetaObject>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelvorn {

namespace {

// Every option is set before mpv_initialize, library defaults included, so neither the
// user's mpv set-up nor a future default changes what the jukebox does.
struct Option {
    const char* name;
    const char* value;
};
constexpr Option kOptions[] = {
    // Keep the user's configuration, scripts, key bindings and network helpers out.
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"input-terminal", "no"},
    {"terminal", "no"},
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
    {"load-unsafe-playlists", "no"},
    {"access-references", "no"},
    // Nothing beside the song is picked up from its folder.
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"cover-art-auto", "no"},
    // Stay alive between songs; a song that ends closes (end-file reason eof).
    {"idle", "yes"},
    {"keep-open", "no"},
    // The end of a song is reported once its sound has really finished: with gapless
    // audio mpv reports it early and then holds the next song back until the old
    // sound has drained.
    {"gapless-audio", "no"},
    {"pause", "yes"},
    // Without a sound device songs still play in real time instead of ending at once.
    {"audio-fallback-to-null", "yes"},
    {"audio-client-name", "kelvorn"},
    {"volume", "100"},
    {"volume-max", "100"},
    // Embedded cover art is never shown, and mpv never opens a window of its own.
    {"audio-display", "no"},
    {"force-window", "no"},
};

// Songs have no picture.
constexpr Option kSongOptions[] = {
    {"vo", "null"},
};

// Videos start on the null output too: the picture widget switches to mpv's render API
// once its GL context exists, and back before that goes away, so a video without a
// surface still plays its sound (and ends normally) instead of failing its picture.
constexpr Option kVideoOptions[] = {
    {"vo", "null"},
    {"hwdec", "no"},
    // No hardware decoding, so no probing of vendor GPU libraries (which print to stderr).
    {"gpu-hwdec-interop", "no"},
    {"osd-level", "0"},
    {"sub-visibility", "no"},
    {"keepaspect", "yes"},
};

// mpv reads "proto://..." and a few other forms as something other than a file;
// "./" in front of a relative path keeps it a plain local path.
std::string localTarget(const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return path;
    return "./" + path;
}

}  // namespace

MpvPlayer::MpvPlayer(Kind kind, QObject* parent) : MediaPlayer(parent), kind_(kind) {
    const char* debug = std::getenv("KELVORN_DEBUG");
    debug_ = debug && std::strcmp(debug, "1") == 0;

    // libmpv refuses to start under a locale whose numbers are not written "1.5".
    std::setlocale(LC_NUMERIC, "C");
    if (!debug_)
        quietSoundLibraries();
    mpv_ = mpv_create();
    if (!mpv_)
        return;
    auto setOptions = [this](const auto& options) {
        for (const Option& option : options) {
            int err = mpv_set_option_string(mpv_, option.name, option.value);
            if (err < 0 && debug_)
                std::fprintf(stderr, "kelvorn: mpv option %s=%s: %s\n", option.name, option.value,
                             mpv_error_string(err));
        }
    };
    setOptions(kOptions);
    if (kind_ == Kind::Video)
        setOptions(kVideoOptions);
    else
        setOptions(kSongOptions);
    if (mpv_initialize(mpv_) < 0) {
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        return;
    }
    // Error lines are always counted; they reach stderr only in debug mode.
    mpv_request_log_messages(mpv_, debug_ ? "info" : "error");
    mpv_observe_property(mpv_, 0, "current-ao", MPV_FORMAT_STRING);
    mpv_set_wakeup_callback(mpv_, &MpvPlayer::mpv_wakeup, this);
}

MpvPlayer::~MpvPlayer() {
    if (!mpv_)
        return;
    // After this returns no wakeup runs any more; queued calls die with the object.
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    destroyHandle(&mpv_terminate_destroy);
}

// The render context must go before the core it belongs to.
void MpvPlayer::destroyHandle(void (*destroy)(mpv_handle*)) {
    if (widget_)
        widget_->detach();
    destroy(mpv_);
    mpv_ = nullptr;
}

// Runs on an mpv thread: only queues one drain on the GUI thread.
void MpvPlayer::mpv_wakeup(void* self) {
    auto* player = static_cast<MpvPlayer*>(self);
    if (player->wakeupQueued_.exchange(true))
        return;
    QMetaObject::invokeMethod(player, [player] { player->mpv_events(); }, Qt::QueuedConnection);
}

void MpvPlayer::mpv_events() {
    wakeupQueued_ = false;
    if (draining_ || !mpv_)
        return;
    draining_ = true;
    for (;;) {
        mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        if (event->event_id == MPV_EVENT_SHUTDOWN) {
            // The core is going away (we never ask it to): nothing can play any more.
            mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
            destroyHandle(&mpv_destroy);
            if (entry_ != 0)
                endOfEntry(MPV_END_FILE_REASON_ERROR);
            break;
        }
        handleEvent(*event);
    }
    draining_ = false;
    // Signalled only after the drain, so a handler that waits (running pending events)
    // lets the next drains through.
    if (signalPending_) {
        signalPending_ = false;
        emit stateChanged();
    }
}

void MpvPlayer::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        startedEntry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        // Carries no entry id: it belongs to the entry of the last start-file.
        if (startedEntry_ == entry_ && entry_ != 0) {
            loaded_ = true;
            setStates(Open, playState_, false);
        }
        break;
    case MPV_EVENT_END_FILE: {
        auto* end = static_cast<const mpv_event_end_file*>(event.data);
        // The end of a replaced file arrives after the new open: not ours to act on.
        if (end->playlist_entry_id == entry_ && entry_ != 0)
            endOfEntry(end->reason);
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        // A seek (or the start) has landed: time-pos is current once sound flows again.
        // While paused mpv counts the refilled sound buffer off it, so the target stays.
        if (playState_ == Playing)
            seekPending_ = false;
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        auto* prop = static_cast<const mpv_event_property*>(event.data);
        if (std::strcmp(prop->name, "current-ao") == 0) {
            pinAudioOutput(prop);
            break;
        }
        break;
    }
    case MPV_EVENT_LOG_MESSAGE: {
        auto* msg = static_cast<const mpv_event_log_message*>(event.data);
        // Failing sound devices are expected without sound hardware: the null
        // fallback covers them.
        if (msg->log_level <= MPV_LOG_LEVEL_ERROR && std::strncmp(msg->prefix, "ao", 2) != 0)
            ++errorLogs_;
        if (debug_)
            std::fprintf(stderr, "[mpv/%s] %s: %s", msg->prefix, msg->level, msg->text);
        break;
    }
    default:
        break;
    }
}

// mpv opens the sound output afresh for every song and, without a fixed choice, tries
// each driver in turn; on some machines that search takes a few hundred milliseconds
// between two songs. The driver that worked for the first song is kept from then on.
// Not for videos: changing the sound output while the picture output is running stalls
// the video (the switch waits on the picture, which waits on the GUI thread).
void MpvPlayer::pinAudioOutput(const mpv_event_property* prop) {
    if (aoPinned_ || kind_ == Kind::Video || prop->format != MPV_FORMAT_STRING || !mpv_)
        return;
    const char* driver = *static_cast<char* const*>(prop->data);
    if (!driver || !*driver)
        return;
    aoPinned_ = mpv_set_property_string(mpv_, "ao", driver) >= 0;
}

void MpvPlayer::endOfEntry(int reason) {
    position_ = 0;
    seekPending_ = false;
    if (reason == MPV_END_FILE_REASON_EOF && loaded_) {
        // Played to its end: stays open, so play starts it again.
        ended_ = true;
        setStates(openState_, Stopped, openFailed_);
        return;
    }
    if (reason == MPV_END_FILE_REASON_REDIRECT && mpv_) {
        // A playlist or reference file: its entries are not local songs we asked for.
        const char* cmd[] = {"stop", nullptr};
        mpv_command(mpv_, cmd);
    }
    // Error, redirect, or stopped behind our back before or while playing.
    entry_ = 0;
    loaded_ = false;
    ended_ = false;
    setStates(Closed, Stopped, true);
}

bool MpvPlayer::setPauseFlag(bool paused) {
    int flag = paused ? 1 : 0;
    return mpv_ && mpv_set_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag) >= 0;
}

bool MpvPlayer::loadEntry(bool paused) {
    entry_ = 0;
    loaded_ = false;
    ended_ = false;
    position_ = 0;
    seekPending_ = false;
    if (!mpv_ || !setPauseFlag(paused))
        return false;
    std::string target = localTarget(path_);
    const char* cmd[] = {"loadfile", target.c_str(), "replace", nullptr};
    mpv_node result;
    if (mpv_command_ret(mpv_, cmd, &result) < 0)
        return false;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        const mpv_node_list* map = result.u.list;
        for (int i = 0; i < map->num; ++i) {
            if (std::strcmp(map->keys[i], "playlist_entry_id") == 0 &&
                map->values[i].format == MPV_FORMAT_INT64)
                entry_ = map->values[i].u.int64;
        }
    }
    mpv_free_node_contents(&result);
    return entry_ != 0;
}

void MpvPlayer::open(const std::string& path) {
    path_ = path;
    bool loading = loadEntry(true);
    setStates(Closed, Stopped, !loading);
}

void MpvPlayer::play() {
    if (openState_ != Open || playState_ == Playing)
        return;
    if (ended_) {
        // mpv closed the file at its end; load it again, playing from the start.
        if (loadEntry(false))
            setStates(Open, Playing, false);
        else
            setStates(Closed, Stopped, true);
        return;
    }
    if (setPauseFlag(false)) {
        seekPending_ = false;
        setStates(Open, Playing, openFailed_);
    }
}

void MpvPlayer::pause() {
    if (playState_ == Playing && setPauseFlag(true))
        setStates(openState_, Paused, openFailed_);
}

void MpvPlayer::stop() {
    if (mpv_) {
        const char* cmd[] = {"stop", nullptr};
        mpv_command(mpv_, cmd);
    }
    entry_ = 0;
    loaded_ = false;
    ended_ = false;
    position_ = 0;
    seekPending_ = false;
    setStates(Closed, Stopped, openFailed_);
}

void MpvPlayer::setPosition(double seconds) {
    if (!mpv_ || !loaded_ || ended_)
        return;
    // A negative absolute seek would count from the end in mpv; "exact" because MP3
    // seeks are otherwise estimated from the bit rate.
    if (!(seconds > 0))
        seconds = 0;
    mpv_node args[3];
    args[0].format = MPV_FORMAT_STRING;
    args[0].u.string = const_cast<char*>("seek");
    args[1].format = MPV_FORMAT_DOUBLE;
    args[1].u.double_ = seconds;
    args[2].format = MPV_FORMAT_STRING;
    args[2].u.string = const_cast<char*>("absolute+exact");
    mpv_node_list list{3, args, nullptr};
    mpv_node command;
    command.format = MPV_FORMAT_NODE_ARRAY;
    command.u.list = &list;
    if (mpv_command_node(mpv_, &command, nullptr) >= 0) {
        position_ = seconds;
        seekPending_ = true;
    }
}

// Asked for when needed (the clock reads it ten times a second) rather than observed:
// an observed time-pos wakes the program at every audio frame.
double MpvPlayer::position() const {
    double seconds = 0;
    // Until a seek lands, mpv still reports the old time: the target is the position.
    if (seekPending_ && loaded_ && !ended_)
        return position_;
    if (mpv_ && loaded_ && !ended_ &&
        mpv_get_property(mpv_, "time-pos", MPV_FORMAT_DOUBLE, &seconds) >= 0 && std::isfinite(seconds))
        return std::max(0.0, seconds);
    return loaded_ && !ended_ ? position_ : 0;
}

void MpvPlayer::setDisplaySize(int size) {
    displaySize_ = size == FullScreen ? FullScreen : DefaultSize;
    placeWidget();
}

QWidget* MpvPlayer::videoWidget(QWidget* parent) {
    if (kind_ != Kind::Video)
        return nullptr;
    if (!widget_) {
        widget_ = new MpvVideoWidget(mpv_, parent);
        connect(widget_, &MpvVideoWidget::keyTyped, this, &MediaPlayer::keyPressed);
        connect(widget_, &MpvVideoWidget::leaveFullScreen, this, [this] { setDisplaySize(DefaultSize); });
        placeWidget();
    }
    return widget_;
}

void MpvPlayer::setControlVisible(bool visible) {
    controlVisible_ = visible;
    placeWidget();
}

void MpvPlayer::setControlSize(int width, int height) {
    controlWidth_ = width;
    controlHeight_ = height;
    placeWidget();
}

void MpvPlayer::placeWidget() {
    if (widget_)
        widget_->place(displaySize_ == FullScreen, controlVisible_, controlWidth_, controlHeight_);
}

void MpvPlayer::setGain(double gain) {
    if (!mpv_)
        return;
    // mpv's volume is cubic: 100 * cbrt(amplitude) gives the same loudness.
    double volume = gain > 0 ? 100.0 * std::cbrt(std::min(gain, 1.0)) : 0.0;
    mpv_set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &volume);
}

void MpvPlayer::setStates(int openState, int playState, bool failed) {
    if (openState == openState_ && playState == playState_ && failed == openFailed_)
        return;
    openState_ = openState;
    playState_ = playState;
    openFailed_ = failed;
    if (draining_)
        signalPending_ = true;
    else
        emit stateChanged();
}

}  // namespace kelvorn
