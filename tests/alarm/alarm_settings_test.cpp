#include "alarm/alarm_settings.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <csignal>

#include "core/kelvorn_service.h"
#include "platform/text_file.h"

using namespace kelvorn;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string path(const char* name = "Settings.kvx") const { return work + "/" + name; }
    void put(const std::string& bytes, const char* name = "Settings.kvx") {
        ASSERT_TRUE(writeFileAtomic(path(name), bytes));
    }
    std::string bytes(const char* name = "Settings.kvx") const {
        std::string b;
        readFileBytes(path(name), b);
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
    EXPECT_EQ(svc.AlarmTime, "00:00:00");
    EXPECT_FALSE(svc.AlarmOn || svc.ShuffleOn);
    EXPECT_EQ(svc.VolNormal + svc.VolAlarm + svc.VolSleep, 300);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(SettingsFile, ThreeLinesFoundWithoutRegardToCaseGiveFullVolumes) {
    put("07:30:00\r\n1\r\n0\r\n", "settings.KVX");
    KelvornSERVICE svc = changedState();
    EXPECT_TRUE(readAlarmSettings(svc, work));
    EXPECT_EQ(svc.AlarmTime, "07:30:00");
    EXPECT_TRUE(svc.AlarmOn);
    EXPECT_FALSE(svc.ShuffleOn);
    EXPECT_EQ(svc.VolNormal, 100);
    EXPECT_EQ(svc.VolAlarm, 100);
    EXPECT_EQ(svc.VolSleep, 100);
    // Written back under the existing spelling, not beside it.
    ASSERT_TRUE(writeAlarmSettings(svc, work));
    EXPECT_EQ(bytes("settings.KVX"), "07:30:00\r\n1\r\n0\r\n 100 \r\n 100 \r\n 100 \r\n");
    EXPECT_EQ(bytes(), "");
}

TEST_F(SettingsFile, TimeIsTheFirstLineUpToACommaAndEmptyMeansMidnight) {
    KelvornSERVICE svc;
    applyAlarmLines(svc, {"", "1"});
    EXPECT_EQ(svc.AlarmTime, "00:00:00");
    EXPECT_TRUE(svc.AlarmOn);
    applyAlarmLines(svc, {"06:15:00,old", "0", "1", " 40 "});
    EXPECT_EQ(svc.AlarmTime, "06:15:00");
    EXPECT_FALSE(svc.AlarmOn);
    EXPECT_TRUE(svc.ShuffleOn);
    EXPECT_EQ(svc.VolNormal, 40);
    EXPECT_EQ(svc.VolAlarm, 100);
}

TEST_F(SettingsFile, FlagsAreTrueOnlyForTheNumberOne) {
    for (const char* value : {"-1", "ON", "", "2", "0"}) {
        KelvornSERVICE svc = changedState();
        applyAlarmLines(svc, {"07:00:00", value, value});
        EXPECT_FALSE(svc.AlarmOn) << '"' << value << '"';
        EXPECT_FALSE(svc.ShuffleOn) << '"' << value << '"';
    }
    for (const char* value : {"1", " 1 ", "1.0"}) {
        KelvornSERVICE svc;
        applyAlarmLines(svc, {"07:00:00", value, value});
        EXPECT_TRUE(svc.AlarmOn && svc.ShuffleOn) << '"' << value << '"';
    }
}

TEST_F(SettingsFile, WritesSixCrLfLinesWithVolumesInThePrintLayout) {
    KelvornSERVICE svc;
    svc.AlarmTime = "07:30:00";
    svc.AlarmOn = true;
    svc.VolNormal = 100;
    svc.VolAlarm = 75;
    svc.VolSleep = 0;
    ASSERT_TRUE(writeAlarmSettings(svc, work));
    EXPECT_EQ(bytes(), "07:30:00\r\n1\r\n0\r\n 100 \r\n 75 \r\n 0 \r\n");

    svc.VolSleep = -5;
    svc.ShuffleOn = true;  // the toggle rewrites line 3; the other values stay
    ASSERT_TRUE(writeAlarmSettings(svc, work));
    EXPECT_EQ(bytes(), "07:30:00\r\n1\r\n1\r\n 100 \r\n 75 \r\n-5 \r\n");

    KelvornSERVICE back = changedState();
    readAlarmSettings(back, work);
    EXPECT_EQ(alarmLines(back), alarmLines(svc));
}

TEST_F(SettingsFile, HandEditedVolumesAreKeptAsReadAndClampedWhereUsed) {
    put("07:30:00\r\n0\r\n0\r\n250\r\nloud\r\n99999999999\r\n");
    KelvornSERVICE svc;
    readAlarmSettings(svc, work);
    EXPECT_EQ(svc.VolNormal, 250);
    EXPECT_EQ(svc.VolAlarm, 0);        // not a number
    EXPECT_EQ(svc.VolSleep, 32767);    // held inside 16 bits
    EXPECT_EQ(usableVolume(svc.VolNormal), 100);
    EXPECT_EQ(usableVolume(-20), 0);
    EXPECT_EQ(usableVolume(65), 65);
    ASSERT_TRUE(writeAlarmSettings(svc, work));
    EXPECT_EQ(splitLines(bytes())[3], " 250 ");
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFile) {
    put("07:30:00\r\n1\r\n0\r\n 100 \r\n 100 \r\n 100 \r\n");
    KelvornSERVICE svc;
    svc.AlarmTime = "09:45:00";
    // A file size limit makes the write fail even for root; the signal it raises is ignored.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit tiny = old;
    tiny.rlim_cur = 4;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool written = writeAlarmSettings(svc, work);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(bytes(), "07:30:00\r\n1\r\n0\r\n 100 \r\n 100 \r\n 100 \r\n");
    EXPECT_EQ(svc.AlarmTime, "09:45:00");
}
