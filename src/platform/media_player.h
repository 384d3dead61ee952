// SPDX-License-Identifier: GPL-3.0-or-later
// The media player component: exactly the operations the screens drive.
#pragma once
#include <QObject>

class QWidget;
#include <string>

namespace kelvorn {

// What a song's own tags say (empty where they say nothing).
struct SongTags {
    std::string artist;
    std::string title;
    std::string album;
};

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    // The values callers compare with: 0 nothing open, 6 open and playable.
    enum OpenState { Closed = 0, Open = 6 };
    // 0 stopped (also after a song played to its end), 1 paused, 2 playing.
    enum PlayState { Stopped = 0, Paused = 1, Playing = 2 };
    // 3 full screen, 0 the control's own size.
    enum DisplaySize { DefaultSize = 0, FullScreen = 3 };

    using QObject::QObject;

    // Makes the player ready to play (a real player loads its engine); false when it can
    // never play anything.
    virtual bool prepare() { return true; }
    // Starts loading a local file; the open state becomes Open once it can be played.
    virtual void open(const std::string& path) = 0;
    // Plays the opened file or resumes a paused one; the play state is Playing on return
    // unless nothing playable is open.
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    // Drops the file it opens or plays without waiting on it, for one that stopped
    // answering (a disk asleep, a hung share): a real player leaves its engine to end on
    // its own and makes a fresh one for the next open. Closed and failed afterwards.
    virtual void abandon() = 0;
    // The path given to open, unchanged.
    virtual std::string fileName() const = 0;
    // Elapsed seconds (0 before playback); writing seeks.
    virtual double position() const = 0;
    virtual void setPosition(double seconds) = 0;
    // Length of the open file in seconds; 0 when unknown or nothing is open.
    virtual double duration() const { return 0; }
    virtual OpenState openState() const = 0;
    virtual PlayState playState() const = 0;
    // True once the last open has failed for good: waits for the open may end early.
    virtual bool openFailed() const = 0;
    virtual DisplaySize displaySize() const = 0;
    virtual void setDisplaySize(DisplaySize size) = 0;
    // Plays the program's own alarm tone, made without any file, until stop or the next
    // open: the sound of last resort when no song can be played.
    virtual void playTone() = 0;
    // Output gain 0..1 (linear amplitude), set by the wave volume.
    virtual void setGain(double gain) = 0;
    // The open song's tags, once read (tagsRead); empty before and for a file without.
    virtual SongTags tags() const { return {}; }

    // Video players only: the picture as a widget on `parent`, made on the first call
    // and kept; nullptr for a player without a picture. With display size FullScreen
    // the picture fills its parent; with DefaultSize it keeps the control's own size.
    virtual QWidget* videoWidget(QWidget* parent) {
        (void)parent;
        return nullptr;
    }
    // The control's own place on its screen (visible flag, width and height in pixels).
    virtual void setControlVisible(bool visible) { (void)visible; }
    virtual void setControlSize(int width, int height) {
        (void)width;
        (void)height;
    }

signals:
    // The open or play state changed (loaded, failed, ended, paused...).
    void stateChanged();
    // A key typed while the player's picture had the focus.
    void keyPressed(int code);
    // The open song's tags have been read.
    void tagsRead();
};

}  // namespace kelvorn
