// SPDX-License-Identifier: GPL-3.0-or-later
// The media player component over libmpv: local files only, events on the GUI thread,
// and no call that waits for the core.
#pragma once
#include "platform/media_player.h"

#include <QPointer>

#include <atomic>
#include <cstdint>
#include <string>

#include <mpv/client.h>
#include <initializer_list>

namespace kelvorn {

namespace mpv {
struct Api;
}

class MpvVideoWidget;

class MpvPlayer : public MediaPlayer {
    Q_OBJECT
public:
    // Songs play sound only; a video player also draws its picture into videoWidget().
    enum class Kind { Songs, Video };

    explicit MpvPlayer(QObject* parent = nullptr) : MpvPlayer(Kind::Songs, parent) {}
    explicit MpvPlayer(Kind kind, QObject* parent = nullptr);
    ~MpvPlayer() override;

    bool prepare() override { return core(); }
    void open(const std::string& path) override;
    void play() override;
    void pause() override;
    void stop() override;
    void abandon() override;
    std::string fileName() const override { return path_; }
    double position() const override;
    double duration() const override;
    void setPosition(double seconds) override;
    OpenState openState() const override { return openState_; }
    PlayState playState() const override { return playState_; }
    bool openFailed() const override { return openFailed_; }
    DisplaySize displaySize() const override { return displaySize_; }
    void setDisplaySize(DisplaySize size) override;
    void setGain(double gain) override;
    void playTone() override;
    SongTags tags() const override { return tags_; }
    QWidget* videoWidget(QWidget* parent) override;
    void setControlVisible(bool visible) override;
    void setControlSize(int width, int height) override;

    // Error-level lines mpv has logged so far (diagnostics for tests).
    int errorLogCount() const { return errorLogs_; }
    // The sound driver kept for later songs; empty while no real device worked.
    const std::string& pinnedAudioOutput() const { return pinnedAo_; }
    // Cores given up by abandon() that have not ended yet, in the whole process.
    static int abandonedCores();
    // The volume the core has now, NaN without a core. Waits for the core: tests only.
    double mpvVolume() const;
    // Asks the core to quit, as nothing in the program does: a core that goes away.
    void quitCore() { command({"quit"}); }
    // The source playTone tries first, instead of libavfilter's generator.
    void setToneSource(std::string source) { toneSource_ = std::move(source); }

private:
    // What the current entry is when it is the alarm tone.
    enum class Tone { None, Generated, File };

    // Makes the mpv core on first use; false when libmpv cannot be had.
    bool core();
    // True for an mpv return code that is no error; an error is logged (debug only).
    bool check(int err, const char* what) const;
    void applyGain();
    static void mpv_wakeup(void* self);
    void mpv_events();
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleReply(const mpv_event& event);
    void endOfEntry(int reason);
    // The current entry reached "file loaded": it is open, and its tags are asked for.
    void fileLoaded();
    void pinAudioOutput(const mpv_event_property* prop);
    void placeWidget();
    void destroyHandle(void (*destroy)(mpv_handle*));
    void abandonCore();
    // A loadfile is not answered, or its file not loaded yet.
    bool loading() const;

    // Requests to the core; each returns its reply's id (0 when it could not be sent).
    uint64_t command(std::initializer_list<const char*> args);
    uint64_t setProperty(const char* name, mpv_format format, void* value);
    void askPosition() const;
    // A time-pos mpv answered.
    void takePosition(double seconds);
    void forgetSeek();
    // Loads `target` (path_ made a local target, unless given) as a new playlist entry,
    // replacing whatever mpv has; a looping one starts again at its end, for ever.
    bool loadEntry(bool paused, const std::string& target = {}, bool loop = false);
    bool setPauseFlag(bool paused);
    void startTone(Tone tone);
    // The tone could not be played: the next way to make it, or a failed open.
    void toneFailed(Tone tone);
    // Forgets the entry and everything known about it.
    void clearEntry();
    void setStates(OpenState openState, PlayState playState, bool failed);

    const Kind kind_;
    const mpv::Api* api_ = nullptr;
    mpv_handle* mpv_ = nullptr;
    bool coreFailed_ = false;  // libmpv or its core could not be had, or it quit: no second try
    double gain_ = 1.0;
    QPointer<MpvVideoWidget> widget_;
    bool controlVisible_ = true;
    int controlWidth_ = 0;
    int controlHeight_ = 0;
    std::atomic<bool> wakeupQueued_{false};
    bool draining_ = false;
    bool signalPending_ = false;

    std::string path_;
    std::string toneSource_;  // libavfilter's generator, unless a test gave another
    Tone tone_ = Tone::None;
    // mpv's playlist entry of the current open (known once its loadfile is answered);
    // events of older entries are ignored.
    int64_t entry_ = 0;
    int64_t startedEntry_ = 0;  // the entry of the last start-file
    int64_t loadedEntry_ = 0;   // the entry of the last file-loaded
    bool loaded_ = false;       // the current entry reached "file loaded"
    bool ended_ = false;        // the current entry played to its end

    mutable uint64_t nextRequest_ = 1;      // reading the position asks for the next one
    uint64_t loadRequest_ = 0;              // the loadfile not answered yet
    uint64_t seekRequest_ = 0;              // the last seek, until answered
    mutable uint64_t positionRequest_ = 0;  // the time-pos asked for, until answered
    uint64_t tagsRequest_ = 0;              // the metadata asked for, until answered
    SongTags tags_;
    bool tagsPending_ = false;  // tags were read during a drain: told after it

    mutable double position_ = 0;
    double duration_ = 0;
    OpenState openState_ = Closed;
    PlayState playState_ = Stopped;
    bool openFailed_ = false;
    DisplaySize displaySize_ = DefaultSize;
    int errorLogs_ = 0;
    std::string pinnedAo_;
    bool seekPending_ = false;  // a seek was sent and has not landed yet
    double seekFloor_ = 0;      // the last seek's target, until a time-pos reaches it
};

}  // namespace kelvorn
