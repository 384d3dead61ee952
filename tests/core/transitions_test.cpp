#include "core/transitions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/menu_screen.h"
#include "fakes/core_test_rig.h"

using namespace kelvorn;
using ::testing::ElementsAre;

namespace {

// Screens that write their FadeIn, FadeOut (marked "+" while the wipe's strip is up),
// show and hide into a shared log.
struct Log {
    std::vector<std::string> lines;
    const BlackOut* strip = nullptr;
};

class RecordingScreen : public MenuScreen {
public:
    RecordingScreen(QWidget* stage, Services& services, std::string name, Log& log)
        : MenuScreen(stage, services), name_(std::move(name)), log_(log) { hide(); }
    void keyTyped(const std::string&) override {}
    void FadeIn() override { note("FadeIn"); }
    void FadeOut() override { note(log_.strip && !log_.strip->isHidden() ? "FadeOut+" : "FadeOut"); }
    void setVisible(bool visible) override {
        if (visible == isHidden()) note(visible ? "show" : "hide");
        MenuScreen::setVisible(visible);
    }

private:
    void note(const std::string& what) { log_.lines.push_back(name_ + "." + what); }
    std::string name_;
    Log& log_;
};

}  // namespace

// One pass on showing, one per step, one at the end.
TEST(Transitions, WipeStepsScaleWithTheSpeed) {
    CoreRig rig;
    BlackOut& strip = rig.transitions->blackOut();
    const double start = strip.startTop();
    const struct { double speed; size_t passes; double height, rise; } cases[] = {
        {1, 83, 6490, 3564}, {2, 43, 6490, 3608}, {-1, 2, 90, 0}};
    for (const auto& c : cases) {
        rig.svc.GFXSpeed = c.speed;
        std::vector<double> heights;
        rig.pump.onPass = [&] { heights.push_back(strip.heightTwips()); };
        rig.transitions->wipe();
        ASSERT_EQ(heights.size(), c.passes) << c.speed;
        EXPECT_EQ(heights.back(), c.height) << c.speed;
        EXPECT_DOUBLE_EQ(start - strip.topTwips(), c.rise) << c.speed;
        rig.transitions->overlayReset();
    }
    // Counted in closed form: a step too small to change the height still ends.
    EXPECT_EQ(Transitions::wipeSteps(0.25), 321);
    EXPECT_EQ(Transitions::wipeSteps(1e-17), 100000);
}

// The strip ("+") covers the screen while the new one is cleared, not while the old one is.
TEST(Transitions, OpenAndBackRunTheirStepsInOrderEachFromAFreshStrip) {
    CoreRig rig;
    rig.svc.GFXSpeed = 30;
    Log log;
    RecordingScreen main(&rig.stage, rig.services, "main", log);
    RecordingScreen menu(&rig.stage, rig.services, "menu", log);
    RecordingScreen list(&rig.stage, rig.services, "list", log);
    main.setGeometry(rig.twips.mainArea());
    main.show();
    Transitions transitions(&rig.stage, rig.services, main);
    const BlackOut& strip = *(log.strip = &transitions.blackOut());
    // The wipe's passes show up in the log once per run of passes.
    int fresh = 0;
    bool secondBack = false;
    rig.pump.onPass = [&] {
        if (std::exchange(secondBack, false)) transitions.backToMain(list);
        if (!log.lines.empty() && log.lines.back() == "wipe") return;
        log.lines.push_back("wipe");
        fresh += strip.topTwips() == strip.startTop() && strip.heightTwips() == 90;
    };
    log.lines.clear();
    transitions.open(main, menu);
    EXPECT_THAT(log.lines, ElementsAre("wipe", "menu.FadeOut+", "menu.show", "main.FadeOut", "menu.FadeIn"));
    EXPECT_FALSE(main.isHidden());
    EXPECT_EQ(menu.pos(), main.pos() + QPoint(0, rig.twips.px(960)));  // the screen stands below main
    log.lines.clear();
    transitions.open(menu, list, [&] { log.lines.push_back("between"); });
    EXPECT_THAT(log.lines, ElementsAre("wipe", "list.FadeOut+", "list.show", "menu.FadeOut", "between",
                                       "menu.hide", "list.FadeIn"));
    log.lines.clear();
    secondBack = true;
    transitions.backToMain(list);
    EXPECT_THAT(log.lines, ElementsAre("wipe", "main.FadeOut", "list.FadeOut", "list.hide", "main.FadeIn"));
    EXPECT_TRUE(!main.isHidden() && list.isHidden() && strip.isHidden());
    EXPECT_EQ(fresh, 3);
}
