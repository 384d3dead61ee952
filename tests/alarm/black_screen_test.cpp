#include "alarm/full_black_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
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

// A black screen on an 800 x 600 stage: 15 twips to the pixel, 12000 x 9000 twips.
struct BlackRig : CoreRig {
    std::unique_ptr<FullBlackForm> form;
    std::vector<std::string> hookLog;

    explicit BlackRig(QSize stageSize = {800, 600}) {
        stage.resize(stageSize);
        form = std::make_unique<FullBlackForm>(&stage, services);
        form->activateWindow = [this] {
            hookLog.push_back(std::string(form->isHidden() ? "hidden" : "shown") +
                              (form->animating() ? " animating" : "") +
                              " trail=" + std::to_string(form->pattern().Trail.TrailCount()));
        };
    }
    int visibleIndicators() const {
        return !form->BlackBlack->isHidden() + !form->BlackSleep->isHidden() + !form->BlackSnooze->isHidden();
    }
};

}  // namespace

TEST(LinePattern, TrailKeepsTheLast500AndHandsBackExactlyTheOldest) {
    LinePattern pattern;
    FixedSequenceRandom random;
    std::vector<TrailLine> drawn, erased;
    for (int i = 0; i < 1000; ++i) {
        const LineStep step = pattern.step(12000, 9000, random);
        drawn.push_back(step.drawn);
        EXPECT_EQ(step.erased.has_value(), i >= 500) << "step " << i;
        if (step.erased) erased.push_back(*step.erased);
    }
    ASSERT_EQ(pattern.Trail.TrailCount(), 500);
    EXPECT_EQ(erased, std::vector<TrailLine>(drawn.begin(), drawn.begin() + 500));
    for (int i = 0; i < 500; ++i) EXPECT_EQ(pattern.Trail.at(i), drawn[500 + static_cast<size_t>(i)]);
    // The colour starts almost black and cycles between 0 and 255.
    EXPECT_EQ(drawn[0].colour, 0x050607u);
    EXPECT_EQ(drawn[1].colour, 0x0A0C0Eu);
    EXPECT_EQ(drawn[51].colour >> 16, 255u);  // 5 * 52 = 260 shows as 255
    EXPECT_EQ(drawn[52].colour >> 16, 255u);  // on its way down again
    EXPECT_EQ(drawn[53].colour >> 16, 250u);
    pattern.clearTrail();
    EXPECT_EQ(pattern.Trail.TrailCount(), 0);
    EXPECT_FALSE(pattern.step(12000, 9000, random).erased);
}

TEST(LinePattern, BounceRenewsVelocitiesInOrderWithinFiveOfTheReverse) {
    EXPECT_EQ(renewVelocity(100, 0.0), -105);
    EXPECT_EQ(renewVelocity(100, 0.25), -102);  // -102.5: halves go to the even number
    EXPECT_EQ(renewVelocity(100, 0.75), -98);   // -97.5
    EXPECT_EQ(renewVelocity(100, 0.9999), -95);
    EXPECT_EQ(renewVelocity(-160, 0.5), 160);

    // First point past the right edge, second point past the top: two renewals,
    // taken in the designed order (x1 > W before y2 < 0).
    LinePattern pattern;
    pattern.LineX1 = 11950;
    pattern.LineY2 = 100;
    pattern.LineDY2 = -280;
    ScriptedRandom random{0.0, 0.9999};
    pattern.step(12000, 9000, random);
    EXPECT_EQ(random.calls, 2);
    EXPECT_EQ(pattern.LineDX1, -105);
    EXPECT_EQ(pattern.LineDY2, 285);  // 9.999 + 280 - 5
    EXPECT_EQ(pattern.LineDY1, 160);
    EXPECT_EQ(pattern.LineX1, 12050);  // not pulled back: it turns on the next step
}

TEST(LinePattern, PointsStayWithinOneStepOfTheWindowAndComeBackAfterAShrink) {
    LinePattern pattern;
    FixedSequenceRandom random;
    const int w = 12000, h = 9000;
    long inside = 0;
    for (int i = 0; i < 20000; ++i) {
        const int dx1 = pattern.LineDX1, dy2 = pattern.LineDY2;
        pattern.step(w, h, random);
        for (auto [before, after] : {std::pair{dx1, pattern.LineDX1}, std::pair{dy2, pattern.LineDY2}}) {
            if (before == after) continue;  // not renewed
            EXPECT_LE(std::abs(after + before), 5) << "step " << i;
        }
        for (int x : {pattern.LineX1, pattern.LineX2}) EXPECT_TRUE(x >= -400 && x <= w + 400) << x;
        for (int y : {pattern.LineY1, pattern.LineY2}) EXPECT_TRUE(y >= -400 && y <= h + 400) << y;
        inside += pattern.LineX1 >= 0 && pattern.LineX1 <= w && pattern.LineY2 >= 0 && pattern.LineY2 <= h;
    }
    EXPECT_GT(inside, 18000);  // outside only for the step that turns a point

    // The window shrank under a point: it is put on the new edge and turns back.
    pattern.LineX1 = 30000;
    pattern.LineDX1 = 100;
    pattern.fitInto(6000, 4500);
    EXPECT_EQ(pattern.LineX1, 6000);
    pattern.step(6000, 4500, random);
    pattern.step(6000, 4500, random);
    EXPECT_LT(pattern.LineX1, 6000);
}

