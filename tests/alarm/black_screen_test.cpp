// The black screen: its moving line pattern, and the screen that draws and leaves it.
#include "alarm/full_black_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <cstdlib>
#include <vector>

#include "alarm/line_trail.h"
#include "fakes/core_test_rig.h"
#include "platform/random_source.h"

using namespace kelvorn;

namespace {

bool allBlack(const QImage& image) {
    QImage black(image.size(), image.format());
    black.fill(Qt::black);
    return image == black;
}

}  // namespace

// A velocity renewed at an edge is the old one reversed and changed by -5..+5 (halves
// rounded to even), its size reflected back into 100..300.
TEST(LinePattern, BouncesRenewVelocitiesWithinFiveOfTheReverseAndTheTrailKeepsTheLast500) {
    const struct { int v; double r; int renewed; } cases[] = {
        {100, 0.0, -105}, {-160, 0.9999, 165}, {100, 0.35, -102},   {100, 0.45, -100},
        {-100, 0.0, 105}, {300, 0.0, -295},    {-300, 0.9999, 295},
    };
    for (const auto& c : cases) EXPECT_EQ(renewVelocity(c.v, c.r), c.renewed) << c.v << " " << c.r;
    LinePattern pattern;
    FixedSequenceRandom random;
    const int w = 12000, h = 9000;
    std::vector<TrailLine> drawn, erased;
    long inside = 0;
    for (int i = 0; i < 20000; ++i) {
        const int dx1 = pattern.LineDX1, dy2 = pattern.LineDY2;
        const LineStep step = pattern.step(w, h, random);
        drawn.push_back(step.drawn);
        if (step.erased) erased.push_back(*step.erased);
        for (auto [before, after] : {std::pair{dx1, pattern.LineDX1}, std::pair{dy2, pattern.LineDY2}})
            EXPECT_TRUE(before == after || std::abs(after + before) <= 5) << before << " to " << after;
        for (int x : {pattern.LineX1, pattern.LineX2}) EXPECT_TRUE(x >= -400 && x <= w + 400) << x;
        for (int y : {pattern.LineY1, pattern.LineY2}) EXPECT_TRUE(y >= -400 && y <= h + 400) << y;
        inside += pattern.LineX1 >= 0 && pattern.LineX1 <= w && pattern.LineY2 >= 0 && pattern.LineY2 <= h;
    }
    EXPECT_GT(inside, 18000);  // outside only for the step that turns a point
    // From the 501st step on each step hands back exactly the oldest line.
    EXPECT_EQ(erased, std::vector<TrailLine>(drawn.begin(), drawn.end() - 500));
    ASSERT_EQ(pattern.Trail.TrailCount(), 500);
    for (size_t i = 0; i < 500; ++i) EXPECT_EQ(pattern.Trail.at(static_cast<int>(i)), drawn[19500 + i]);
}

TEST(FullBlackForm, OkTogglesTheAnimationTheScreenShowsTheTrailAndOtherKeysLeaveActivatingLast) {
    CoreRig rig;
    rig.stage.resize(800, 600);
    FullBlackForm form(&rig.stage, rig.services);
    std::vector<std::string> activations;
    form.activateWindow = [&] {
        activations.push_back(std::string(form.isHidden() ? "hidden" : "shown") +
                              (form.animating() ? " animating" : "") +
                              " trail=" + std::to_string(form.pattern().Trail.TrailCount()));
    };
    const auto enter = [&] {
        form.showBlack();
        form.showIndicator(BlackScreen::Indicator::Black);
        form.keyTyped("c");
        form.Timer2_Timer();
    };
    enter();
    EXPECT_TRUE(form.animating() && form.BlackBlack->isHidden());
    EXPECT_FALSE(allBlack(form.drawing()));
    const int x1 = form.pattern().LineX1;
    form.keyTyped("c");
    EXPECT_FALSE(form.animating() || form.isHidden());
    EXPECT_EQ(form.pattern().Trail.TrailCount(), 0);
    EXPECT_TRUE(allBlack(form.drawing()));
    form.keyTyped("c");  // on again: the points carry on where they were
    EXPECT_TRUE(form.animating() && form.pattern().LineX1 == x1);
    rig.pump.onPass = [&] { form.Timer2_Timer(); };  // a timeout during the pass makes no step
    for (int i = 0; i < 1000; ++i) form.Timer2_Timer();
    rig.pump.onPass = nullptr;
    const LineTrail& trail = form.pattern().Trail;
    ASSERT_EQ(trail.TrailCount(), 500);
    // Taking the 500 trail lines off leaves a black screen: nothing older is left.
    QImage image = form.drawing();
    for (int i = 0; i < trail.TrailCount(); ++i) FullBlackForm::xorLine(image, trail.at(i), form.pxPerTwip());
    EXPECT_TRUE(allBlack(image));
    EXPECT_TRUE(activations.empty());
    form.keyTyped("z");
    EXPECT_EQ(activations, std::vector<std::string>{"hidden trail=0"});

    // Cursor down arrives as KeyDown and leaves too; cursor left types nothing; a click leaves.
    enter();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&form, &press);
        EXPECT_EQ(form.isHidden(), key == Qt::Key_Down) << key;
    }
    enter();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&form, &click);
    EXPECT_EQ(activations, (std::vector<std::string>(3, "hidden trail=0")));
}
