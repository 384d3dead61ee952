// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/keep_awake.h"

#include <chrono>

#include "app/awake_calls.h"
#include "app/bus_inhibition.h"
#include "app/screen_blanking.h"
#include "platform/debug_log.h"

namespace kelvorn {

namespace {

constexpr std::chrono::seconds kLookEvery{1};

std::optional<QString> toQString(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    return QString::fromStdString(*text);
}

}  // namespace

KeepAwake::KeepAwake(const KelvornSERVICE& svc, std::vector<const MediaPlayer*> players, const AlarmClock& alarm,
                     const QDBusConnection& session, const QDBusConnection& system,
                     std::unique_ptr<ScreenBlanking> screen)
    : svc_(svc),
      players_(std::move(players)),
      alarm_(alarm),
      session_(session),
      idle_(screenSaverInhibition(session)),
      sleep_(logindSleepLock(system)),
      screen_(std::move(screen)) {
    timer_.setInterval(kLookEvery);
    connect(&timer_, &QTimer::timeout, this, &KeepAwake::update);
}

KeepAwake::~KeepAwake() { release(); }

void KeepAwake::start() {
    update();
    timer_.start();
}

void KeepAwake::update() {
    const AwakeNeeds needs = awakeNeeds(svc_, players_, alarm_);
    // The alarm has just started: whatever blanked the screen gives way.
    if (needs.alarmSounding && !sounding_) {
        screen_->wake();
        simulateUserActivity(session_);
        debugEvent("awake", "alarm");
    }
    sounding_ = needs.alarmSounding;
    const AwakeReasons reasons = awakeReasons(needs);
    if (reasons == reasons_) return;
    debugEvent("awake", reasons.idle.value_or("-") + " / " + reasons.sleep.value_or("-"));
    screen_->hold(reasons.idle.has_value());
    idle_->want(toQString(reasons.idle));
    sleep_->want(toQString(reasons.sleep));
    reasons_ = reasons;
}

bool KeepAwake::settled() const { return !idle_->asking() && !sleep_->asking(); }

void KeepAwake::release() {
    timer_.stop();
    idle_->release();
    sleep_->release();
    screen_->hold(false);
}

}  // namespace kelvorn
