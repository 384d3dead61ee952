// The clock tick's alarm, snooze and sleep sequences and the "0" key, on a fixed clock.
#include "core/alarm_clock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <map>
#include <random>

#include "core/black_screen.h"
#include "fakes/core_test_rig.h"

using namespace kelvorn;

namespace {

// Records the black screen's calls in order.
struct RecordingBlack : BlackScreen {
    std::vector<std::string> calls;
    void showBlack() override { calls.push_back("show"); }
    void hideBlack() override { calls.push_back("hide"); }
    void showIndicator(Indicator which) override {
        calls.push_back(which == Indicator::Sleep ? "SLEEP" : which == Indicator::Snooze ? "SNOOZE" : "BLACK");
    }
    void stopLines() override { calls.push_back("stopLines"); }
    void ClearDrawing() override { calls.push_back("clear"); }
};

struct AlarmRig : CoreRig {
    QTemporaryDir music;
    RecordingBlack black;
    int videoStops = 0;

    AlarmRig() {
        svc.Mp3Path = music.path().toStdString() + "/";
        svc.GFXSpeed = -1;  // no fade steps
        svc.VolNormal = 80;
        svc.VolAlarm = 40;
        svc.VolSleep = 20;
        volume.addPlayer(&player);
        main->alarmClock().blackScreen = [this] { return &black; };
        main->alarmClock().stopVideo = [this] { ++videoStops; };
    }
    void writeFile(const std::string& name, const std::string& bytes) { std::ofstream(svc.Mp3Path + name) << bytes; }
    void writeAlarmList() { writeFile("ALARM.m3u", "a.mp3\r\nb.mp3\r\nc.mp3\r\n"); }
    void touch(std::initializer_list<const char*> songs) {
        for (const char* song : songs) writeFile(song, "");
    }
    // A real key event, as the keyboard delivers it to the screen in front.
    void pressKey(Qt::Key key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(main.get(), &event);
    }
    void tickAt(int h, int m, double sec) {
        clock.set(h, m, sec);
        main->Timer1_Timer();
    }
    void play(const char* file) {
        player.open(file);
        player.play();
        svc.PlayOn = true;
    }
    long hides() const { return std::count(black.calls.begin(), black.calls.end(), "hide"); }
    bool gainIs(double percent) const { return player.gain == waveChannelValue(percent) / 65535.0; }
};

}  // namespace

