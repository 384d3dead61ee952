// The alarm menu (time, arming, volume bars), the settings file it reads and writes, and
// the black screen with its moving line pattern.
#include "alarm/alarm_menu.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <utility>

#include "alarm/alarm_settings.h"
#include "alarm/full_black_form.h"
#include "alarm/line_trail.h"
#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "fakes/wait_for.h"
#include "platform/random_source.h"
#include "platform/text_file.h"

using namespace kelvorn;
using Lines = std::vector<std::string>;

namespace {

void press(QWidget& to, Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&to, &event);
}

// The alarm menu open on the main screen, the alarm at 06:00, the working folder empty.
struct AlarmRig : CoreRig {
    QTemporaryDir dir;
    AlarmMenu menu{&stage, services, *transitions, *main};

    AlarmRig() {
        svc.GFXSpeed = -1;  // no animation passes
        svc.AlarmTime = "06:00:00";
        services.workDir = dir.path().toStdString();
        main->FadeOut();
        transitions->open(*main, menu);
    }
    void typeMenu(const std::string& keys) {
        for (char c : keys) menu.keyTyped(std::string(1, c));
    }
    Lines fileLines() const {
        Lines lines;
        readLines(services.workDir + "/Settings.kvx", lines);
        return lines;
    }
    // The time shown, with the digit under the cursor mark in brackets.
    std::string clock() const {
        QString t = menu.AlarmClock->text();
        return t.replace("<u>", "[").replace("</u>", "]").toStdString();
    }
    bool clockRed() const { return menu.AlarmClock->palette().color(QPalette::WindowText) == QColor(255, 0, 0); }
    bool outputAt(double percent) const { return volume.lastValue() == waveVolumeValue(percent); }
    // Which of the four selection frames is white: 0 the menu frame, 1..3 the bars.
    int whiteFrame() const {
        std::vector<int> white;
        if (menu.frame.Line1->colour() == 0xFFFFFF && menu.frame.Shape1->colour() == 0xFFFFFF) white.push_back(0);
        for (size_t k = 0; k < 3; ++k)
            if (menu.barFrames[k]->colour() == 0xFFFFFF) white.push_back(static_cast<int>(k) + 1);
        return white.size() == 1 ? white[0] : -1;
    }
};

bool allBlack(const QImage& image) {
    QImage black(image.size(), image.format());
    black.fill(Qt::black);
    return image == black;
}

}  // namespace

// ">" and "^" are cursor right (typing "9") and up; the stored time shows on the main
// screen, armed or not.
TEST(AlarmMenuTime, DigitsFillHoursAndMinutesOkStoresBackCancelsAndImpossibleTimesAreRefused) {
    const struct { const char* keys; const char* shown; const char* stored; bool red; } cases[] = {
        {"20730", "[0]7:30:00", "06:00:00", false}, {"20730c", "07:30:00", "07:30:00", false},
        {"212345>^qa", "59:[3]4:00", "06:00:00", false}, {"20730#", "06:00:00", "06:00:00", false},
        {"229", "29:[0]0:00", "06:00:00", false},  // typed plainly...
        {"22975c", "29:75:00", "06:00:00", true},  // ...and refused at Ok: 29:75 never comes
        {"22359c", "23:59:00", "23:59:00", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        AlarmRig rig;
        for (const char key : std::string(c.keys)) {
            if (key == '>') press(rig.menu, Qt::Key_Right);
            else if (key == '^') press(rig.menu, Qt::Key_Up);
            else rig.typeMenu(std::string(1, key));
        }
        EXPECT_EQ(rig.clock(), c.shown);
        EXPECT_TRUE(rig.svc.AlarmTime == c.stored && rig.clockRed() == c.red);
        EXPECT_TRUE(!rig.menu.isHidden() && rig.menu.aktbutt() == 0 && rig.menu.volSelect() == 0);
        if (std::string(c.keys).back() != 'c' || c.red) {
            EXPECT_TRUE(rig.fileLines().empty());
            continue;
        }
        EXPECT_EQ(rig.fileLines(), (Lines{c.stored, "0", "0", " 100 ", " 100 ", " 100 "}));
        EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::AlarmTime), c.stored);
    }
}

