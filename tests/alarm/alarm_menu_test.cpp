// The alarm menu (time, arming, volume bars) and the settings file it reads and writes.
#include "alarm/alarm_menu.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <utility>

#include "alarm/alarm_settings.h"
#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "fakes/file_size_limit.h"
#include "fakes/wait_for.h"
#include "platform/text_file.h"

using namespace kelvorn;
using Lines = std::vector<std::string>;

namespace {

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
    void press(Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&menu, &event);
    }
    void openMenu() { transitions->open(*main, menu); }
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

}  // namespace

TEST(AlarmMenuTime, DigitsFillHoursAndMinutesOkStoresTheTimeAndBackCancels) {
    AlarmRig rig;
    rig.svc.AlarmTime = "06:00:00";
    rig.openMenu();
    rig.typeMenu("20730");
    EXPECT_EQ(rig.clock(), "[0]7:30:00");      // past the minutes the cursor wraps to the hours
    EXPECT_EQ(rig.svc.AlarmTime, "06:00:00");  // only Ok stores it
    rig.typeMenu("c");
    EXPECT_FALSE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.svc.AlarmTime, "07:30:00");
    EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::AlarmTime), "07:30:00");  // shown even while not armed
    EXPECT_EQ(rig.fileLines().at(0), "07:30:00");
    // A fifth digit overwrites the first; cursor right types "9", up and down do nothing.
    rig.typeMenu("212345");
    rig.press(Qt::Key_Right);
    rig.press(Qt::Key_Up);
    rig.typeMenu("qa");
    EXPECT_EQ(rig.clock(), "59:[3]4:00");
    EXPECT_EQ(rig.menu.aktbutt() + rig.menu.volSelect(), 0);
    rig.typeMenu("#");
    EXPECT_FALSE(rig.menu.settingAlarm() || rig.menu.isHidden());  // still on the alarm menu
    EXPECT_EQ(rig.clock(), "07:30:00");
    EXPECT_EQ(rig.svc.AlarmTime, "07:30:00");
    EXPECT_EQ(rig.fileLines().at(0), "07:30:00");
}

TEST(AlarmMenuTime, ImpossibleTimeIsRefusedAndShownInTheErrorColour) {
    AlarmRig rig;
    rig.svc.AlarmTime = "06:00:00";
    rig.openMenu();
    rig.typeMenu("229");  // 29:00:00 is typed plainly...
    EXPECT_FALSE(rig.clockRed());
    rig.typeMenu("75c");  // ...and refused at Ok: 29:75 never comes
    EXPECT_TRUE(!rig.menu.settingAlarm() && rig.svc.AlarmTime == "06:00:00" && rig.fileLines().empty());
    EXPECT_EQ(rig.clock(), "29:75:00");
    EXPECT_TRUE(rig.clockRed() && rig.menu.RefuseTimer.isActive());
    rig.menu.RefuseTimer.setInterval(1);
    rig.menu.RefuseTimer.start();
    ASSERT_TRUE(waitFor([&] { return rig.clock() == "06:00:00"; }, 2000));  // the flash ends on the old time
    EXPECT_FALSE(rig.clockRed());
    rig.typeMenu("22359c");  // 23:59 is fine
    EXPECT_EQ(rig.svc.AlarmTime, "23:59:00");
    // A hand-edited time that never comes stays in the error colour.
    ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/Settings.kvx", {"24:00:00", "1"}));
    rig.menu.ReadAlarm();
    EXPECT_TRUE(rig.clockRed());
}

