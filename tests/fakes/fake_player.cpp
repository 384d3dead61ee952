// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes/fake_player.h"

namespace kelvorn {

void FakePlayer::open(const std::string& path) {
    opens.push_back(path);
    path_ = path;
    position_ = 0;
    tags_ = {};
    bool fails = false, hangs = false;
    for (const std::string& part : failing_) fails = fails || path.find(part) != std::string::npos;
    for (const std::string& part : hanging_) hangs = hangs || path.find(part) != std::string::npos;
    setStates(fails || hangs ? Closed : Open, Stopped, fails);
}

void FakePlayer::play() {
    ++plays;
    if (openState_ == Open) setStates(Open, Playing, openFailed_);
}

void FakePlayer::playTone() {
    ++tones;
    path_.clear();
    position_ = 0;
    setStates(Open, Playing, false);
}

void FakePlayer::pause() {
    if (playState_ == Playing) setStates(openState_, Paused, openFailed_);
}

void FakePlayer::stop() {
    position_ = 0;
    setStates(Closed, Stopped, openFailed_);
}

void FakePlayer::abandon() {
    ++abandons;
    position_ = 0;
    setStates(Closed, Stopped, true);
}

void FakePlayer::setPosition(double seconds) {
    seeks.push_back(seconds);
    if (openState_ == Open) position_ = seconds;
}

void FakePlayer::finishSong() {
    // Like the real player: the file stays open and play starts it again.
    position_ = 0;
    setStates(openState_, Stopped, openFailed_);
}

void FakePlayer::setStates(OpenState openState, PlayState playState, bool failed) {
    if (openState == openState_ && playState == playState_ && failed == openFailed_) return;
    openState_ = openState;
    playState_ = playState;
    openFailed_ = failed;
    emit stateChanged();
}

}  // namespace kelvorn
