// SPDX-License-Identifier: GPL-3.0-or-later
// The alarm menu (time, arming, volume bars), the settings file it reads and writes, and
// the black screen with its line trail.
#include "alarm/alarm_menu.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <random>
#include <utility>

#include "alarm/alarm_settings.h"
#include "alarm/full_black_form.h"
#include "alarm/xor_line.h"
#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "fakes/wait_for.h"
#include "platform/atomic_file.h"
#include "platform/random_source.h"
#include "platform/text_file.h"

using namespace kelvorn;
using Lines = std::vector<std::string>;

namespace {

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
    // Key texts, and ">" and "<" for the cursor keys right and left.
    void typeMenu(const std::string& keys) {
        for (char c : keys) {
            if (c == '>' || c == '<') sendKey(&menu, c == '>' ? Qt::Key_Right : Qt::Key_Left);
            else menu.keyTyped(std::string(1, c));
        }
    }
    Lines fileLines() const {
        Lines lines;
        readLines(services.workDir + "/Settings.kvx", lines);
        return lines;
    }
    bool outputAt(double percent) const { return volume.lastValue() == waveVolumeValue(percent); }
};

}  // namespace

// The digits fill hours and minutes, never the seconds; the cursor mark underlines the next
// one. The stored time shows on the main screen, armed or not; one that never comes is
// refused at Ok, shown in red, and nothing is written.
TEST(AlarmMenuTime, DigitsFillHoursAndMinutesOkStoresBackCancelsAndImpossibleTimesAreRefused) {
    const char* const cases[][3] = {{"20730c", "07:30:00", "07:30:00"}, {"212345>qa", "59:<u>3</u>4:00", "06:00:00"},
                                    {"20730#", "06:00:00", "06:00:00"}, {"22975c", "29:75:00", "06:00:00"},
                                    {"20760c", "07:60:00", "06:00:00"}, {"22359c", "23:59:00", "23:59:00"}};
    for (const auto& [keys, shown, stored] : cases) {
        SCOPED_TRACE(keys);
        AlarmRig rig;
        rig.typeMenu(keys);
        const bool ok = std::string(keys).back() == 'c', written = ok && std::string(shown) == stored;
        const QColor colour = rig.menu.AlarmClock->palette().color(QPalette::WindowText);
        EXPECT_TRUE(rig.menu.AlarmClock->text() == shown && (colour == QColor(255, 0, 0)) == (ok && !written));
        EXPECT_TRUE(rig.svc.AlarmTime == stored && !rig.menu.isHidden() && rig.menu.volSelect() == 0);
        EXPECT_EQ(rig.fileLines(), (written ? Lines{stored, "0", "0", " 100 ", " 100 ", " 100 "} : Lines{}));
        EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::AlarmTime), written ? stored : "");
    }
}

// The refused time flashes back to the stored one; a hand-edited one that never comes is red.
TEST(AlarmMenuTime, TheRefusedTimeFlashesAndAFailedWriteIsShown) {
    AlarmRig rig;
    rig.typeMenu("22975c");
    ASSERT_TRUE(rig.menu.RefuseTimer.isActive());
    rig.menu.RefuseTimer.setInterval(1);
    rig.menu.RefuseTimer.start();
    const auto red = [&] { return rig.menu.AlarmClock->palette().color(QPalette::WindowText) == QColor(255, 0, 0); };
    ASSERT_TRUE(waitFor([&] { return rig.menu.AlarmClock->text() == "06:00:00"; }, 2000));
    EXPECT_FALSE(red());
    const std::string work = std::exchange(rig.services.workDir, rig.services.workDir + "/gone");  // went away
    rig.typeMenu("1");
    EXPECT_TRUE(rig.svc.AlarmOn && rig.main->noticeVisible());
    ASSERT_TRUE(writeLinesAtomic(work + "/Settings.kvx", {"24:00:00", "1"}));
    rig.services.workDir = work;
    rig.menu.ReadAlarm();
    EXPECT_TRUE(red());
}

TEST(AlarmMenuVolumes, TheSelectedBarStepsWithinRangeAndTheOutputFollowsIt) {
    AlarmRig rig;
    rig.svc.VolNormal = 92;
    rig.svc.VolSleep = 30;
    rig.typeMenu(">555q");  // N selected, 92 set by hand: 97, then 100 and no further; up moves no highlight
    EXPECT_TRUE(rig.svc.VolNormal == 100 && rig.outputAt(100) && rig.menu.aktbutt() == 0);
    rig.typeMenu("9888a");
    EXPECT_TRUE(rig.menu.volSelect() == 2 && rig.svc.VolAlarm == 80 && rig.outputAt(80));
    rig.svc.SleepOn = true;
    rig.typeMenu("99");  // back on the buttons, the output is what plays: here the sleep volume
    EXPECT_TRUE(rig.menu.volSelect() == 0 && rig.outputAt(30));
}