TEST(AlarmTime, FallsDueOnItsTextOrASecondPassedSinceTheTickBefore) {
    const double t = 27000;  // 07:30:00 on day 0
    const auto at = [](double utc, int offset = 0) { return ClockReading{utc, offset}; };
    const struct { const char* time; ClockReading now; std::optional<ClockReading> before; bool due; } cases[] = {
        {"07:30:00", at(t + 0.5), std::nullopt, true},
        {"07:30:00", at(t + 2.5), at(t - 0.5), true},  // the matching second was skipped
        {"07:30:00", at(t + 2.5), at(t + 0.5), false},  // already seen by the tick before
        {"07:30:00", at(t + 6), at(t - 5), false},      // eleven seconds: no catch-up
        {"07:30:00", at(t + 2), std::nullopt, false},
        {"00:00:00", at(86401), at(86398), true},       // across midnight
        // The clock set forward past it is no tick arriving late.
        {"07:30:00", at(t + 5), at(t - 3600), false},
        // Summer time starts at 02:00: 02:30 never shows, it falls due at the jump.
        {"02:30:00", at(3600 + 0.05, 7200), at(3600 - 0.05, 3600), true},
        {"02:30:00", at(3600 + 0.05, 3600), at(3600 - 0.05, 3600), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(alarmFallsDue(c.time, c.now, c.before).has_value(), c.due) << c.time << " " << c.now.utc;
    // Times that never occur stay silent whatever the ticks' spacing.
    for (const char* never : {"29:75:00", "07:60:00", "7:30:00", "07-30-00", "", "garbage!"}) {
        EXPECT_FALSE(secondOfDay(never)) << never;
        for (double gap : {1.0, 5.0})
            for (int s = 0; s < 86400; ++s) ASSERT_FALSE(alarmFallsDue(never, at(s), at(s - gap))) << s;
    }
}

TEST(Alarm, StartsOnceInItsSecondAndPlaysTheAlarmList) {
    for (const bool shuffle : {false, true}) {
        SCOPED_TRACE(testing::Message() << "shuffle " << shuffle);
        AlarmRig rig;
        rig.writeAlarmList();
        rig.touch({"a.mp3", "b.mp3", "c.mp3"});
        rig.svc.ShuffleOn = shuffle;
        rig.random.values = {0.9};
        rig.svc.AlarmOn = true;
        rig.svc.AlarmTime = "07:30:00";
        rig.clock.set(7, 0, 0);
        rig.type("0");  // a running sleep timer is cancelled by the alarm
        ASSERT_TRUE(rig.svc.SleepOn);
        rig.tickAt(7, 29, 59.9);
        EXPECT_EQ(rig.hides(), 0);
        for (int i = 0; i < 10; ++i) rig.tickAt(7, 30, i / 10.0);
        EXPECT_EQ(rig.hides(), 1);
        EXPECT_FALSE(rig.svc.SleepOn);
        EXPECT_EQ(rig.svc.ListName, "ALARM.m3u");
        EXPECT_EQ(rig.svc.CustomCount, 2);
        EXPECT_TRUE(rig.svc.ListMode && rig.svc.NewSong && rig.svc.PlayOn);
        EXPECT_TRUE(rig.gainIs(40));
        rig.main->Timer2_Timer();  // the engine starts the alarm song
        EXPECT_EQ(rig.lastOpened(), rig.svc.Mp3Path + (shuffle ? "c.mp3" : "a.mp3"));  // Int(0.9*2+0.5)

        rig.tickAt(7, 31, 0);
        rig.tickAt(7, 30, 0);  // the next day
        EXPECT_EQ(rig.hides(), 2);
    }
}

// An armed alarm always makes sound: a missing or empty alarm list, or one naming no
// file that is there or that opens, gives the archive; no archive gives the tone.
TEST(Alarm, WithoutAPlayableListTheArchivePlaysAndWithoutThatATone) {
    enum List { Missing, Empty, Absent, Unplayable };
    for (const List list : {Missing, Empty, Absent, Unplayable})
        for (const bool archive : {true, false}) {
            SCOPED_TRACE(testing::Message() << "list " << list << " archive " << archive);
            AlarmRig rig;
            rig.svc.CustomSongs = {"old.mp3"};
            rig.svc.CustomCount = 0;
            if (list == Empty) rig.writeFile("ALARM.m3u", "");
            if (list == Absent || list == Unplayable) rig.writeAlarmList();
            if (list == Unplayable) {
                rig.touch({"a.mp3", "b.mp3", "c.mp3"});
                rig.player.failOpen("/a.mp3");
                rig.player.failOpen("/b.mp3");
                rig.player.failOpen("/c.mp3");
            }
            rig.setArchive({"x.mp3", "y.mp3"});
            if (archive) rig.touch({"x.mp3", "y.mp3"});
            rig.svc.AlarmOn = true;
            rig.svc.AlarmTime = "06:00:00";
            rig.tickAt(6, 0, 0);
            for (int i = 0; i < 3; ++i) rig.main->Timer2_Timer();
            EXPECT_TRUE(rig.gainIs(40));
            if (archive) {
                EXPECT_EQ(rig.lastOpened(), rig.svc.Mp3Path + "x.mp3");
                EXPECT_EQ(rig.player.playState(), MediaPlayer::Playing);
                EXPECT_EQ(rig.svc.CustomCount, 1);  // in the alarm list's place: "0" snoozes
                rig.type("0");
                EXPECT_TRUE(rig.svc.SnoozeOn);
                continue;
            }
            EXPECT_EQ(rig.player.tones, 1);
            EXPECT_EQ(rig.player.playState(), MediaPlayer::Playing);
            EXPECT_FALSE(rig.svc.PlayOn);
            // The first key silences it and goes no further: "0" starts no sleep timer.
            rig.pressKey(Qt::Key_0, "0");
            EXPECT_EQ(rig.player.playState(), MediaPlayer::Stopped);
            EXPECT_FALSE(rig.svc.SleepOn);
            rig.pressKey(Qt::Key_0, "0");  // the next one acts
            EXPECT_TRUE(rig.svc.SleepOn || rig.svc.SnoozeOn);
        }
}

TEST(Alarm, SkippedSecondStillFiresOnceAtTheClampedVolume) {
    AlarmRig rig;
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "07:30:00";
    rig.svc.VolAlarm = 250;  // hand-edited: the output takes at most 100 %
    for (double sec : {59.0, 62.0, 62.1, 63.0}) rig.tickAt(7, 29, sec);
    EXPECT_EQ(rig.hides(), 1);
    EXPECT_TRUE(rig.gainIs(100));
}

TEST(Snooze, PausesTenMinutesAcrossMidnightAndEndsEarlyByKey) {
    AlarmRig rig;
    rig.svc.ListName = "ALARM.m3u";
    rig.svc.ListMode = true;
    rig.play("/music/a.mp3");
    rig.clock.set(23, 55, 0);
    rig.type("0");
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Paused);
    EXPECT_EQ(rig.svc.SnoozeTime, "00:05:00");
    rig.tickAt(0, 4, 59.9);
    EXPECT_TRUE(rig.svc.SnoozeOn);
    rig.tickAt(0, 5, 0);
    EXPECT_TRUE(!rig.svc.SnoozeOn && rig.svc.PlayOn && rig.player.playState() == MediaPlayer::Playing);
    EXPECT_TRUE(rig.gainIs(40));
    EXPECT_EQ(rig.black.calls, (std::vector<std::string>{"show", "SNOOZE", "stopLines", "clear", "hide"}));

    // A key ends a snooze early.
    rig.clock.set(6, 0, 0);
    rig.type("00");
    EXPECT_TRUE(!rig.svc.SnoozeOn && rig.svc.PlayOn && rig.player.playState() == MediaPlayer::Playing);
}

TEST(Sleep, RunsTwoHoursPastMidnightThenStopsEverything) {
    AlarmRig rig;
    rig.setArchive({"a.mp3"});
    rig.play("/music/a.mp3");
    rig.svc.VideoPlaying = true;
    rig.clock.set(23, 30, 0);
    rig.type("0");
    EXPECT_TRUE(rig.gainIs(20));
    rig.tickAt(1, 29, 59);
    EXPECT_TRUE(rig.svc.SleepOn && rig.black.calls.empty());
    rig.tickAt(1, 30, 0);
    EXPECT_FALSE(rig.svc.SleepOn || rig.svc.PlayOn || rig.svc.VideoPlaying);
    EXPECT_EQ(rig.videoStops, 1);
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Stopped);
    EXPECT_EQ(rig.black.calls, (std::vector<std::string>{"show", "stopLines", "clear", "SLEEP"}));
}