TEST(AlarmMenuTime, TheRefusedTimeFlashesAndAFailedWriteIsShown) {
    AlarmRig rig;
    rig.typeMenu("22975c");
    ASSERT_TRUE(rig.menu.RefuseTimer.isActive());
    rig.menu.RefuseTimer.setInterval(1);
    rig.menu.RefuseTimer.start();
    ASSERT_TRUE(waitFor([&] { return rig.clock() == "06:00:00"; }, 2000));
    EXPECT_FALSE(rig.clockRed());
    rig.services.notSaved = [&] { rig.main->showNotice("NOT SAVED", 50); };
    rig.services.workDir += "/gone";  // a working folder that went away
    rig.typeMenu("1");
    EXPECT_TRUE(rig.svc.AlarmOn && rig.main->noticeVisible());
    EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::Notice), "NOT SAVED");
    EXPECT_TRUE(waitFor([&] { return !rig.main->noticeVisible(); }, 2000));
    rig.services.workDir = rig.dir.path().toStdString();
    ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/Settings.kvx", {"24:00:00", "1"}));
    rig.menu.ReadAlarm();
    EXPECT_TRUE(rig.clockRed());
}

TEST(AlarmMenuVolumes, BarSelectionMovesTheWhiteFrameAndTheOutput) {
    AlarmRig rig;
    rig.svc.VolNormal = 90;
    rig.svc.VolAlarm = 60;
    rig.svc.VolSleep = 30;
    rig.menu.FadeIn();
    EXPECT_EQ(rig.whiteFrame(), 0);
    rig.typeMenu("58");  // no bar selected: nothing
    EXPECT_EQ(rig.svc.VolNormal, 90);
    press(rig.menu, Qt::Key_Right);
    EXPECT_TRUE(rig.whiteFrame() == 1 && rig.outputAt(90));
    rig.typeMenu("55q");
    EXPECT_TRUE(rig.svc.VolNormal == 100 && rig.outputAt(100) && rig.menu.aktbutt() == 0);
    rig.typeMenu("9888a");
    EXPECT_TRUE(rig.whiteFrame() == 2 && rig.svc.VolAlarm == 40 && rig.outputAt(40));
    rig.svc.SleepOn = true;
    rig.typeMenu("99");
    EXPECT_TRUE(rig.whiteFrame() == 0 && rig.outputAt(30));
    press(rig.menu, Qt::Key_Left);
    EXPECT_EQ(rig.whiteFrame(), 3);
}

TEST(AlarmMenuLeave, BackKeyWritesTheMouseDoesNotAndBothRestoreTheOutputOnce) {
    AlarmRig rig;
    rig.typeMenu("778");  // A selected, down to 95: the output follows the bar
    EXPECT_TRUE(rig.outputAt(95));
    emit rig.menu.frame.MainBack->clicked();
    EXPECT_TRUE(rig.menu.isHidden() && rig.fileLines().empty());
    EXPECT_TRUE(rig.outputAt(100));  // not the alarm volume during normal play
    rig.transitions->open(*rig.main, rig.menu);
    EXPECT_EQ(rig.whiteFrame(), 0);
    rig.svc.AlarmBusy = true;
    bool again = true;
    rig.pump.onPass = [&] {
        if (!std::exchange(again, false)) return;
        rig.svc.VolNormal = 55;
        rig.typeMenu("#");
        emit rig.menu.frame.MainBack->clicked();
    };
    rig.typeMenu("#");
    EXPECT_TRUE(rig.menu.isHidden());
    EXPECT_EQ(rig.fileLines(), (Lines{"06:00:00", "0", "0", " 100 ", " 95 ", " 100 "}));
    EXPECT_TRUE(rig.outputAt(95));  // the alarm list plays at the alarm volume
}

// Flags are true only for the number 1; missing volumes are 100, others kept within 16 bits.
TEST(SettingsFile, LinesAreReadLenientlyAndWrittenInTheirLayout) {
    const struct { Lines lines, written; } cases[] = {
        {{"", "1", "0"}, {"00:00:00", "1", "0", " 100 ", " 100 ", " 100 "}},
        {{"06:15:00,old", "0", "1", " 40 "}, {"06:15:00", "0", "1", " 40 ", " 100 ", " 100 "}},
        {{"07:00:00", "-1", "-1", "250", "-5", "loud"}, {"07:00:00", "0", "0", " 250 ", "-5 ", " 0 "}},
        {{"07:00:00", "ON", "2", "99999999999"}, {"07:00:00", "0", "0", " 32767 ", " 100 ", " 100 "}},
        {{"07:00:00", " 1 ", "1.0"}, {"07:00:00", "1", "1", " 100 ", " 100 ", " 100 "}},
    };
    for (const auto& c : cases) {
        KelvornSERVICE svc;
        svc.VolNormal = svc.VolAlarm = svc.VolSleep = 5;  // so that a missing one visibly becomes 100
        applyAlarmLines(svc, c.lines);
        EXPECT_EQ(alarmLines(svc), c.written) << c.lines[0] << " " << c.lines[1];
    }
}

