// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transitions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

#include "core/menu_screen.h"
#include "fakes/core_test_rig.h"

using namespace kelvorn;
using ::testing::ElementsAre;
using Log = std::vector<std::string>;

namespace {

// A screen that writes its FadeIn, FadeOut, show and hide into a shared log.
struct RecordingScreen : MenuScreen {
    RecordingScreen(CoreRig& rig, std::string screenName, Log& shared)
        : MenuScreen(&rig.stage, rig.services), name(std::move(screenName)), log(shared) {
        hide();
    }
    void keyTyped(const std::string&) override {}
    void FadeIn() override { log.push_back(name + ".FadeIn"); }
    void FadeOut() override { log.push_back(name + ".FadeOut"); }
    void setVisible(bool visible) override {
        if (visible == isHidden()) log.push_back(name + (visible ? ".show" : ".hide"));
        MenuScreen::setVisible(visible);
    }
    std::string name;
    Log& log;
};

}  // namespace

// Counted in closed form: a step too small to change the height still ends.
TEST(Transitions, WipeStepsFollowTheSpeedAndEndForATinyOne) {
    EXPECT_EQ(Transitions::wipeSteps(0.25), 321);
    EXPECT_EQ(Transitions::wipeSteps(1e-17), 100000);
}

// The wipe's passes show in the log as one "wipe"; a second back during it is ignored.
TEST(Transitions, OpenAndBackRunTheirStepsInOrderAndBackOnlyOnce) {
    CoreRig rig;
    rig.svc.GFXSpeed = 30;
    Log log;
    RecordingScreen main(rig, "main", log), menu(rig, "menu", log), list(rig, "list", log);
    main.show();
    Transitions transitions(&rig.stage, rig.services, main);
    bool secondBack = false;
    rig.pump.onPass = [&] {
        if (std::exchange(secondBack, false)) transitions.backToMain(list);
        if (log.empty() || log.back() != "wipe") log.push_back("wipe");
    };
    log.clear();
    transitions.open(main, menu);
    EXPECT_THAT(log, ElementsAre("wipe", "menu.FadeOut", "menu.show", "main.FadeOut", "menu.FadeIn"));
    log.clear();
    transitions.open(menu, list, [&] { log.push_back("between"); });
    EXPECT_THAT(
        log, ElementsAre("wipe", "list.FadeOut", "list.show", "menu.FadeOut", "between", "menu.hide", "list.FadeIn"));
    log.clear();
    secondBack = true;
    transitions.backToMain(list);
    EXPECT_THAT(log, ElementsAre("wipe", "main.FadeOut", "list.FadeOut", "list.hide", "main.FadeIn"));
    EXPECT_TRUE(!main.isHidden() && list.isHidden() && transitions.blackOut().isHidden());
}
