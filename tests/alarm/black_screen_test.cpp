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
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0) return false;
    return true;
}

// A black screen on an 800 x 600 stage (12000 x 9000 twips), animating after Ok.
struct BlackRig : CoreRig {
    std::unique_ptr<FullBlackForm> form;
    std::vector<std::string> hookLog;

    BlackRig() {
        stage.resize(800, 600);
        form = std::make_unique<FullBlackForm>(&stage, services);
        form->activateWindow = [this] {
            hookLog.push_back(std::string(form->isHidden() ? "hidden" : "shown") +
                              (form->animating() ? " animating" : "") +
                              " trail=" + std::to_string(form->pattern().Trail.TrailCount()));
        };
    }
    void enter() {
        form->showBlack();
        form->showIndicator(BlackScreen::Indicator::Black);
        form->keyTyped("c");
        form->Timer2_Timer();
    }
    void send(QEvent& event) { QApplication::sendEvent(form.get(), &event); }
};

}  // namespace

TEST(LinePattern, TrailKeepsTheLast500AndBouncesRenewVelocitiesWithinFiveOfTheReverse) {
    EXPECT_EQ(renewVelocity(100, 0.0), -105);  // the ends of the range
    EXPECT_EQ(renewVelocity(-160, 0.9999), 165);
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
    // A whole night of steps (eight hours at 10 ms): the speeds stay in their range.
    int slowest = kFastestLine, fastest = kSlowestLine;
    for (long i = 0; i < 8L * 3600 * 100; ++i) {
        pattern.step(w, h, random);
        for (int v : {pattern.LineDX1, pattern.LineDY1, pattern.LineDX2, pattern.LineDY2}) {
            slowest = std::min(slowest, std::abs(v));
            fastest = std::max(fastest, std::abs(v));
        }
    }
    EXPECT_GE(slowest, kSlowestLine);
    EXPECT_LE(fastest, kFastestLine);
}

TEST(FullBlackForm, OkTogglesTheAnimationTheScreenShowsTheTrailAndOtherKeysLeaveActivatingLast) {
    BlackRig rig;
    rig.enter();
    EXPECT_TRUE(rig.form->animating() && rig.form->BlackBlack->isHidden());
    EXPECT_FALSE(allBlack(rig.form->drawing()));
    const int x1 = rig.form->pattern().LineX1;
    rig.form->keyTyped("c");
    EXPECT_FALSE(rig.form->animating() || rig.form->isHidden());
    EXPECT_EQ(rig.form->pattern().Trail.TrailCount(), 0);
    EXPECT_TRUE(allBlack(rig.form->drawing()));
    rig.form->keyTyped("c");  // on again: the points carry on where they were
    EXPECT_TRUE(rig.form->animating() && rig.form->pattern().LineX1 == x1);
    rig.pump.onPass = [&] { rig.form->Timer2_Timer(); };  // a timeout during the pass makes no step
    for (int i = 0; i < 1000; ++i) rig.form->Timer2_Timer();
    rig.pump.onPass = nullptr;
    const LineTrail& trail = rig.form->pattern().Trail;
    ASSERT_EQ(trail.TrailCount(), 500);
    // Taking the 500 trail lines off leaves a black screen: nothing older is left.
    QImage image = rig.form->drawing();
    for (int i = 0; i < trail.TrailCount(); ++i) FullBlackForm::xorLine(image, trail.at(i), rig.form->pxPerTwip());
    EXPECT_TRUE(allBlack(image));
    EXPECT_TRUE(rig.hookLog.empty());
    rig.form->keyTyped("z");
    EXPECT_EQ(rig.hookLog, std::vector<std::string>{"hidden trail=0"});

    // Cursor down arrives as KeyDown and leaves too; cursor left types nothing.
    rig.enter();
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        rig.send(press);
        EXPECT_EQ(rig.form->isHidden(), key == Qt::Key_Down) << key;
    }
    rig.enter();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    rig.send(click);
    EXPECT_EQ(rig.hookLog, (std::vector<std::string>(3, "hidden trail=0")));
}
