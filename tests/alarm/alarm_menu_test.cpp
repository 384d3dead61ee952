#include "alarm/alarm_menu.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <utility>

#include "alarm/alarm_settings.h"
#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "fakes/wait_for.h"
#include "platform/text_file.h"

using namespace kelvorn;

namespace {

constexpr unsigned kWhite = 0xFFFFFF;

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
    for (size_t k = 0; k < 3; ++k)
        if (m.barFrames[k]->colour() == kWhite) white = static_cast<int>(k) + 1, ++count;
    return count == 1 ? white : -1;
}

}  // namespace

TEST(AlarmMenuTime, DigitsFillHoursAndMinutesAndOkStoresTheTime) {
    AlarmRig rig;
    rig.typeMenu("20730");
    ASSERT_TRUE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.menu.alarmPos(), 1);  // past the minutes the cursor wraps to the hours
    EXPECT_EQ(rig.clockPlain(), "07:30:00");
    EXPECT_EQ(rig.markedDigit(), "0");
    EXPECT_EQ(rig.svc.AlarmTime, "00:00:00");  // only Ok stores it
    rig.typeMenu("c");
    EXPECT_FALSE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.svc.AlarmTime, "07:30:00");
    EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::AlarmTime), "07:30:00");  // shown even while not armed
    EXPECT_EQ(rig.fileLines().at(0), "07:30:00");
}

TEST(AlarmMenuTime, FifthDigitOverwritesTheFirstAndCursorKeysTypeDigits) {
    AlarmRig rig;
    rig.typeMenu("212345");
    EXPECT_EQ(rig.menu.tmpAlarm(), "52:34:00");
    EXPECT_EQ(rig.markedDigit(), "2");
    // Cursor right types "9"; up and down do nothing while the time is set.
    rig.press(Qt::Key_Right);
    rig.press(Qt::Key_Up);
    rig.typeMenu("qa");
    EXPECT_EQ(rig.menu.tmpAlarm(), "59:34:00");
    EXPECT_EQ(rig.menu.aktbutt(), 0);
    EXPECT_EQ(rig.menu.volSelect(), 0);
}

TEST(AlarmMenuTime, ImpossibleTimeIsRefusedAndShownInTheErrorColour) {
    AlarmRig rig;
    rig.svc.AlarmTime = "06:00:00";
    rig.openMenu();
    const auto clockRed = [&] { return rig.menu.AlarmClock->palette().color(QPalette::WindowText) == QColor(255, 0, 0); };
    rig.typeMenu("229");  // 29:00:00 is typed plainly...
    EXPECT_FALSE(clockRed());
    rig.typeMenu("75c");  // ...and refused at Ok: 29:75 never comes
    EXPECT_FALSE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.svc.AlarmTime, "06:00:00");
    EXPECT_EQ(rig.clockPlain(), "29:75:00");
    EXPECT_TRUE(clockRed() && rig.menu.RefuseTimer.isActive());
    EXPECT_TRUE(rig.fileLines().empty());
    rig.menu.RefuseTimer.setInterval(1);
    rig.menu.RefuseTimer.start();
    ASSERT_TRUE(waitFor([&] { return rig.clockPlain() == "06:00:00"; }, 2000));  // the flash ends on the old time
    EXPECT_FALSE(clockRed());
    rig.typeMenu("22359c");  // 23:59 is fine
    EXPECT_EQ(rig.svc.AlarmTime, "23:59:00");

    // A hand-edited time that never comes stays in the error colour.
    ASSERT_TRUE(writeLinesAtomic(rig.services.workDir + "/Settings.kvx", {"24:00:00", "1"}));
    rig.menu.ReadAlarm();
    EXPECT_TRUE(clockRed());
}

TEST(AlarmMenuTime, FailedWriteShowsTheNotice) {
    AlarmRig rig;
    int notices = 0;
    rig.services.notSaved = [&] { ++notices; };
    rig.services.workDir += "/gone";  // a working folder that went away
    rig.typeMenu("1");
    EXPECT_TRUE(rig.svc.AlarmOn);
    EXPECT_EQ(notices, 1);
    rig.services.notSaved = [&] { rig.main->showNotice("NOT SAVED"); };
    rig.typeMenu("1");
    EXPECT_TRUE(rig.main->noticeVisible());
    EXPECT_EQ(rig.main->shown(VelmotMAIN::Field::Notice), "NOT SAVED");
    rig.main->showNotice("NOT SAVED", 1);  // and it goes away by itself
    EXPECT_TRUE(waitFor([&] { return !rig.main->noticeVisible(); }, 2000));
}

TEST(AlarmMenuTime, BackCancelsWithoutLeavingOrWriting) {
    AlarmRig rig;
    rig.svc.AlarmTime = "06:00:00";
    rig.openMenu();
    rig.typeMenu("21111#");
    EXPECT_FALSE(rig.menu.settingAlarm());
    EXPECT_EQ(rig.svc.AlarmTime, "06:00:00");
    EXPECT_FALSE(rig.menu.isHidden());  // still on the alarm menu
    EXPECT_TRUE(rig.fileLines().empty());
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

    rig.press(Qt::Key_Right);
    EXPECT_EQ(whiteFrame(rig.menu), 1);
    EXPECT_EQ(rig.outputPercent(), channel(90));
    rig.typeMenu("55q");  // up by 5 twice, stopping at 100; KeyUp changes the volume too
    EXPECT_EQ(rig.svc.VolNormal, 100);
    EXPECT_EQ(rig.outputPercent(), channel(100));
    EXPECT_EQ(rig.menu.aktbutt(), 0);

    rig.typeMenu("9888a");  // bar A down to 40
    EXPECT_EQ(whiteFrame(rig.menu), 2);
    EXPECT_EQ(rig.svc.VolAlarm, 40);
    EXPECT_EQ(rig.outputPercent(), channel(40));

    rig.svc.SleepOn = true;
    rig.typeMenu("99");  // over S back to the buttons: the sleep volume while it runs
    EXPECT_EQ(whiteFrame(rig.menu), 0);
    EXPECT_EQ(rig.outputPercent(), channel(30));
    rig.press(Qt::Key_Left);  // from the buttons left wraps to S
    EXPECT_EQ(rig.menu.volSelect(), 3);
}

TEST(AlarmMenuLeave, BackKeyWritesTheMouseDoesNotAndBothRestoreTheOutputOnce) {
    AlarmRig rig;
    rig.main->FadeOut();
    rig.openMenu();
    rig.typeMenu("778");  // A selected, down to 95: the output follows the bar
    EXPECT_EQ(rig.outputPercent(), channel(95));
    emit rig.menu.frame.MainBack->clicked();
    EXPECT_TRUE(rig.menu.isHidden());
    EXPECT_TRUE(rig.fileLines().empty());
    EXPECT_EQ(rig.outputPercent(), channel(100));  // not the alarm volume during normal play

    rig.openMenu();
    EXPECT_EQ(whiteFrame(rig.menu), 0);
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
    EXPECT_EQ(rig.fileLines(), (std::vector<std::string>{"00:00:00", "0", "0", " 100 ", " 95 ", " 100 "}));
    EXPECT_EQ(rig.outputPercent(), channel(95));  // the alarm list plays at the alarm volume
}
