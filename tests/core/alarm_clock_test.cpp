// The clock tick's alarm, snooze and sleep sequences and the "0" key, on a fixed clock.
#include "core/alarm_clock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <utility>

#include "core/black_screen.h"
#include "fakes/core_test_rig.h"

using namespace kelvorn;
using Calls = std::vector<std::string>;

namespace {

// Records the black screen's calls in order.
struct RecordingBlack : BlackScreen {
    Calls calls;
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
    void write(const std::string& name, const std::string& bytes = "") { std::ofstream(svc.Mp3Path + name) << bytes; }
    // The alarm list a, b, c, and those of its songs that are there.
    void alarmList(std::initializer_list<const char*> there) {
        write("ALARM.m3u", "a.mp3\r\nb.mp3\r\nc.mp3\r\n");
        for (const char* song : there) write(song);
    }
    void arm(const char* time) {
        svc.AlarmOn = true;
        svc.AlarmTime = time;
    }
    void tickAt(int h, int m, double sec) {
        clock.set(h, m, sec);
        main->Timer1_Timer();
    }
    void play() {
        player.open("/music/a.mp3");
        player.play();
        svc.PlayOn = true;
    }
    long hides() const { return std::count(black.calls.begin(), black.calls.end(), "hide"); }
    bool gainIs(double percent) const { return player.gain == waveChannelValue(percent) / 65535.0; }
};

}  // namespace

// Skipped seconds, daylight-saving jumps and the once-a-day start are the month's below.
TEST(AlarmTime, FallsDueOnItsTextOrASecondPassedShortlyBefore) {
    const auto at = [](double utc) { return ClockReading{utc, 0}; };
    const double t = 27000;  // 07:30:00 on day 0
    const struct { const char* time; ClockReading now; std::optional<ClockReading> before; bool due; } cases[] = {
        {"07:30:00", at(t + 0.5), std::nullopt, true},   {"07:30:00", at(t + 2), std::nullopt, false},
        {"07:30:00", at(t + 6), at(t - 5), false},       // eleven seconds apart: no catch-up
        {"07:30:00", at(t + 5), at(t - 3600), false},    // the clock set forward past it
        {"00:00:00", at(86401), at(86398), true},        // across midnight
    };
    for (const auto& c : cases) EXPECT_EQ(alarmFallsDue(c.time, c.now, c.before).has_value(), c.due) << c.now.utc;
    // Times that never occur stay silent, also at the seconds their figures would wrap to
    // (29:75 as 06:15, 07:60 as 08:00) and at both ends of the day.
    for (const char* never : {"29:75:00", "07:60:00", "7:30:00", "07-30-00", "", "garbage!"}) {
        EXPECT_FALSE(secondOfDay(never)) << never;
        for (const double s : {0.0, 22500.0, 27000.0, 28800.0, 86399.5})
            for (const double gap : {1.0, 5.0}) EXPECT_FALSE(alarmFallsDue(never, at(s), at(s - gap))) << never << s;
    }
}

// A hand-edited alarm volume plays at most at 100 %; shuffled, Int(0.9 * 2 + 0.5) picks c.
TEST(Alarm, EndsTheSleepTimerAndPlaysTheAlarmListAtTheAlarmVolume) {
    const struct { bool shuffle; int volume; double gain; const char* song; } cases[] = {
        {false, 40, 40, "a.mp3"}, {true, 250, 100, "c.mp3"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.song);
        AlarmRig rig;
        rig.alarmList({"a.mp3", "b.mp3", "c.mp3"});
        rig.svc.ShuffleOn = c.shuffle;
        rig.svc.VolAlarm = c.volume;
        rig.random.values = {0.9};
        rig.arm("07:30:00");
        rig.clock.set(7, 0, 0);
        rig.type("0");
        ASSERT_TRUE(rig.svc.SleepOn);
        rig.tickAt(7, 29, 59.9);
        EXPECT_EQ(rig.hides(), 0);
        rig.tickAt(7, 30, 0);
        EXPECT_TRUE(rig.hides() == 1 && !rig.svc.SleepOn && rig.gainIs(c.gain));
        rig.main->Timer2_Timer();  // the engine starts the alarm song
        EXPECT_EQ(rig.lastOpened(), rig.svc.Mp3Path + c.song);
    }
}

