// The clock tick's alarm, snooze and sleep sequences and the "0" key, on a fixed clock.
#include "core/alarm_clock.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>

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
    void writeAlarmList() { std::ofstream(svc.Mp3Path + "ALARM.m3u") << "a.mp3\r\nb.mp3\r\nc.mp3\r\n"; }
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

TEST(AlarmTimeMatch, TextOrASecondPassedSinceTheTickBefore) {
    const int t = 27000;
    const struct { const char* time; int now; std::optional<int> before; bool fires; } cases[] = {
        {"07:30:00", t, std::nullopt, true},
        {"07:30:00", t + 2, t - 1, true},    // the matching second was skipped
        {"07:30:00", t + 2, t, false},       // already seen by the tick before
        {"07:30:00", t + 3, t - 3, false},   // six seconds: no catch-up
        {"07:30:00", t + 2, std::nullopt, false},
        {"00:00:00", 1, 86398, true},        // across midnight
    };
    for (const auto& c : cases) EXPECT_EQ(timeMatches(c.time, c.now, c.before), c.fires) << c.time << " " << c.now;
    // Times that never occur stay silent whatever the ticks' spacing.
    for (const char* never : {"29:75:00", "07:60:00", "7:30:00", "07-30-00", "", "garbage!"}) {
        EXPECT_FALSE(secondOfDay(never)) << never;
        for (int gap : {1, 5})
            for (int s = 0; s < 86400; ++s) ASSERT_FALSE(timeMatches(never, s, (s + 86400 - gap) % 86400)) << s;
    }
}

TEST(Alarm, StartsOnceInItsSecondWithAndWithoutShuffleOrList) {
    for (const bool shuffle : {false, true})
        for (const bool listThere : {true, false}) {
            SCOPED_TRACE(testing::Message() << "shuffle " << shuffle << " list " << listThere);
            AlarmRig rig;
            if (listThere) rig.writeAlarmList();
            rig.svc.CustomSongs = {"old.mp3"};
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
            EXPECT_EQ(rig.svc.CustomCount, listThere ? 2 : 0);
            EXPECT_TRUE(rig.svc.ListMode && rig.svc.NewSong && rig.svc.PlayOn);
            EXPECT_TRUE(rig.gainIs(40));
            rig.main->Timer2_Timer();  // the engine starts the alarm song
            const char* expected = !listThere ? "old.mp3" : shuffle ? "c.mp3" : "a.mp3";  // Int(0.9*2+0.5)
            EXPECT_EQ(rig.lastOpened(), rig.svc.Mp3Path + expected);

            rig.tickAt(7, 31, 0);
            rig.tickAt(7, 30, 0);  // the next day
            EXPECT_EQ(rig.hides(), 2);
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
        rig.clock.seconds += 0.1;  // quick succession
        EXPECT_EQ(rig.svc.SleepOn, press < 13) << press;
    }
    EXPECT_TRUE(rig.gainIs(80));
}

TEST(ClockTick, TickArrivingMidSequenceReturnsAtOnce) {
    // The alarm falls due in the second the sleep timer ends; ticks delivered while the
    // sleep end lets events run must not start it early, so it plays after the sleep end.
    AlarmRig rig;
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