TEST(AlarmMenu, AFailedWriteShowsTheNoticeForAWhile) {
    AlarmRig rig;
    rig.services.notSaved = [&] { rig.main->showNotice("NOT SAVED", 50); };
    rig.services.workDir += "/gone";  // a working folder that went away
    rig.typeMenu("1");
    EXPECT_TRUE(rig.svc.AlarmOn && rig.main->noticeVisible());
    EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::Notice), "NOT SAVED");
    EXPECT_TRUE(waitFor([&] { return !rig.main->noticeVisible(); }, 2000));
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
    rig.press(Qt::Key_Right);
    EXPECT_TRUE(rig.whiteFrame() == 1 && rig.outputAt(90));
    rig.typeMenu("55q");  // up by 5 twice, stopping at 100; KeyUp changes the volume too
    EXPECT_TRUE(rig.svc.VolNormal == 100 && rig.outputAt(100) && rig.menu.aktbutt() == 0);
    rig.typeMenu("9888a");  // bar A down to 40
    EXPECT_TRUE(rig.whiteFrame() == 2 && rig.svc.VolAlarm == 40 && rig.outputAt(40));
    rig.svc.SleepOn = true;
    rig.typeMenu("99");  // over S back to the buttons: the sleep volume while it runs
    EXPECT_TRUE(rig.whiteFrame() == 0 && rig.outputAt(30));
    rig.press(Qt::Key_Left);  // from the buttons left wraps to S
    EXPECT_EQ(rig.menu.volSelect(), 3);
}

TEST(AlarmMenuLeave, BackKeyWritesTheMouseDoesNotAndBothRestoreTheOutputOnce) {
    AlarmRig rig;
    rig.main->FadeOut();
    rig.openMenu();
    rig.typeMenu("778");  // A selected, down to 95: the output follows the bar
    EXPECT_TRUE(rig.outputAt(95));
    emit rig.menu.frame.MainBack->clicked();
    EXPECT_TRUE(rig.menu.isHidden());
    EXPECT_TRUE(rig.fileLines().empty());
    EXPECT_TRUE(rig.outputAt(100));  // not the alarm volume during normal play

    rig.openMenu();
    EXPECT_EQ(rig.whiteFrame(), 0);
    rig.svc.AlarmBusy = true;
    // A second back key (or click) while the screen closes does nothing: no second write.
    bool again = true;
    rig.pump.onPass = [&] {
        if (!std::exchange(again, false)) return;
        rig.svc.VolNormal = 55;
        rig.typeMenu("#");
        emit rig.menu.frame.MainBack->clicked();
    };
    rig.typeMenu("#");
    EXPECT_TRUE(rig.menu.isHidden());
    EXPECT_EQ(rig.fileLines(), (Lines{"00:00:00", "0", "0", " 100 ", " 95 ", " 100 "}));
    EXPECT_TRUE(rig.outputAt(95));  // the alarm list plays at the alarm volume
}

// Lines 2 and 3 count only as the number 1; the time ends at a comma (an empty one is
// midnight); volumes missing at the end are 100, others are kept as read within 16 bits
// and written with a sign place.
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

TEST(SettingsFile, FoundWithoutRegardToCaseAndAFailedWriteLeavesTheOldFile) {
    QTemporaryDir dir;
    const std::string work = dir.path().toStdString();
    const auto bytes = [&] {
        std::string b;
        readFileBytes(work + "/settings.KVX", b);
        return b;
    };
    KelvornSERVICE svc;
    svc.AlarmOn = svc.ShuffleOn = true;
    svc.VolNormal = 5;
    EXPECT_FALSE(readAlarmSettings(svc, work));  // no file: the defaults, and nothing created
    EXPECT_EQ(alarmLines(svc), (Lines{"00:00:00", "0", "0", " 100 ", " 100 ", " 100 "}));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    ASSERT_TRUE(writeFileAtomic(work + "/settings.KVX", "07:30:00\r\n1\r\n0\r\n"));
    EXPECT_TRUE(readAlarmSettings(svc, work));
    svc.ShuffleOn = true;
    svc.VolAlarm = 75;
    ASSERT_TRUE(writeAlarmSettings(svc, work));  // under the existing spelling, not beside it
    EXPECT_EQ(bytes(), "07:30:00\r\n1\r\n1\r\n 100 \r\n 75 \r\n 100 \r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.KVX"});
    svc.AlarmTime = "09:45:00";
    EXPECT_FALSE(underFileSizeLimit(4, [&] { return writeAlarmSettings(svc, work); }));
    EXPECT_EQ(bytes(), "07:30:00\r\n1\r\n1\r\n 100 \r\n 75 \r\n 100 \r\n");
}
