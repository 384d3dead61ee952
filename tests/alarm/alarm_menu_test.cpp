#include "alarm/alarm_menu.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "alarm/alarm_settings.h"
#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "platform/text_file.h"

using namespace kelvorn;

namespace {

constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kSilver = 0xC0C0C0;

struct AlarmRig : CoreRig {
    QTemporaryDir dir;
    AlarmMenu menu{&stage, services, *transitions, *main};

    AlarmRig() {
        svc.GFXSpeed = -1;  // no animation passes
        services.workDir = dir.path().toStdString();
    }
    void typeMenu(const std::string& keys) {
        for (char c : keys) menu.keyTyped(std::string(1, c));
    }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, mods);
        QCoreApplication::sendEvent(&menu, &event);
    }
    void openMenu() { transitions->open(*main, menu); }
    std::vector<std::string> fileLines() const {
        std::vector<std::string> lines;
        readLines(services.workDir + "/Settings.kvx", lines);
        return lines;
    }
    // The time shown without its mark, and the one digit the mark underlines.
    std::string clockPlain() const {
        QString t = menu.AlarmClock->text();
        return t.remove("<u>").remove("</u>").toStdString();
    }
    std::string markedDigit() const {
        const QString t = menu.AlarmClock->text();
        const qsizetype at = t.indexOf("<u>");
        return at < 0 ? "" : t.mid(at + 3, 1).toStdString();
    }
    double outputPercent() const { return volume.lastValue() & 0xFFFF; }
};

uint32_t channel(double percent) { return waveVolumeValue(percent) & 0xFFFF; }

// Which of the four selection frames is white: 0 the menu frame, 1..3 the bars.
int whiteFrame(const AlarmMenu& m) {
    int white = -1, count = 0;
    if (m.frame.Line1->colour() == kWhite && m.frame.Shape1->colour() == kWhite) white = 0, ++count;
    for (int k = 0; k < 3; ++k)
        if (m.barFrames[k]->colour() == kWhite) white = k + 1, ++count;
    return count == 1 ? white : -1;
}

}  // namespace

TEST(AlarmMenuTime, DigitsFillHoursAndMinutesAndOkStoresTheTime) {
    AlarmRig rig;
    rig.typeMenu("2");
    ASSERT_TRUE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.menu.Shape2->colour(), 0x4040F0u);
    std::vector<int> positions{rig.menu.alarmPos()};
    for (char d : std::string("0730")) {
        rig.typeMenu(std::string(1, d));
        positions.push_back(rig.menu.alarmPos());
    }
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 4, 5, 1}));
    EXPECT_EQ(rig.clockPlain(), "07:30:00");
    EXPECT_EQ(rig.markedDigit(), "0");
    EXPECT_EQ(rig.svc.AlarmTime, "00:00:00");  // only Ok stores it
    rig.typeMenu("c");
    EXPECT_FALSE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.svc.AlarmTime, "07:30:00");
    EXPECT_EQ(rig.menu.AlarmClock->text(), "07:30:00");
    EXPECT_EQ(rig.main->AlarmTimeDisplay->text(), "07:30:00");  // shown even while not armed
    EXPECT_FALSE(rig.svc.AlarmOn);
    ASSERT_EQ(rig.fileLines().size(), 6u);
    EXPECT_EQ(rig.fileLines()[0], "07:30:00");
}

TEST(AlarmMenuTime, FifthDigitOverwritesTheFirstAndCursorKeysTypeDigits) {
    AlarmRig rig;
    rig.typeMenu("212345");
    EXPECT_EQ(rig.menu.tmpAlarm(), "52:34:00");
    EXPECT_EQ(rig.menu.alarmPos(), 2);
    EXPECT_EQ(rig.markedDigit(), "2");
    // Cursor right types "9"; up and down do nothing while the time is set.
    rig.press(Qt::Key_Right);
    rig.press(Qt::Key_Up);
    rig.typeMenu("qa");
    EXPECT_EQ(rig.menu.tmpAlarm(), "59:34:00");
    EXPECT_EQ(rig.menu.aktbutt(), 0);
    EXPECT_EQ(rig.menu.volSelect(), 0);
}

TEST(AlarmMenuTime, BackCancelsWithoutLeavingOrWriting) {
    AlarmRig rig;
    rig.svc.AlarmTime = "06:00:00";
    rig.openMenu();
    rig.typeMenu("21111#");
    EXPECT_FALSE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.svc.AlarmTime, "06:00:00");
    EXPECT_EQ(rig.menu.AlarmClock->text(), "06:00:00");
    EXPECT_EQ(rig.menu.Shape2->colour(), 0x000080u);
    EXPECT_FALSE(rig.menu.isHidden());  // still on the alarm menu
    EXPECT_TRUE(rig.fileLines().empty());
    // An impossible time is taken as entered.
    rig.typeMenu("22975c");
    EXPECT_EQ(rig.svc.AlarmTime, "29:75:00");
}

