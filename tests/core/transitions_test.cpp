#include "core/transitions.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>
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
    RecordingScreen(QWidget* stage, Services& s, std::string name, std::vector<std::string>& log)
        : MenuScreen(stage, s), name_(std::move(name)), log_(log) {
        hide();
    }
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
std::vector<double> wipeHeights(CoreRig& rig) {
    std::vector<double> heights;
    rig.pump.onPass = [&] { heights.push_back(rig.transitions->blackOut().heightTwips()); };
    rig.transitions->wipe();
    rig.pump.onPass = nullptr;
    return heights;
}

}  // namespace

TEST(Transitions, WipeStepsScaleWithTheSpeed) {
    EXPECT_EQ(Transitions::wipeSteps(1), 81);
    EXPECT_EQ(Transitions::wipeSteps(2), 41);
    EXPECT_EQ(Transitions::wipeSteps(30), 3);
    EXPECT_EQ(Transitions::wipeSteps(-1), 0);
    EXPECT_EQ(Transitions::wipeSteps(0), 0);

    CoreRig rig;
    BlackOut& strip = rig.transitions->blackOut();
    const double start = strip.startTop();
    struct Case {
        double speed;
        int steps;
        double rise;
    };
    for (const Case& c : {Case{1, 81, 3564}, Case{2, 41, 41 * 88}}) {
        rig.svc.GFXSpeed = c.speed;
        const std::vector<double> heights = wipeHeights(rig);
        // One pass on showing, one per step, one at the end.
        ASSERT_EQ(heights.size(), static_cast<size_t>(c.steps + 2));
        EXPECT_DOUBLE_EQ(heights[1], 90);
        EXPECT_DOUBLE_EQ(heights[2], 90 + 80 * c.speed);
        EXPECT_DOUBLE_EQ(heights.back(), 6490);
        EXPECT_DOUBLE_EQ(start - strip.topTwips(), c.rise);
        rig.transitions->overlayReset();
    }

    rig.svc.GFXSpeed = 30;
    EXPECT_THAT(wipeHeights(rig), ElementsAre(90, 90, 2490, 4890, 4890));
    EXPECT_DOUBLE_EQ(strip.topTwips(), start - 3 * 44 * 30);
}

TEST(Transitions, NegativeSpeedMakesOnlyTheFixedPasses) {
    CoreRig rig;
    rig.svc.GFXSpeed = -1;
    std::vector<std::string> log;
    RecordingScreen menu(&rig.stage, rig.services, "menu", log);
    double tallest = 0;
    rig.pump.onPass = [&] { tallest = std::max(tallest, rig.transitions->blackOut().heightTwips()); };
    rig.transitions->open(*rig.main, menu);
    rig.transitions->backToMain(menu);
    // Each wipe lets events run once on showing the strip and once at its end; the
    // screens' build-ups make no pass at a negative speed.
    EXPECT_EQ(rig.pump.passes, 4);
    EXPECT_DOUBLE_EQ(tallest, 90);
    EXPECT_TRUE(menu.isHidden());
    for (auto* b : rig.main->MainButt) EXPECT_TRUE(b->isVisibleTo(rig.main.get()));
}

TEST(Transitions, EveryWipeStartsFromTheSameStrip) {
    CoreRig rig;
    rig.svc.GFXSpeed = 30;
    std::vector<std::string> log;
    RecordingScreen menu(&rig.stage, rig.services, "menu", log);
    RecordingScreen list(&rig.stage, rig.services, "list", log);
    BlackOut& strip = rig.transitions->blackOut();
    const double start = strip.startTop();

    // The strip as the first pass of each transition finds it.
    std::vector<std::pair<double, double>> starts;
    bool first = false;
    rig.pump.onPass = [&] {
        if (first) starts.emplace_back(strip.topTwips(), strip.heightTwips());
        first = false;
    };
    auto transition = [&](auto run) {
        first = true;
        run();
    };
    for (int round = 0; round < 3; ++round) {
        transition([&] { rig.transitions->open(*rig.main, menu); });
        transition([&] { rig.transitions->open(menu, list); });
        transition([&] { rig.transitions->backToMain(list); });
        EXPECT_TRUE(strip.isHidden());
        EXPECT_DOUBLE_EQ(strip.topTwips(), start);
        EXPECT_DOUBLE_EQ(strip.heightTwips(), 90);
    }
    ASSERT_EQ(starts.size(), 9u);
    for (const auto& [top, height] : starts) {
        EXPECT_DOUBLE_EQ(top, start);
        EXPECT_DOUBLE_EQ(height, 90);
    }
}

TEST(Transitions, OpenAndBackRunTheirStepsInOrder) {
    CoreRig rig;
    rig.svc.GFXSpeed = 30;
    std::vector<std::string> log;
    RecordingScreen main(&rig.stage, rig.services, "main", log);
    RecordingScreen menu(&rig.stage, rig.services, "menu", log);
    RecordingScreen list(&rig.stage, rig.services, "list", log);
    main.show();
    Transitions transitions(&rig.stage, rig.services, main);
    for (RecordingScreen* s : {&main, &menu, &list}) s->strip = &transitions.blackOut();
    // The wipe's passes show up in the log once per run of passes.
    rig.pump.onPass = [&] {
        if (log.empty() || log.back() != "wipe") log.push_back("wipe");
    };

    log.clear();
    transitions.open(main, menu);
    EXPECT_THAT(log, ElementsAre("wipe", "menu.FadeOut", "menu.show", "main.FadeOut", "menu.FadeIn"));
    EXPECT_FALSE(main.isHidden());

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
    EXPECT_FALSE(main.isHidden());
    EXPECT_TRUE(list.isHidden());
    EXPECT_TRUE(menu.isHidden());
}

TEST(Transitions, OpenedScreenStandsBelowTheMainScreensTop) {
    CoreRig rig;
    rig.svc.GFXSpeed = -1;
    rig.main->setGeometry(rig.twips.mainArea());
    std::vector<std::string> log;
    RecordingScreen menu(&rig.stage, rig.services, "menu", log);
    rig.transitions->open(*rig.main, menu);
    EXPECT_EQ(menu.y(), rig.main->y() + rig.twips.px(960));
    EXPECT_EQ(menu.x(), rig.main->x());
}
