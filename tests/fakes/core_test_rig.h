// SPDX-License-Identifier: GPL-3.0-or-later
// A main screen and the transitions on the fake player, pump, clock and random source.
#pragma once
#include <memory>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

#include "core/black_screen.h"
#include "core/services.h"
#include "core/transitions.h"
#include "core/velmot_main.h"
#include "fakes/counting_pump.h"
#include "fakes/fake_player.h"
#include "fakes/fixed_clock.h"
#include "fakes/fixed_random.h"
#include "platform/stage.h"
#include "platform/wave_volume.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

// The black screen and the video screen as the clock's sequences see them: what was asked.
struct RecordingBlack : BlackScreen {
    std::vector<std::string> calls;
    void showBlack() override { calls.push_back("show"); }
    void hideBlack() override { calls.push_back("hide"); }
    void showIndicator(Indicator which) override { calls.push_back(which == Indicator::Sleep ? "SLEEP" : "SNOOZE"); }
    void stopLines() override { calls.push_back("stopLines"); }
    void ClearDrawing() override { calls.push_back("clear"); }
};

struct RecordingNightScreens : NightScreens {
    RecordingBlack black;
    int videoStops = 0;
    std::function<void()> onStopVideo;
    BlackScreen& blackScreen() override { return black; }
    void stopVideo() override {
        ++videoStops;
        if (onStopVideo) onStopVideo();
    }
};

inline void sendKey(QWidget* to, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(to, &event);
}

struct CoreRig {
    KelvornSERVICE svc;
    FakePlayer player;
    FakePlayer video;  // the video screen's player
    FakePlayer tone;   // the alarm's tone
    CountingPump pump;
    FixedClock clock;
    ScriptedRandom random;
    WaveVolume volume;
    TwipScale twips{810, 610};
    Services services{svc, player, pump, clock, random, volume, twips, ".", &video, &tone, {}};
    QWidget stage;
    std::unique_ptr<VelmotMAIN> main;
    std::unique_ptr<Transitions> transitions;
    int exits = 0;

    CoreRig() {
        svc.Mp3Path = "/music/";
        main = std::make_unique<VelmotMAIN>(&stage, services);
        main->stopTimers();  // ticks are driven by the tests
        QObject::connect(main.get(), &VelmotMAIN::exitWanted, [this] { ++exits; });
        transitions = std::make_unique<Transitions>(&stage, services, *main);
    }

    void setArchive(std::initializer_list<const char*> names) {
        svc.ArchiveList.assign(names.begin(), names.end());
        svc.ArchiveCount = static_cast<int16_t>(svc.ArchiveList.size()) - 1;
    }
    void type(const std::string& keys) {
        for (char c : keys) main->keyTyped(std::string(1, c));
    }
    std::string lastOpened() const { return player.opens.empty() ? "" : player.opens.back(); }
};

}  // namespace kelvorn