TEST(FullBlackForm, CoversTheWholeStageWithTheIndicatorsOnTheScaledArea) {
    BlackRig rig({1000, 600});  // wider than the designed area: it is centred
    rig.form->showBlack();
    EXPECT_EQ(rig.form->geometry(), rig.stage.rect());
    EXPECT_EQ(rig.form->widthTwips(), 15000);
    EXPECT_EQ(rig.form->heightTwips(), 9000);
    const double s = 600.0 / 9000;
    EXPECT_EQ(rig.form->BlackBlack->geometry(), QRect(qRound(100 + 2160 * s), qRound(3480 * s), qRound(7695 * s),
                                                      qRound(1935 * s)));
    EXPECT_EQ(rig.form->BlackSleep->x(), qRound(100 + 2040 * s));
    EXPECT_EQ(rig.form->BlackSnooze->text(), "SNOOZE");
    EXPECT_EQ(rig.visibleIndicators(), 0);
    EXPECT_FALSE(rig.form->animating());
    EXPECT_TRUE(allBlack(rig.form->drawing()));
}

TEST(FullBlackForm, ShowIndicatorShowsExactlyOneUntilTimer1Fires) {
    BlackRig rig;
    rig.form->showBlack();
    rig.form->showIndicator(BlackScreen::Indicator::Black);
    rig.form->showIndicator(BlackScreen::Indicator::Snooze);
    EXPECT_EQ(rig.visibleIndicators(), 1);
    EXPECT_FALSE(rig.form->BlackSnooze->isHidden());
    EXPECT_TRUE(rig.form->Timer1.isActive());
    EXPECT_EQ(rig.form->Timer1.interval(), 2000);

    // The real timeout, shortened: it hides the word once and stops.
    rig.form->Timer1.setInterval(20);
    rig.form->showIndicator(BlackScreen::Indicator::Sleep);
    EXPECT_FALSE(rig.form->BlackSleep->isHidden());
    QElapsedTimer waited;
    waited.start();
    while (rig.visibleIndicators() > 0 && waited.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(rig.visibleIndicators(), 0);
    EXPECT_FALSE(rig.form->Timer1.isActive());
}

TEST(FullBlackForm, KeyOkTogglesTheAnimationAndClearsTheDrawing) {
    BlackRig rig;
    rig.form->showBlack();
    rig.form->showIndicator(BlackScreen::Indicator::Black);
    rig.form->keyTyped("c");
    EXPECT_TRUE(rig.form->animating());
    EXPECT_EQ(rig.form->Timer2.interval(), 10);
    EXPECT_EQ(rig.visibleIndicators(), 0);
    EXPECT_EQ(rig.pump.passes, 1);
    for (int i = 0; i < 5; ++i) rig.form->Timer2_Timer();
    EXPECT_EQ(rig.pump.passes, 6);  // one pass per step
    EXPECT_EQ(rig.form->pattern().Trail.TrailCount(), 5);
    EXPECT_FALSE(allBlack(rig.form->drawing()));
    const int x1 = rig.form->pattern().LineX1;

    rig.form->keyTyped("c");
    EXPECT_FALSE(rig.form->animating());
    EXPECT_FALSE(rig.form->isHidden());
    EXPECT_EQ(rig.form->pattern().Trail.TrailCount(), 0);
    EXPECT_TRUE(allBlack(rig.form->drawing()));
    rig.form->keyTyped("c");  // on again: the points carry on where they were
    EXPECT_TRUE(rig.form->animating());
    EXPECT_EQ(rig.form->pattern().LineX1, x1);
    EXPECT_TRUE(rig.hookLog.empty());
}

TEST(FullBlackForm, TheScreenShowsExactlyTheTrailAfter1000Steps) {
    BlackRig rig;
    rig.form->showBlack();
    int nested = 0;
    rig.pump.onPass = [&] { rig.form->Timer2_Timer(); ++nested; };  // a timeout during the pass
    for (int i = 0; i < 1000; ++i) rig.form->Timer2_Timer();
    EXPECT_EQ(nested, 1000);
    const LineTrail& trail = rig.form->pattern().Trail;
    ASSERT_EQ(trail.TrailCount(), 500);  // the nested calls made no steps
    // Taking the 500 trail lines off leaves a black screen: nothing older is left.
    QImage image = rig.form->drawing();
    EXPECT_FALSE(allBlack(image));
    for (int i = 0; i < trail.TrailCount(); ++i) FullBlackForm::xorLine(image, trail.at(i), rig.form->pxPerTwip());
    EXPECT_TRUE(allBlack(image));
}

TEST(FullBlackForm, AnyOtherKeyOrAClickLeavesAndActivatesTheWindowLast) {
    BlackRig rig;
    auto enter = [&] {
        rig.form->showBlack();
        rig.form->showIndicator(BlackScreen::Indicator::Black);
        rig.form->keyTyped("c");
        rig.form->Timer2_Timer();
    };
    enter();
    rig.form->keyTyped("z");
    EXPECT_EQ(rig.hookLog, std::vector<std::string>{"hidden trail=0"});
    EXPECT_EQ(rig.visibleIndicators(), 0);
    EXPECT_EQ(rig.pump.passes, 3);  // Ok, the step and the leaving

    // Cursor down arrives as KeyDown and leaves too; cursor left types nothing.
    enter();
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(rig.form.get(), &left);
    EXPECT_FALSE(rig.form->isHidden());
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(rig.form.get(), &down);
    EXPECT_TRUE(rig.form->isHidden());
    EXPECT_EQ(rig.hookLog.size(), 2u);

    enter();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(rig.form.get(), &click);
    EXPECT_TRUE(click.isAccepted());
    EXPECT_EQ(rig.hookLog, (std::vector<std::string>(3, "hidden trail=0")));

    // Stopped from outside (sleep end): the lines stop, the screen stays.
    enter();
    rig.form->stopLines();
    EXPECT_FALSE(rig.form->animating());
    rig.form->hideBlack();
    EXPECT_TRUE(rig.form->isHidden());
    EXPECT_EQ(rig.hookLog.size(), 3u);
}