// A second back key or click while the screen closes is ignored.
TEST(AlarmMenuLeave, BackKeyWritesTheMouseDoesNotAndBothRestoreTheOutputOnce) {
    AlarmRig rig;
    rig.typeMenu("<<8");  // A selected, down to 95
    emit rig.menu.frame.MainBack->clicked();
    // Not the alarm volume during normal play.
    EXPECT_TRUE(rig.menu.isHidden() && rig.fileLines().empty() && rig.outputAt(100));
    rig.transitions->open(*rig.main, rig.menu);
    EXPECT_EQ(rig.menu.volSelect(), 0);
    rig.svc.AlarmBusy = true;
    rig.pump.at(1, [&] {
        rig.svc.VolNormal = 55;
        rig.typeMenu("#");
        emit rig.menu.frame.MainBack->clicked();
    });
    rig.typeMenu("#");
    EXPECT_TRUE(rig.menu.isHidden() && rig.outputAt(95));  // the alarm list plays at the alarm volume
    EXPECT_EQ(rig.fileLines(), (Lines{"06:00:00", "0", "0", " 100 ", " 95 ", " 100 "}));
}

// Flags are true only for the number 1; missing volumes are 100, others kept within 16 bits.
TEST(SettingsFile, LinesAreReadLenientlyAndWrittenInTheirLayout) {
    const std::pair<Lines, Lines> cases[] = {
        {{"", "1", "0"}, {"00:00:00", "1", "0", " 100 ", " 100 ", " 100 "}},
        {{"06:15:00,old", "0", "1", " 40 "}, {"06:15:00", "0", "1", " 40 ", " 100 ", " 100 "}},
        {{"07:00:00", "-1", "-1", "250", "-5", "loud"}, {"07:00:00", "0", "0", " 250 ", "-5 ", " 0 "}},
        {{"07:00:00", "ON", "2", "99999999999"}, {"07:00:00", "0", "0", " 32767 ", " 100 ", " 100 "}},
        {{"07:00:00", " 1 ", "1.0"}, {"07:00:00", "1", "1", " 100 ", " 100 ", " 100 "}},
    };
    for (const auto& [lines, written] : cases) {
        KelvornSERVICE svc;
        svc.VolNormal = svc.VolAlarm = svc.VolSleep = 5;  // so that a missing one visibly becomes 100
        applyAlarmLines(svc, lines);
        EXPECT_EQ(alarmLines(svc), written) << lines[0] << " " << lines[1];
    }
}

// Found whatever the case of its name, and rewritten under that name.
TEST(SettingsFile, OneInAnotherCaseIsReadAndRewritten) {
    QTemporaryDir dir;
    const std::string work = dir.path().toStdString();
    KelvornSERVICE svc;
    EXPECT_FALSE(readAlarmSettings(svc, work));
    ASSERT_TRUE(writeFileAtomic(work + "/settings.KVX", "07:30:00\r\n1\r\n"));
    EXPECT_TRUE(readAlarmSettings(svc, work) && svc.AlarmOn);
    ASSERT_TRUE(writeAlarmSettings(svc, work));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.KVX"});
}