// An alarm list that is missing, empty, or names no file that is there or opens gives the
// archive; no archive gives the tone.
TEST(Alarm, WithoutAPlayableListTheArchivePlaysAndWithoutThatATone) {
    enum List { Missing, Empty, Absent, Unplayable };
    for (const List list : {Missing, Empty, Absent, Unplayable})
        for (const bool archive : {true, false}) {
            SCOPED_TRACE(testing::Message() << "list " << list << " archive " << archive);
            AlarmRig rig;
            rig.svc.CustomSongs = {"old.mp3"};
            rig.svc.CustomCount = 0;
            if (list == Empty) rig.write("ALARM.m3u");
            if (list == Absent) rig.alarmList({});
            if (list == Unplayable) rig.alarmList({"a.mp3", "b.mp3", "c.mp3"});
            for (const char* song : {"/a.mp3", "/b.mp3", "/c.mp3"}) rig.player.failOpen(song);
            rig.setArchive({"x.mp3", "y.mp3"});
            if (archive) rig.write("x.mp3");
            rig.arm("06:00:00");
            rig.tickAt(6, 0, 0);
            for (int i = 0; i < 3; ++i) rig.main->Timer2_Timer();
            EXPECT_TRUE(rig.gainIs(40) && rig.player.playState() == MediaPlayer::Playing);
            if (archive) {
                EXPECT_EQ(rig.lastOpened(), rig.svc.Mp3Path + "x.mp3");
                rig.type("0");  // the archive stands in the alarm list's place: "0" snoozes
                EXPECT_TRUE(rig.svc.SnoozeOn);
                continue;
            }
            EXPECT_TRUE(rig.player.tones == 1 && !rig.svc.PlayOn);
            // The first key silences it and goes no further: "0" starts no sleep timer.
            QKeyEvent zero(QEvent::KeyPress, Qt::Key_0, Qt::NoModifier, "0");
            QCoreApplication::sendEvent(rig.main.get(), &zero);
            EXPECT_TRUE(rig.player.playState() == MediaPlayer::Stopped && !rig.svc.SleepOn);
            QCoreApplication::sendEvent(rig.main.get(), &zero);  // the next one acts
            EXPECT_TRUE(rig.svc.SleepOn || rig.svc.SnoozeOn);
        }
}

// When snooze and sleep end is the month's below; these check what they do then.
TEST(Snooze, PausesAcrossMidnightResumesAtTheAlarmVolumeAndAKeyEndsItEarly) {
    AlarmRig rig;
    rig.svc.ListName = "ALARM.m3u";
    rig.svc.ListMode = true;
    rig.play();
    rig.clock.set(23, 55, 0);
    rig.type("0");
    EXPECT_TRUE(rig.player.playState() == MediaPlayer::Paused && rig.svc.SnoozeTime == "00:05:00");
    rig.tickAt(0, 5, 0);
    EXPECT_TRUE(!rig.svc.SnoozeOn && rig.svc.PlayOn && rig.player.playState() == MediaPlayer::Playing);
    EXPECT_TRUE(rig.gainIs(40));
    EXPECT_EQ(rig.black.calls, (Calls{"show", "SNOOZE", "stopLines", "clear", "hide"}));
    rig.clock.set(6, 0, 0);
    rig.type("00");
    EXPECT_TRUE(!rig.svc.SnoozeOn && rig.svc.PlayOn && rig.player.playState() == MediaPlayer::Playing);
}

TEST(Sleep, ThirteenPressesCancelAndAFinishedTimerStopsEverything) {
    AlarmRig rig;
    rig.play();
    rig.svc.VideoPlaying = true;
    for (int press = 1; press <= 13; ++press) {
        rig.type("0");
        rig.clock.advance(0.1);  // quick succession
        EXPECT_TRUE(rig.svc.SleepOn == (press < 13) && rig.gainIs(press < 13 ? 20 : 80)) << press;
    }
    rig.type("0");
    rig.clock.advance(2 * 3600 + 1);
    rig.main->Timer1_Timer();
    EXPECT_FALSE(rig.svc.SleepOn || rig.svc.PlayOn || rig.svc.VideoPlaying);
    EXPECT_TRUE(rig.videoStops == 1 && rig.player.playState() == MediaPlayer::Stopped);
    EXPECT_EQ(rig.black.calls, (Calls{"show", "stopLines", "clear", "SLEEP"}));
}

