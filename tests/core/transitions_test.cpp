#include "core/transitions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/menu_screen.h"
#include "core/widgets.h"
#include "fakes/core_test_rig.h"

using namespace kelvorn;
using ::testing::ElementsAre;

namespace {

// A screen that writes its FadeIn, FadeOut, show and hide into a shared log.
class RecordingScreen : public MenuScreen {
public:
    RecordingScreen(QWidget* stage, Services& services, std::string name, std::vector<std::string>& log)
        : MenuScreen(stage, services), name_(std::move(name)), log_(log) { hide(); }
    void keyTyped(const std::string&) override {}
    void FadeIn() override { note("FadeIn"); }
    void FadeOut() override { note("FadeOut"); }
    void setVisible(bool visible) override {
        if (visible == isHidden()) note(visible ? "show" : "hide");
        MenuScreen::setVisible(visible);
    }
    // Whether the wipe's strip was up at each FadeOut.
    std::vector<bool> stripUpAtFadeOut;
    const BlackOut* strip = nullptr;

private:
    void note(const std::string& what) {
        log_.push_back(name_ + "." + what);
        if (what == "FadeOut") stripUpAtFadeOut.push_back(strip && !strip->isHidden());
    }
    std::string name_;
    std::vector<std::string>& log_;
};

// The strip's height at every pass while it is up.
std::vector<double> wipeHeights(CoreRig& rig, double speed) {
    rig.svc.GFXSpeed = speed;
    std::vector<double> heights;
    rig.pump.onPass = [&] { heights.push_back(rig.transitions->blackOut().heightTwips()); };
    rig.transitions->wipe();
    rig.pump.onPass = nullptr;
    return heights;
}

}  // namespace

TEST(Transitions, WipeStepsScaleWithTheSpeed) {
    const struct { double speed; int steps; double rise; } cases[] = {{1, 81, 3564}, {2, 41, 41 * 88}};
    CoreRig rig;
    BlackOut& strip = rig.transitions->blackOut();
    const double start = strip.startTop();
    for (const auto& c : cases) {
        const std::vector<double> heights = wipeHeights(rig, c.speed);
        // One pass on showing, one per step, one at the end.
        ASSERT_EQ(heights.size(), static_cast<size_t>(c.steps + 2)) << c.speed;
        EXPECT_DOUBLE_EQ(heights[2], 90 + 80 * c.speed);
        EXPECT_DOUBLE_EQ(heights.back(), 6490);
        EXPECT_DOUBLE_EQ(start - strip.topTwips(), c.rise);
        rig.transitions->overlayReset();
    }
    EXPECT_THAT(wipeHeights(rig, 30), ElementsAre(90, 90, 2490, 4890, 4890));
    EXPECT_DOUBLE_EQ(strip.topTwips(), start - 3 * 44 * 30);
    rig.transitions->overlayReset();
    // At a negative speed only the passes on showing and at the end remain.
    EXPECT_THAT(wipeHeights(rig, -1), ElementsAre(90, 90));
    // Counted in closed form: a step too small to change the height still ends.
    EXPECT_EQ(Transitions::wipeSteps(0.25), 321);
    EXPECT_EQ(Transitions::wipeSteps(1e-17), 100000);
}

TEST(Transitions, OpenAndBackRunTheirStepsInOrderEachFromAFreshStrip) {
    CoreRig rig;
    rig.svc.GFXSpeed = 30;
    std::vector<std::string> log;
    RecordingScreen main(&rig.stage, rig.services, "main", log);
    RecordingScreen menu(&rig.stage, rig.services, "menu", log);
    RecordingScreen list(&rig.stage, rig.services, "list", log);
    main.setGeometry(rig.twips.mainArea());
    main.show();
    Transitions transitions(&rig.stage, rig.services, main);
    const BlackOut& strip = transitions.blackOut();
    for (RecordingScreen* s : {&main, &menu, &list}) s->strip = &strip;
    // The wipe's passes show up in the log once per run of passes; the first pass of
    // each run finds the strip back at its start.
    int fresh = 0;
    rig.pump.onPass = [&] {
        if (!log.empty() && log.back() == "wipe") return;
        log.push_back("wipe");
        fresh += strip.topTwips() == strip.startTop() && strip.heightTwips() == 90;
    };

    log.clear();
    transitions.open(main, menu);
    EXPECT_THAT(log, ElementsAre("wipe", "menu.FadeOut", "menu.show", "main.FadeOut", "menu.FadeIn"));
    EXPECT_FALSE(main.isHidden());
    EXPECT_EQ(menu.pos(), main.pos() + QPoint(0, rig.twips.px(960)));  // the screen stands below main

    log.clear();
    transitions.open(menu, list, [&] { log.push_back("between"); });
    EXPECT_THAT(log, ElementsAre("wipe", "list.FadeOut", "list.show", "menu.FadeOut", "between",
                                 "menu.hide", "list.FadeIn"));
    // The strip covers the screen while the new one is cleared, and is gone before
    // the old one clears.
    EXPECT_THAT(list.stripUpAtFadeOut, ElementsAre(true));
    EXPECT_THAT(menu.stripUpAtFadeOut, ElementsAre(true, false));

    log.clear();
    transitions.backToMain(list);
    EXPECT_THAT(log, ElementsAre("wipe", "main.FadeOut", "list.FadeOut", "list.hide", "main.FadeIn"));
    EXPECT_THAT(main.stripUpAtFadeOut, ElementsAre(false, false));
    EXPECT_TRUE(!main.isHidden() && list.isHidden() && strip.isHidden());
    EXPECT_EQ(fresh, 3);
}
