#include "alarm/alarm_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "fakes/file_size_limit.h"

#include "platform/text_file.h"
#include "state/kelvorn_service.h"

using namespace kelvorn;

namespace {

using Lines = std::vector<std::string>;

class SettingsFile : public ::testing::Test {
protected:
    std::string bytes(const char* name = "Settings.kvx") const {
        std::string b;
        readFileBytes(work + "/" + name, b);
        return b;
    }
    // State far from the defaults, so that a read visibly resets it.
    static KelvornSERVICE changedState() {
        KelvornSERVICE svc;
        svc.AlarmTime = "11:11:11";
        svc.AlarmOn = svc.ShuffleOn = true;
        svc.VolNormal = svc.VolAlarm = svc.VolSleep = 5;
        return svc;
    }

    QTemporaryDir dir;
    std::string work = dir.path().toStdString();
};

}  // namespace

TEST_F(SettingsFile, MissingFileGivesDefaultsAndCreatesNothing) {
    KelvornSERVICE svc = changedState();
    EXPECT_FALSE(readAlarmSettings(svc, work));
    EXPECT_EQ(alarmLines(svc), (Lines{"00:00:00", "0", "0", " 100 ", " 100 ", " 100 "}));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(SettingsFile, ThreeLinesFoundWithoutRegardToCaseGiveFullVolumesAndSixAreWrittenBack) {
    ASSERT_TRUE(writeFileAtomic(work + "/settings.KVX", "07:30:00\r\n1\r\n0\r\n"));
    KelvornSERVICE svc = changedState();
    EXPECT_TRUE(readAlarmSettings(svc, work));
    EXPECT_EQ(alarmLines(svc), (Lines{"07:30:00", "1", "0", " 100 ", " 100 ", " 100 "}));
    // Written back under the existing spelling, not beside it; shuffle is line three.
    svc.ShuffleOn = true;
    svc.VolAlarm = 75;
    svc.VolSleep = -5;
    ASSERT_TRUE(writeAlarmSettings(svc, work));
    EXPECT_EQ(bytes("settings.KVX"), "07:30:00\r\n1\r\n1\r\n 100 \r\n 75 \r\n-5 \r\n");
    EXPECT_EQ(bytes(), "");
}

TEST_F(SettingsFile, LinesAreReadLeniently) {
    const struct { std::vector<std::string> lines; const char* time; bool on, shuffle; int volNormal; } cases[] = {
        {{"", "1", "0"}, "00:00:00", true, false, 100},                  // empty first line: midnight
        {{"06:15:00,old", "0", "1", " 40 "}, "06:15:00", false, true, 40},  // the time ends at a comma
        {{"07:00:00", "-1", "-1", "250"}, "07:00:00", false, false, 250},  // volumes kept as read
        {{"07:00:00", "ON", "", "loud"}, "07:00:00", false, false, 0},
        {{"07:00:00", "", "2", "99999999999"}, "07:00:00", false, false, 32767},  // held inside 16 bits
        {{"07:00:00", " 1 ", "1.0"}, "07:00:00", true, true, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.lines[1] << "\" \"" << c.lines[2] << '"');
        KelvornSERVICE svc = changedState();
        applyAlarmLines(svc, c.lines);
        EXPECT_EQ(svc.AlarmTime, c.time);
        EXPECT_EQ(svc.AlarmOn, c.on);
        EXPECT_EQ(svc.ShuffleOn, c.shuffle);
        EXPECT_EQ(svc.VolNormal, c.volNormal);
    }
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFile) {
    const std::string old = "07:30:00\r\n1\r\n0\r\n 100 \r\n 100 \r\n 100 \r\n";
    ASSERT_TRUE(writeFileAtomic(work + "/Settings.kvx", old));
    KelvornSERVICE svc;
    svc.AlarmTime = "09:45:00";
    EXPECT_FALSE(underFileSizeLimit(4, [&] { return writeAlarmSettings(svc, work); }));
    EXPECT_EQ(bytes(), old);
}