// The alarm falls due as the sleep timer ends: ticks delivered during the sleep end must
// not start it early, inside the sleep end that would then silence it.
TEST(ClockTick, TickArrivingMidSequenceReturnsAtOnce) {
    AlarmRig rig;
    rig.alarmList({"a.mp3"});
    rig.clock.set(23, 30, 0);
    rig.type("0");
    rig.arm("01:30:00");
    int nested = 0;
    rig.pump.onPass = [&] {
        ++nested;
        rig.main->Timer1_Timer();
    };
    rig.tickAt(1, 30, 0);
    EXPECT_TRUE(nested > 0 && rig.hides() == 1 && rig.svc.PlayOn && rig.gainIs(40));
}

// Ticks up to 5 s late for a month in a zone that switches to summer time at 02:00 on
// day 10 and back at 03:00 on day 20; the alarm at 02:30, snoozes at 01:55, 02:55 and a
// minute after the alarm, the sleep timer at 02:45. The alarm starts once a day, and
// every snooze and sleep ends within one tick of its time.
TEST(ClockTick, AMonthOfLateTicksAcrossBothDaylightSavingSwitches) {
    AlarmRig rig;
    rig.alarmList({"a.mp3"});
    rig.arm("02:30:00");
    rig.svc.ListName = "ALARM.m3u";  // "0" snoozes from the first day on
    rig.svc.ListMode = true;
    const double spring = 10 * 86400.0 + 2 * 3600 - 3600, autumn = 20 * 86400.0 + 3 * 3600 - 7200;
    rig.clock.utc = -3600;  // local midnight of day 0
    rig.clock.offset = 3600;
    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> late(0.0, 5.0);
    std::map<long long, int> alarmsOnDay;
    double snoozeDue = 0, sleepDue = 0, alarmAt = -1;
    int snoozes = 0, sleeps = 0;
    for (ClockReading before = rig.clock.read(); rig.clock.utc < 31 * 86400.0 - 3600; before = rig.clock.read()) {
        rig.clock.utc += 0.1 + late(random);
        rig.clock.offset = rig.clock.utc >= spring && rig.clock.utc < autumn ? 7200 : 3600;
        const ClockReading now = rig.clock.read();
        // Local marks passed since the tick before (a switch back passes them twice).
        const auto passed = [&](int h, int m) {
            for (const long long day : {before.day(), now.day()}) {
                const double mark = static_cast<double>(day) * 86400 + h * 3600 + m * 60;
                if (before.local() < mark && mark <= now.local()) return true;
            }
            return false;
        };
        // A timer ends within one tick of `due`: not before it, and not a tick after it.
        const auto checkEnd = [&](bool wasOn, bool isOn, double due, double slack) {
            if (wasOn && !isOn) {
                EXPECT_TRUE(now.utc >= due - slack && before.utc < due + slack) << "ended early or a tick late";
            } else if (isOn) {
                EXPECT_LT(now.utc, due + slack) << "still on after its time";
            }
        };
        const bool snoozing = rig.svc.SnoozeOn, sleeping = rig.svc.SleepOn;
        rig.main->Timer1_Timer();
        checkEnd(snoozing, rig.svc.SnoozeOn, snoozeDue, 0.5);
        checkEnd(sleeping, rig.svc.SleepOn, sleepDue, 0.001);
        if (std::exchange(rig.svc.NewSong, false)) {  // the alarm started; the engine would take the request
            ++alarmsOnDay[now.day()];
            alarmAt = now.utc;
        }
        if (!rig.svc.SnoozeOn && (passed(1, 55) || passed(2, 55) || (alarmAt > 0 && now.utc >= alarmAt + 60))) {
            alarmAt = -1;
            rig.type("0");
            snoozeDue = now.utc + AlarmClock::kSnoozeLength * 86400;
            ++snoozes;
        }
        if (!rig.svc.SleepOn && passed(2, 45)) {
            rig.svc.ListMode = false;  // not the alarm's songs: "0" starts the sleep timer
            rig.type("0");
            rig.svc.ListMode = true;
            sleepDue = now.utc + AlarmClock::kSleepStep * AlarmClock::kFirstSleepSteps * 86400;
            ++sleeps;
        }
    }
    EXPECT_EQ(alarmsOnDay.size(), 31u);
    for (const auto& [day, starts] : alarmsOnDay) EXPECT_EQ(starts, 1) << "day " << day;
    EXPECT_TRUE(snoozes >= 31 * 3 - 2 && sleeps == 31) << snoozes << " snoozes, " << sleeps << " sleeps";
}
