// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/main_keys.h"

#include <algorithm>

#include "core/main_command.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

MainKey mainKeyFor(const std::string& key, const KelvornSERVICE& svc) {
    if (key.empty()) return {};
    if (key == svc.KeyUp) return {MainAction::Up};
    if (key == svc.KeyDown) return {MainAction::Down};
    if (key == svc.KeyBack) return {MainAction::Back};
    if (key == svc.KeyOk) return {MainAction::Ok};
    if (key.size() != 1) return {};
    const char c = key[0];
    if (c >= '1' && c <= '6') return {MainAction::Button, c - '1'};
    if (c == '7') return {MainAction::Previous};
    if (c == '8') return {MainAction::SeekBack};
    if (c == '9') return {MainAction::SeekForward};
    if (c == '0') return {MainAction::SleepSnooze};
    return {};
}

int stepHighlight(int current, int delta, int count) {
    int next = current + delta;
    if (next < 0) next = count - 1;
    if (next >= count) next = 0;
    return next;
}

double seekBackTarget(double position) { return position >= 10 ? position - 10 : 0; }

MainCommand buttonCommand(int index) {
    constexpr MainCommand kButtons[] = {MainCommand::PlaySkip,  MainCommand::StopResume, MainCommand::ListsMenu,
                                        MainCommand::AlarmMenu, MainCommand::Shuffle,    MainCommand::VideoList};
    return kButtons[std::clamp(index, 0, 5)];  // the caller keeps to 0..5
}

}  // namespace kelvorn