// A renewed velocity is the old one reversed and changed by -5..+5 (halves to even), its
// size reflected back into 100..300; points are outside only for the step that turns them.
TEST(LinePattern, BouncesRenewVelocitiesWithinFiveOfTheReverseAndThePointsStayNear) {
    const struct {
        int v;
        double r;
        int renewed;
    } cases[] = {
        {100, 0.0, -105}, {-160, 0.9999, 165}, {100, 0.35, -102},   {100, 0.45, -100},
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

// Ok starts and stops the lines, any other key leaves, and the window is activated after.
TEST(FullBlackForm, OkTogglesTheLinesAndOtherKeysLeave) {
    CoreRig rig;
    FullBlackForm form(&rig.stage, rig.services);
    std::vector<bool> hiddenWhenActivated;
    QObject::connect(&form, &FullBlackForm::activationWanted, [&] { hiddenWhenActivated.push_back(form.isHidden()); });
    form.showBlack();
    form.keyTyped("c");
    rig.pump.onPass = [&] { form.Timer2_Timer(); };  // a step lets events run: no step inside it
    form.Timer2_Timer();
    rig.pump.onPass = nullptr;
    EXPECT_TRUE(form.animating() && form.pattern().Trail.TrailCount() == FullBlackForm::kStepsPerPicture);
    form.keyTyped("c");
    EXPECT_TRUE(!form.animating() && !form.isHidden() && form.pattern().Trail.TrailCount() == 0);
    form.keyTyped("z");
    EXPECT_TRUE(form.isHidden() && hiddenWhenActivated == std::vector<bool>{true});
}

// The oldest line is handed back to be taken off the screen.
TEST(LineTrail, KeepsTheLast500Lines) {
    LineTrail trail;
    for (int i = 0; i < LineTrail::kCapacity; ++i) EXPECT_FALSE(trail.push({i}));
    EXPECT_EQ(trail.push({500})->x1, 0);
    EXPECT_TRUE(trail.TrailCount() == 500 && trail.at(0).x1 == 1 && trail.at(499).x1 == 500);
}

// A line drawn twice leaves the drawing as it was; every pixel it changed, at pens of 1 to 4
// and with ends outside, is in the region it hands back, a sliver of its bounding box.
TEST(FullBlackForm, XorLineRepaintsOnlyWhatItChangedAndTakesItselfOff) {
    std::mt19937 random(7);
    QImage blank(320, 240, QImage::Format_RGB32);
    blank.fill(Qt::black);
    for (double scale : {1.0 / 15, 0.1, 0.2, 0.25}) {  // pens of 1 to 4 pixels
        SCOPED_TRACE(scale);
        std::uniform_int_distribution<int> x(static_cast<int>(-30 / scale), static_cast<int>(350 / scale));
        std::uniform_int_distribution<int> y(static_cast<int>(-30 / scale), static_cast<int>(270 / scale));
        QImage image = blank;
        const TrailLine first{x(random), y(random), x(random), y(random), 0x123456};
        xorLine(image, first, scale);
        const QImage withFirst = image;
        for (int i = 0; i < 40; ++i) {
            const TrailLine line{x(random), y(random), x(random), y(random),
                                 static_cast<unsigned>(random() & 0xFFFFFFu)};
            const QImage before = image;
            const QRegion region = xorLine(image, line, scale);
            for (int row = 0; row < image.height(); ++row) {
                for (int col = 0; col < image.width(); ++col) {
                    const bool changed = image.pixel(col, row) != before.pixel(col, row);
                    ASSERT_TRUE(!changed || region.contains(QPoint(col, row))) << col << "," << row;
                }
            }
            xorLine(image, line, scale);
            ASSERT_TRUE(image == before);
        }
        xorLine(image, first, scale);
        EXPECT_TRUE(image == blank && withFirst != blank);
    }
    // Corner to corner of a 1024 x 768 window.
    QImage window(1024, 768, QImage::Format_RGB32);
    window.fill(Qt::black);
    const QRegion diagonal = xorLine(window, {0, 0, 12000, 9000, 0xFFFFFF}, 1024 / 12000.0);
    long area = 0;
    for (const QRect& box : diagonal) area += static_cast<long>(box.width()) * box.height();
    EXPECT_TRUE(area < 1024 * 768 / 10 && area > 1024) << area;
}

// A picture paints the boxes along its lines, a small part of what a long line spans.
TEST(FullBlackForm, AStepPaintsOnlyAlongItsLines) {
    CoreRig rig;
    rig.stage.resize(1024, 768);
    rig.stage.show();
    FullBlackForm form(&rig.stage, rig.services);
    form.showBlack();
    form.keyTyped("c");
    for (int i = 0; i < 25; ++i) form.Timer2_Timer();  // the end points drift apart
    QCoreApplication::processEvents();
    struct PaintRecorder : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } recorder;
    form.installEventFilter(&recorder);
    form.Timer2_Timer();
    ASSERT_TRUE(waitFor([&] { return !recorder.painted.isEmpty(); }));
    const TrailLine& last = form.pattern().Trail.at(form.pattern().Trail.TrailCount() - 1);
    const double scale = form.pxPerTwip();
    const QRect span =
        QRectF(QPointF(last.x1, last.y1) * scale, QPointF(last.x2, last.y2) * scale).normalized().toAlignedRect();
    long area = 0;
    for (const QRect& box : recorder.painted) area += static_cast<long>(box.width()) * box.height();
    EXPECT_TRUE(span.width() * span.height() > 40000 && area < span.width() * span.height() / 4) << area;
}
