// SPDX-License-Identifier: GPL-3.0-or-later
// The clock tick's alarm, snooze and sleep sequences and the "0" key, on a fixed clock.
#include "core/alarm_clock.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <numeric>
#include <random>
#include <tuple>
#include <utility>

#include "core/black_screen.h"
#include "fakes/core_test_rig.h"
#include "library/playlists.h"

using namespace kelvorn;
using Calls = std::vector<std::string>;

namespace {

struct AlarmRig : CoreRig {
    QTemporaryDir music;
    RecordingNightScreens screens;

    AlarmRig() {
        svc.Mp3Path = music.path().toStdString() + "/";
        svc.GFXSpeed = -1;  // no fade steps
        svc.VolNormal = 80;
        svc.VolAlarm = 40;
        svc.VolSleep = 20;
        volume.addPlayer(&player);
        main->alarmClock().setScreens(&screens);
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
    // An alarm at 06:00 falls due.
    void soundAt6() {
        arm("06:00:00");
        tickAt(6, 0, 0);
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
    bool gainIs(double percent) const { return player.gain == waveChannelValue(percent) / 65535.0; }
};

}  // namespace

// A second passed counts if the tick before is at most 10 s old (midnight too); after a longer
// gap (a suspend) or a clock jump, if it passed at most an hour ago.
TEST(AlarmTime, FallsDueOnItsTextOrASecondPassedSinceTheTickBefore) {
    const auto at = [](double utc) { return ClockReading{utc, 0}; };
    EXPECT_TRUE(alarmFallsDue("07:30:00", at(27006), at(26996)));
    EXPECT_FALSE(alarmFallsDue("07:30:00", at(27006), at(27001)));
    EXPECT_TRUE(alarmFallsDue("00:00:00", at(86401), at(86398)));
    EXPECT_TRUE(alarmFallsDue("07:30:00", at(27006), at(26995)));                   // 11 s: a jump
    EXPECT_TRUE(alarmFallsDue("07:00:00", at(7 * 3600 + 1200), at(6 * 3600)));      // resumed at 07:20
    EXPECT_TRUE(alarmFallsDue("07:00:00", at(8 * 3600), at(6 * 3600)));             // at 08:00
    EXPECT_FALSE(alarmFallsDue("07:00:00", at(8 * 3600 + 1), at(6 * 3600)));        // at 08:00:01
    EXPECT_TRUE(alarmFallsDue("23:50:00", at(86400 + 600), at(86400 - 3600)));      // past midnight
    EXPECT_FALSE(alarmFallsDue("07:00:00", at(7 * 3600 - 1), at(7 * 3600 + 100)));  // the clock set back
}

// A machine suspended across the alarm time sounds it once at a resume within the hour.
TEST(Alarm, SuspendedAcrossItsTimeSoundsOnceAtAResumeWithinTheHour) {
    for (const auto& [h, m, sounds] : {std::tuple{7, 20, true}, std::tuple{8, 30, false}}) {
        AlarmRig rig;
        rig.alarmList({"a.mp3"});
        rig.arm("07:00:00");
        rig.tickAt(6, 50, 0);
        rig.tickAt(h, m, 0);
        EXPECT_EQ(std::exchange(rig.svc.NewSong, false), sounds) << h << ":" << m;
        rig.tickAt(h, m, 0.1);
        EXPECT_FALSE(rig.svc.NewSong);
    }
}

// A hand-edited alarm volume plays at most at 100 %.
TEST(Alarm, EndsTheSleepTimerAndPlaysTheAlarmListAtTheAlarmVolume) {
    AlarmRig rig;
    rig.alarmList({"a.mp3", "b.mp3", "c.mp3"});
    rig.svc.VolAlarm = 250;
    rig.arm("07:30:00");
    rig.clock.set(7, 0, 0);
    rig.type("0");
    rig.tickAt(7, 30, 0);
    EXPECT_TRUE(rig.screens.black.calls == Calls{"hide"} && !rig.svc.SleepOn && rig.gainIs(100));
    rig.main->Timer2_Timer();  // the engine starts the alarm song
    EXPECT_EQ(rig.lastOpened(), rig.svc.Mp3Path + "a.mp3");
}

// A missing, empty or unplayable alarm list gives the archive; an unplayable archive the tone.
TEST(Alarm, WithoutAPlayableListTheArchivePlaysAndWithoutThatATone) {
    enum List { Missing, Empty, Unplayable };
    for (const List list : {Missing, Empty, Unplayable})
        for (const bool archive : {true, false}) {
            SCOPED_TRACE(testing::Message() << "list " << list << " archive " << archive);
            AlarmRig rig;
            if (list == Empty) rig.write("ALARM.m3u");
            if (list == Unplayable) rig.alarmList({});
            for (const char* song : {"/a.mp3", "/b.mp3", "/c.mp3"}) rig.player.failOpen(song);
            rig.setArchive({"x.mp3", "y.mp3"});
            if (!archive) rig.player.failOpen(".mp3");
            rig.soundAt6();
            for (int i = 0; i < 3; ++i) rig.main->Timer2_Timer();
            EXPECT_TRUE(rig.gainIs(40));
            if (archive) {
                EXPECT_TRUE(rig.lastOpened() == rig.svc.Mp3Path + "x.mp3" &&
                            rig.player.playState() == MediaPlayer::Playing);
                rig.type("0");  // the archive stands in the alarm list's place: "0" snoozes
                EXPECT_TRUE(rig.svc.SnoozeOn);
                continue;
            }
            EXPECT_TRUE(rig.tone.tones == 1 && rig.tone.playState() == MediaPlayer::Playing && !rig.svc.PlayOn);
            // The first key silences it and goes no further: "0" starts no sleep timer.
            sendKey(rig.main.get(), Qt::Key_0, Qt::NoModifier, "0");
            EXPECT_TRUE(rig.tone.playState() == MediaPlayer::Stopped && !rig.svc.SleepOn);
            sendKey(rig.main.get(), Qt::Key_0, Qt::NoModifier, "0");  // the next one acts
            EXPECT_TRUE(rig.svc.SleepOn || rig.svc.SnoozeOn);
        }
}

// The archive standing in for another player's alarm list is saved as the archive's songs alone.
TEST(Alarm, TheArchiveInTheAlarmListsPlaceIsSavedWithoutTheListFilesLines) {
    AlarmRig rig;
    rig.write("ALARM.m3u", "#EXTM3U\r\n#EXTINF:1,X\r\nx.mp3\r\n");
    rig.player.failOpen("/x.mp3");
    rig.setArchive({"x.mp3", "y.mp3"});
    rig.soundAt6();
    for (int i = 0; i < 3; ++i) rig.main->Timer2_Timer();
    ASSERT_EQ(rig.lastOpened(), rig.svc.Mp3Path + "y.mp3");
    ASSERT_EQ(SavePlaylist(rig.svc, "Saved"), SaveResult::Saved);
    std::ifstream saved(rig.svc.Mp3Path + "Saved.m3u", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "x.mp3\r\ny.mp3\r\n");
}

// An alarm song that never answers holds up for 5 s; a list of them gives way after 10 s, then the archive.
TEST(Alarm, SongsThatNeverAnswerHoldTheAlarmUpForSecondsOnly) {
    for (const bool allHang : {false, true}) {
        SCOPED_TRACE(allHang ? "nothing answers" : "the first song does not answer");
        AlarmRig rig;
        rig.alarmList({});
        rig.setArchive({"x.mp3", "y.mp3"});
        rig.player.hangOpen(allHang ? ".mp3" : "/a.mp3");
        rig.pump.onPass = [&] { rig.clock.advance(0.01); };
        rig.soundAt6();
        const double alarmAt = rig.clock.utc;
        while (rig.player.playState() != MediaPlayer::Playing && rig.tone.tones == 0 && rig.clock.utc < alarmAt + 60) {
            rig.main->Timer2_Timer();
            rig.clock.advance(0.1);
        }
        if (allHang) {
            EXPECT_NEAR(rig.clock.utc - alarmAt, 20, 0.5);
            EXPECT_TRUE(rig.tone.playState() == MediaPlayer::Playing && rig.gainIs(40));
            EXPECT_EQ(std::count(rig.player.opens.begin(), rig.player.opens.end(), rig.svc.Mp3Path + "x.mp3"), 1);
        } else {
            EXPECT_NEAR(rig.clock.utc - alarmAt, 5, 0.5);
            EXPECT_EQ(rig.lastOpened(), rig.svc.Mp3Path + "b.mp3");
        }
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
    rig.tickAt(23, 58, 0);  // before midnight, a snooze that ends after it still runs
    EXPECT_TRUE(rig.svc.SnoozeOn);
    rig.tickAt(0, 5, 0);
    EXPECT_TRUE(!rig.svc.SnoozeOn && rig.svc.PlayOn && rig.player.playState() == MediaPlayer::Playing &&
                rig.gainIs(40));
    EXPECT_EQ(rig.screens.black.calls, (Calls{"show", "SNOOZE", "stopLines", "clear", "hide"}));
    rig.clock.set(6, 0, 0);
    rig.type("00");
    EXPECT_TRUE(!rig.svc.SnoozeOn && rig.svc.PlayOn && rig.player.playState() == MediaPlayer::Playing);
}

TEST(Sleep, ThirteenPressesCancelAndAFinishedTimerStopsEverything) {
    AlarmRig rig;
    rig.play();
    rig.svc.VideoPlaying = true;
    for (int press = 1; press <= 12; ++press, rig.clock.advance(0.1)) rig.type("0");  // quick succession
    EXPECT_TRUE(rig.svc.SleepOn && rig.gainIs(20));
    rig.type("0");
    EXPECT_TRUE(!rig.svc.SleepOn && rig.gainIs(80));
    rig.type("0");
    rig.clock.advance(2 * 3600 + 1);
    rig.main->Timer1_Timer();
    EXPECT_FALSE(rig.svc.SleepOn || rig.svc.PlayOn || rig.svc.VideoPlaying);
    EXPECT_TRUE(rig.screens.videoStops == 1 && rig.player.playState() == MediaPlayer::Stopped);
}

// Ticks delivered during the sleep end must not start the alarm inside it (it would be silenced).
TEST(ClockTick, TickArrivingMidSequenceReturnsAtOnce) {
    AlarmRig rig;
    rig.alarmList({"a.mp3"});
    rig.clock.set(23, 30, 0);
    rig.type("0");
    rig.arm("01:30:00");
    rig.pump.onPass = [&] { rig.main->Timer1_Timer(); };
    rig.tickAt(1, 30, 0);
    EXPECT_TRUE(rig.pump.passes > 0 && rig.svc.PlayOn && rig.gainIs(40));
    EXPECT_EQ(rig.screens.black.calls, (Calls{"show", "stopLines", "clear", "SLEEP", "hide"}));
}

// Ticks up to 5 s late for a month across summer time (02:00 day 10, back 03:00 day 20): the alarm
// (02:30) starts once a day; snoozes (01:55, 02:55) and sleep (02:45) end at the first tick after.
TEST(ClockTick, AMonthOfLateTicksAcrossBothDaylightSavingSwitches) {
    AlarmRig rig;
    rig.alarmList({"a.mp3"});
    rig.arm("02:30:00");
    rig.svc.ListName = "ALARM.m3u";
    rig.clock.utc = -3600;  // local midnight of day 0
    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> late(0.0, 5.0);
    std::vector<long long> alarmDays;  // the day of every alarm start
    double snoozeDue = 0, sleepDue = 0;
    int snoozes = 0, sleeps = 0;
    for (ClockReading before = rig.clock.read(); rig.clock.utc < 31 * 86400.0 - 3600; before = rig.clock.read()) {
        rig.clock.utc += 0.1 + late(random);
        rig.clock.offset = rig.clock.utc >= 10 * 86400.0 + 3600 && rig.clock.utc < 20 * 86400.0 + 3600 ? 7200 : 3600;
        const ClockReading now = rig.clock.read();
        const auto passed = [&](int h, int m) {  // since the tick before; twice where a switch back repeats it
            return before.secondsSinceMidnight() < h * 3600 + m * 60 && h * 3600 + m * 60 <= now.secondsSinceMidnight();
        };
        const bool snoozing = rig.svc.SnoozeOn, sleeping = rig.svc.SleepOn;
        rig.main->Timer1_Timer();
        // A timer that ended did so at this tick, and not already at the one before.
        EXPECT_TRUE(!snoozing || rig.svc.SnoozeOn || (now.utc >= snoozeDue - 0.5 && before.utc < snoozeDue + 0.5));
        EXPECT_TRUE(!sleeping || rig.svc.SleepOn || (now.utc >= sleepDue - 1e-3 && before.utc < sleepDue + 1e-3));
        if (std::exchange(rig.svc.NewSong, false)) alarmDays.push_back(now.day());
        // "0" snoozes while the alarm's songs play, else it starts the sleep timer.
        if (!rig.svc.SnoozeOn && (passed(1, 55) || passed(2, 55))) {
            rig.svc.ListMode = true;
            rig.type("0");
            snoozeDue = now.utc + AlarmClock::kSnoozeLength * 86400;
            ++snoozes;
        }
        if (!rig.svc.SleepOn && passed(2, 45)) {
            rig.svc.ListMode = false;
            rig.type("0");
            sleepDue = now.utc + AlarmClock::kSleepStep * AlarmClock::kFirstSleepSteps * 86400;
            ++sleeps;
        }
    }
    std::vector<long long> everyDay(31);
    std::iota(everyDay.begin(), everyDay.end(), 0);
    EXPECT_EQ(alarmDays, everyDay);
    // The spring day's 02:55 is skipped while its 01:55 snooze runs; the autumn day's comes twice.
    EXPECT_TRUE(snoozes == 31 * 2 && sleeps == 31) << snoozes << " snoozes, " << sleeps << " sleeps";
}
