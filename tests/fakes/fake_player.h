// SPDX-License-Identifier: GPL-3.0-or-later
// In-memory media player for tests: opens at once, plays until told the song ended.
#pragma once
#include "platform/media_player.h"

#include <string>
#include <vector>

namespace kelvorn {

class FakePlayer : public MediaPlayer {
    Q_OBJECT
public:
    using MediaPlayer::MediaPlayer;

    void open(const std::string& path) override;
    void play() override;
    void pause() override;
    void stop() override;
    void abandon() override;
    std::string fileName() const override { return path_; }
    double position() const override { return position_; }
    double duration() const override { return length; }
    void setPosition(double seconds) override;
    OpenState openState() const override { return openState_; }
    PlayState playState() const override { return playState_; }
    bool openFailed() const override { return openFailed_; }
    DisplaySize displaySize() const override { return displaySize_; }
    void setDisplaySize(DisplaySize size) override { displaySize_ = size; }
    void setGain(double value) override { gain = value; }
    void playTone() override;
    SongTags tags() const override { return tags_; }

    // Test triggers.
    void finishSong();                                                            // the song played to its end
    void failOpen(const std::string& pathPart) { failing_.push_back(pathPart); }  // opens containing it fail
    void hangOpen(const std::string& pathPart) { hanging_.push_back(pathPart); }  // ... never answer
    void setPositionValue(double seconds) { position_ = seconds; }
    void pressKey(int code) { emit keyPressed(code); }
    void readTags(SongTags tags) {  // the open song's tags have been read
        tags_ = std::move(tags);
        emit tagsRead();
    }

    // What the code under test did.
    std::vector<std::string> opens;  // every path given to open, in order
    std::vector<double> seeks;       // every setPosition value
    int plays = 0;
    int tones = 0;
    int abandons = 0;
    double length = 0;  // the open song's duration, when the test knows one
    double gain = 1.0;

private:
    void setStates(OpenState openState, PlayState playState, bool failed);

    std::string path_;
    std::vector<std::string> failing_;
    std::vector<std::string> hanging_;
    double position_ = 0;
    OpenState openState_ = Closed;
    PlayState playState_ = Stopped;
    bool openFailed_ = false;
    SongTags tags_;
    DisplaySize displaySize_ = DefaultSize;
};

}  // namespace kelvorn