TEST(Sleep, ThirteenPressesCancelAndRestoreTheNormalVolume) {
    AlarmRig rig;
    rig.clock.set(12, 0, 0);
    for (int press = 1; press <= 13; ++press) {
        rig.type("0");
        rig.clock.advance(0.1);  // quick succession
        EXPECT_EQ(rig.svc.SleepOn, press < 13) << press;
    }
    EXPECT_TRUE(rig.gainIs(80));
}

TEST(ClockTick, TickArrivingMidSequenceReturnsAtOnce) {
    // The alarm falls due in the second the sleep timer ends; ticks delivered while the
    // sleep end lets events run must not start it early, so it plays after the sleep end.
    AlarmRig rig;
    rig.writeAlarmList();
    rig.touch({"a.mp3"});
    rig.clock.set(23, 30, 0);
    rig.type("0");
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "01:30:00";
    int nested = 0;
    rig.pump.onPass = [&] {
        ++nested;
        rig.main->Timer1_Timer();
    };
    rig.tickAt(1, 30, 0);
    EXPECT_GT(nested, 0);
    EXPECT_EQ(rig.hides(), 1);
    EXPECT_TRUE(rig.svc.PlayOn && rig.gainIs(40));
}

// A month of clock ticks that arrive up to 5 s late, in a zone that switches to summer
// time at 02:00 on day 10 and back at 03:00 on day 20, with the alarm at 02:30 (the hour
// skipped in spring and repeated in autumn). Each day the user snoozes at 01:55 and at
// 02:55, and a minute after the alarm, and starts the sleep timer at 02:45: some of these
// run across a switch. The alarm starts once per day, and every snooze and sleep ends
// within one tick of its real time.
TEST(ClockTick, AMonthOfLateTicksAcrossBothDaylightSavingSwitches) {
    AlarmRig rig;
    rig.writeAlarmList();
    rig.touch({"a.mp3"});
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "02:30:00";
    rig.svc.ListName = "ALARM.m3u";  // "0" snoozes from the first day on
    const double spring = 10 * 86400.0 + 2 * 3600 - 3600, autumn = 20 * 86400.0 + 3 * 3600 - 7200;
    const auto offsetAt = [&](double utc) { return utc >= spring && utc < autumn ? 7200 : 3600; };
    rig.clock.utc = -3600;  // local midnight of day 0
    rig.clock.offset = 3600;

    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> late(0.0, 5.0);
    std::map<long long, int> alarmsOnDay;
    double snoozeDue = 0, sleepDue = 0, alarmAt = -1;
    int snoozes = 0, sleeps = 0;
    // A timer ends within one tick of `due`: not before it, and not a tick after it.
    const auto checkEnd = [](bool wasOn, bool isOn, double due, double before, double now, double slack) {
        if (wasOn && !isOn) {
            EXPECT_GE(now, due - slack) << "ended early";
            EXPECT_LT(before, due + slack) << "ended a tick late";
        } else if (isOn) {
            EXPECT_LT(now, due + slack) << "still on after its time";
        }
    };
    ClockReading before = rig.clock.read();
    while (rig.clock.utc < 31 * 86400.0 - 3600) {
        rig.clock.utc += 0.1 + late(random);
        rig.clock.offset = offsetAt(rig.clock.utc);
        const ClockReading now = rig.clock.read();
        // Local marks passed since the tick before (a switch back passes them twice).
        const auto passed = [&](int h, int m) {
            for (const long long day : {before.day(), now.day()}) {
                const double mark = static_cast<double>(day) * 86400 + h * 3600 + m * 60;
                if (before.local() < mark && mark <= now.local()) return true;
            }
            return false;
        };
        const bool snoozing = rig.svc.SnoozeOn, sleeping = rig.svc.SleepOn;
        rig.main->Timer1_Timer();
        checkEnd(snoozing, rig.svc.SnoozeOn, snoozeDue, before.utc, now.utc, 0.5);
        checkEnd(sleeping, rig.svc.SleepOn, sleepDue, before.utc, now.utc, 0.001);
        if (rig.svc.NewSong) {  // the alarm started; the engine would take the request
            rig.svc.NewSong = false;
            ++alarmsOnDay[now.day()];
            alarmAt = now.utc;
        }
        const auto press = [&](bool listMode) {
            rig.svc.ListMode = listMode;
            rig.type("0");
            rig.svc.ListMode = true;
        };
        if (!rig.svc.SnoozeOn && (passed(1, 55) || passed(2, 55) || (alarmAt > 0 && now.utc >= alarmAt + 60))) {
            alarmAt = -1;
            press(true);
            snoozeDue = now.utc + AlarmClock::kSnoozeLength * 86400;
            ++snoozes;
        }
        if (!rig.svc.SleepOn && passed(2, 45)) {
            press(false);
            sleepDue = now.utc + AlarmClock::kSleepStep * AlarmClock::kFirstSleepSteps * 86400;
            ++sleeps;
        }
        before = now;
    }
    EXPECT_EQ(alarmsOnDay.size(), 31u);
    for (const auto& [day, starts] : alarmsOnDay) EXPECT_EQ(starts, 1) << "day " << day;
    EXPECT_GE(snoozes, 31 * 3 - 2);
    EXPECT_EQ(sleeps, 31);
}