TEST(AlarmMenuButtons, HighlightWrapsAndOnOffTogglesAndWritesEachTime) {
    AlarmRig rig;
    rig.typeMenu("q");
    EXPECT_EQ(rig.menu.aktbutt(), 1);
    rig.typeMenu("a");
    EXPECT_EQ(rig.menu.aktbutt(), 0);
    rig.svc.AlarmTime = "07:30:00";
    rig.typeMenu("c");
    EXPECT_TRUE(rig.svc.AlarmOn);
    EXPECT_EQ(rig.menu.Label2->text(), "ALARM IS ON");
    EXPECT_EQ(rig.main->AlarmStatus->text(), "ALARM");
    EXPECT_EQ(rig.main->AlarmTimeDisplay->text(), "07:30:00");
    EXPECT_EQ(rig.fileLines().at(1), "1");
    emit rig.menu.MainButt[0]->clicked();
    EXPECT_FALSE(rig.svc.AlarmOn);
    EXPECT_EQ(rig.menu.Label2->text(), "ALARM IS OFF");
    EXPECT_EQ(rig.main->AlarmStatus->text(), "");
    EXPECT_EQ(rig.main->AlarmTimeDisplay->text(), "");
    EXPECT_EQ(rig.fileLines().at(1), "0");
    emit rig.menu.MainButt[1]->clicked();
    EXPECT_TRUE(rig.menu.settingAlarm());
}

TEST(AlarmMenuVolumes, BarSelectionMovesTheWhiteFrameAndTheOutput) {
    AlarmRig rig;
    rig.svc.VolNormal = 90;
    rig.svc.VolAlarm = 60;
    rig.svc.VolSleep = 30;
    rig.menu.FadeIn();
    EXPECT_EQ(whiteFrame(rig.menu), 0);
    rig.typeMenu("58");  // no bar selected: nothing
    EXPECT_EQ(rig.svc.VolNormal, 90);
    EXPECT_EQ(rig.volume.lastValue(), waveVolumeValue(100));

    rig.press(Qt::Key_Right);
    EXPECT_EQ(rig.menu.volSelect(), 1);
    EXPECT_EQ(whiteFrame(rig.menu), 1);
    EXPECT_EQ(rig.outputPercent(), channel(90));
    rig.typeMenu("5");
    EXPECT_EQ(rig.outputPercent(), channel(95));
    rig.typeMenu("5q");  // KeyUp changes the volume while a bar is selected
    EXPECT_EQ(rig.svc.VolNormal, 100);
    EXPECT_EQ(rig.outputPercent(), channel(100));
    EXPECT_EQ(rig.menu.aktbutt(), 0);
    EXPECT_EQ(rig.menu.bars[0]->geometry(), rig.twips.rect(9480, 720, 375, 4815));

    rig.typeMenu("9888a");  // bar A down to 40
    EXPECT_EQ(whiteFrame(rig.menu), 2);
    EXPECT_EQ(rig.svc.VolAlarm, 40);
    EXPECT_EQ(rig.outputPercent(), channel(40));
    EXPECT_EQ(rig.menu.bars[1]->geometry(), rig.twips.rect(10320, 5535 - 1926, 375, 1926));

    rig.svc.SleepOn = true;
    rig.typeMenu("99");  // over S back to the buttons: the sleep volume while it runs
    EXPECT_EQ(whiteFrame(rig.menu), 0);
    EXPECT_EQ(rig.outputPercent(), channel(30));
    rig.press(Qt::Key_Left);  // from the buttons left wraps to S
    EXPECT_EQ(rig.menu.volSelect(), 3);
    EXPECT_EQ(rig.outputPercent(), channel(30));
    rig.svc.SleepOn = false;
    rig.typeMenu("9");
    EXPECT_EQ(rig.outputPercent(), channel(100));
}