TEST(SettingsFile, MissingGivesTheDefaultsAndOneInAnotherCaseIsReadAndRewritten) {
    QTemporaryDir dir;
    const std::string work = dir.path().toStdString();
    KelvornSERVICE svc;
    svc.AlarmOn = svc.ShuffleOn = true;
    svc.VolNormal = 5;
    EXPECT_FALSE(readAlarmSettings(svc, work));
    EXPECT_TRUE(!svc.AlarmOn && !svc.ShuffleOn && svc.VolNormal == 100 && QDir(dir.path()).isEmpty());
    ASSERT_TRUE(writeFileAtomic(work + "/settings.KVX", "07:30:00\r\n1\r\n0\r\n"));
    EXPECT_TRUE(readAlarmSettings(svc, work) && svc.AlarmOn);
    svc.VolAlarm = 75;
    ASSERT_TRUE(writeAlarmSettings(svc, work));
    std::string bytes;
    EXPECT_TRUE(readFileBytes(work + "/settings.KVX", bytes));
    EXPECT_EQ(bytes, "07:30:00\r\n1\r\n0\r\n 100 \r\n 75 \r\n 100 \r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.KVX"});
}

// A renewed velocity is the old one reversed and changed by -5..+5 (halves to even), its
// size reflected back into 100..300; points are outside only for the step that turns them.
TEST(LinePattern, BouncesRenewVelocitiesWithinFiveOfTheReverseAndThePointsStayNear) {
    const struct { int v; double r; int renewed; } cases[] = {
        {100, 0.0, -105}, {-160, 0.9999, 165}, {100, 0.35, -102}, {100, 0.45, -100},
        {-100, 0.0, 105}, {300, 0.0, -295},    {-300, 0.9999, 295},
    };
    for (const auto& c : cases) EXPECT_EQ(renewVelocity(c.v, c.r), c.renewed) << c.v << " " << c.r;
    LinePattern pattern;
    FixedSequenceRandom random;
    long inside = 0;
    for (int i = 0; i < 20000; ++i) {
        pattern.step(12000, 9000, random);
        for (int x : {pattern.LineX1, pattern.LineX2}) EXPECT_TRUE(x >= -400 && x <= 12400) << x;
        for (int y : {pattern.LineY1, pattern.LineY2}) EXPECT_TRUE(y >= -400 && y <= 9400) << y;
        inside += pattern.LineX1 >= 0 && pattern.LineX1 <= 12000 && pattern.LineY2 >= 0 && pattern.LineY2 <= 9000;
    }
    EXPECT_GT(inside, 18000);
}

// The trail holds the last 500 lines, and nothing older is left on the screen.
TEST(FullBlackForm, OkTogglesTheAnimationTheScreenShowsTheTrailAndOtherKeysLeaveActivatingLast) {
    CoreRig rig;
    rig.stage.resize(800, 600);
    FullBlackForm form(&rig.stage, rig.services);
    std::vector<std::string> activations;
    form.activateWindow = [&] {
        const std::string state = form.isHidden() ? "hidden" : form.animating() ? "animating" : "shown";
        activations.push_back(state + " trail=" + std::to_string(form.pattern().Trail.TrailCount()));
    };
    const auto enter = [&] {
        form.showBlack();
        form.showIndicator(BlackScreen::Indicator::Black);
        form.keyTyped("c");
        form.Timer2_Timer();
    };
    enter();
    EXPECT_TRUE(form.animating() && form.BlackBlack->isHidden() && !allBlack(form.drawing()));
    const int x1 = form.pattern().LineX1;
    form.keyTyped("c");
    EXPECT_FALSE(form.animating() || form.isHidden());
    EXPECT_TRUE(form.pattern().Trail.TrailCount() == 0 && allBlack(form.drawing()));
    form.keyTyped("c");
    EXPECT_TRUE(form.animating() && form.pattern().LineX1 == x1);
    rig.pump.onPass = [&] { form.Timer2_Timer(); };
    for (int i = 0; i < 1000; ++i) form.Timer2_Timer();
    rig.pump.onPass = nullptr;
    const LineTrail& trail = form.pattern().Trail;
    ASSERT_EQ(trail.TrailCount(), 500);
    QImage image = form.drawing();
    for (int i = 0; i < trail.TrailCount(); ++i) FullBlackForm::xorLine(image, trail.at(i), form.pxPerTwip());
    EXPECT_TRUE(allBlack(image) && activations.empty());
    form.keyTyped("z");
    EXPECT_EQ(activations, Lines{"hidden trail=0"});
    enter();
    press(form, Qt::Key_Left);
    EXPECT_FALSE(form.isHidden());
    press(form, Qt::Key_Down);
    EXPECT_TRUE(form.isHidden());
    enter();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&form, &click);
    EXPECT_EQ(activations, Lines(3, "hidden trail=0"));
}