TEST(AlarmMenuVolumes, HandEditedVolumeIsClampedOnTheBarAndKeptUntilChanged) {
    AlarmRig rig;
    ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/Settings.kvx",
                                 {"07:30:00", "0", "0", "250", "-20", "100"}));
    rig.menu.ReadAlarm();
    rig.menu.FadeIn();
    EXPECT_EQ(rig.menu.bars[0]->geometry(), rig.twips.rect(9480, 720, 375, 4815));
    EXPECT_EQ(rig.menu.bars[1]->height(), 0);
    rig.typeMenu("95");  // already full: nothing changes
    EXPECT_EQ(rig.outputPercent(), channel(100));
    rig.typeMenu("1");
    EXPECT_EQ(rig.fileLines().at(3), " 250 ");
    EXPECT_EQ(rig.fileLines().at(4), "-20 ");
    rig.typeMenu("8");  // the first change starts from the bar's 100
    EXPECT_EQ(rig.svc.VolNormal, 95);
    rig.typeMenu("95");
    EXPECT_EQ(rig.svc.VolAlarm, 5);
}

TEST(AlarmMenuLeave, BackKeyWritesAndRestoresTheOutputButTheMouseDoesNeither) {
    AlarmRig rig;
    rig.main->FadeOut();
    rig.openMenu();
    rig.typeMenu("778");  // A selected, down to 95
    EXPECT_EQ(rig.outputPercent(), channel(95));
    emit rig.menu.frame.MainBack->clicked();
    EXPECT_TRUE(rig.menu.isHidden());
    EXPECT_TRUE(rig.fileLines().empty());
    EXPECT_EQ(rig.outputPercent(), channel(95));

    rig.openMenu();
    EXPECT_EQ(rig.menu.volSelect(), 0);
    EXPECT_EQ(whiteFrame(rig.menu), 0);
    rig.svc.AlarmBusy = true;
    rig.typeMenu("#");
    EXPECT_TRUE(rig.menu.isHidden());
    EXPECT_TRUE(rig.main->MainButt[0]->isVisibleTo(rig.main.get()));
    EXPECT_EQ(rig.fileLines(), (std::vector<std::string>{"00:00:00", "0", "0", " 100 ", " 95 ", " 100 "}));
    EXPECT_EQ(rig.outputPercent(), channel(95));  // the alarm list plays at the alarm volume
}

TEST(AlarmMenuRead, MissingFileTouchesNoDisplayAndAFileUpdatesThemAll) {
    AlarmRig rig;
    rig.main->AlarmStatus->setText("x");
    rig.main->ShuffleStatus->setText("y");
    rig.svc.AlarmOn = true;
    rig.menu.ReadAlarm();
    EXPECT_FALSE(rig.svc.AlarmOn);
    EXPECT_EQ(rig.main->AlarmStatus->text(), "x");
    EXPECT_EQ(rig.main->ShuffleStatus->text(), "y");
    EXPECT_TRUE(rig.fileLines().empty());

    ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/SETTINGS.kvx", {"06:45:00", "1", "1"}));
    rig.menu.ReadAlarm();
    EXPECT_EQ(rig.menu.AlarmClock->text(), "06:45:00");
    EXPECT_EQ(rig.menu.Label2->text(), "ALARM IS ON");
    EXPECT_EQ(rig.main->AlarmTimeDisplay->text(), "06:45:00");
    EXPECT_EQ(rig.main->AlarmStatus->text(), "ALARM");
    EXPECT_EQ(rig.main->ShuffleStatus->text(), "SHUFFLE");
}

TEST(AlarmMenuFade, BuildsUpInPacedStepsAndComesBackInNormalMode) {
    AlarmRig rig;
    rig.typeMenu("213");  // left by mouse in set mode
    rig.svc.GFXSpeed = 2;
    rig.menu.FadeOut();
    rig.menu.FadeIn();
    // Title 26 x 151, four frame groups of 5001, then eleven delays of 2501 between
    // the buttons, frames, labels, bars, box and time.
    EXPECT_EQ(rig.pump.passes, 26 * 151 + 4 * 5001 + 11 * 2501);
    EXPECT_FALSE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.menu.AlarmClock->text(), "00:00:00");
    EXPECT_EQ(rig.menu.Shape2->colour(), 0x000080u);
    for (QWidget* w : std::initializer_list<QWidget*>{rig.menu.AlarmClock, rig.menu.Shape2, rig.menu.bars[2],
                                                      rig.menu.MainButt[1], rig.menu.frame.Line1})
        EXPECT_TRUE(w->isVisibleTo(&rig.menu));
    rig.pump.passes = 0;
    rig.menu.FadeOut();
    EXPECT_EQ(rig.pump.passes, 0);
    EXPECT_FALSE(rig.menu.AlarmClock->isVisibleTo(&rig.menu) || rig.menu.frame.MainLabel->isVisibleTo(&rig.menu));
}
