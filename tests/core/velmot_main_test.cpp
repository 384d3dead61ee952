// SPDX-License-Identifier: GPL-3.0-or-later
// The main screen's keys and the playback engine they drive, on a fake player.
#include "core/velmot_main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <tuple>

#include "core/display_name.h"
#include "core/key_input.h"
#include "core/main_keys.h"
#include "fakes/core_test_rig.h"
#include "fakes/wait_for.h"

using namespace kelvorn;

namespace {

// A screen that notes the keys it is given.
struct KeyScreen : Screen {
    using Screen::Screen;
    std::string keys;
    void keyTyped(const std::string& key) override { keys += key; }
};

struct MainScreen : ::testing::Test {
    CoreRig rig;
    PlaybackEngine& engine = rig.main->engine();
    // Keys on the main screen, then one playback tick.
    void key(const std::string& keys) {
        rig.type(keys);
        engine.tick();
    }
};

}  // namespace

TEST_F(MainScreen, TableOrderDecidesWhenKeysCoincideArrowsNeedNoModifiersAndScansDropKeys) {
    KelvornSERVICE svc;
    EXPECT_EQ(typedKey(Qt::Key_Down, Qt::KeypadModifier, "", svc), "a");
    svc.KeyDown = svc.KeyUp;  // the same character always moves up
    EXPECT_EQ(mainKeyFor("q", svc).action, MainAction::Up);
    sendKey(rig.main.get(), Qt::Key_Up, Qt::ShiftModifier);
    sendKey(rig.main.get(), Qt::Key_Up);
    EXPECT_EQ(rig.main->aktbutt(), 5);  // once, wrapping
    rig.svc.Scanning = true;
    sendKey(rig.main.get(), Qt::Key_Down);
    EXPECT_EQ(rig.main->aktbutt(), 5);
}

TEST_F(MainScreen, ShuffleKeyTogglesAndSavesSeekKeysMoveTenSecondsAndTheThirdBackInARowExits) {
    int writes = 0, blacks = 0;
    QObject::connect(rig.main.get(), &VelmotMAIN::settingsChanged, [&] { ++writes; });
    QObject::connect(rig.main.get(), &VelmotMAIN::blackScreenWanted, [&] { ++blacks; });
    rig.type("a5");
    EXPECT_TRUE(rig.svc.ShuffleOn && rig.main->aktbutt() == 1);  // digits leave the highlight
    rig.type("5");
    EXPECT_TRUE(!rig.svc.ShuffleOn && writes == 2);
    rig.player.setPositionValue(4);
    rig.type("8");
    rig.player.setPositionValue(25);
    rig.type("89");
    EXPECT_EQ(rig.player.seeks, (std::vector<double>{0, 15, 35}));
    rig.type("##1##");  // any other key starts the count again
    EXPECT_TRUE(rig.exits == 0 && blacks == 2);
    rig.type("#");
    EXPECT_EQ(rig.exits, 1);
}

// The usual cut and split are checked on the main screen below ("A - One.mp3" shows "One" by "A").
TEST(DisplayName, CutNeverTakesTooMuch) {
    std::string tmp;
    cutDisplayName("/music/abc", 7, tmp);  // no extension: kept whole
    cutDisplayName("/mu", 7, tmp);         // shorter than the folder: the scratch text stays
    EXPECT_EQ(tmp, "abc");
}

// " - " splits the name; else the tags, else the top folder names the artist; tags show at once.
TEST_F(MainScreen, SongsAreNamedByTheirFileNameTagsOrFolder) {
    const std::tuple<const char*, SongTags, const char*> cases[] = {
        {"Band - Song.flac", {"T", "U", ""}, "Song by Band"},
        {"Intro.mp3", {"Tag Band", "Tag Title", ""}, "Tag Title by Tag Band"},
        {"Intro.mp3", {"", "Tag Title", ""}, "Tag Title by Intro"},
        {"Artist/Album/01 Intro.ogg", {}, "01 Intro by Artist"},
        {"Artist/Album/01 Intro.ogg", {"", "Tag Title", ""}, "Tag Title by Artist"},
        {"Artist/Album/01 X - Intro.ogg", {"T", "U", ""}, "Intro by 01 X"},
        {"/other/Folder/Song.mp3", {}, "Song by Folder"},
        {"Band-Song.mp3", {}, "Song by Band"}};
    const auto shown = [&] {
        return rig.main->shown(VelmotMAIN::Field::Song) + " by " + rig.main->shown(VelmotMAIN::Field::Artist);
    };
    for (const auto& [entry, tags, display] : cases) {
        rig.setArchive({entry});
        key("1");
        key("2");  // stopped, or the next "1" would skip
        rig.player.readTags(tags);
        EXPECT_EQ(shown().toStdString(), display) << entry;
        EXPECT_EQ(rig.lastOpened(), (entry[0] == '/' ? "" : "/music/") + std::string(entry));  // absolute stays
    }
    rig.setArchive({});
    rig.type("1");
    EXPECT_TRUE(rig.main->noticeVisible() && rig.main->shown(VelmotMAIN::Field::Notice) == kNoSongsFound);
}

// "1" plays from the top, or skips while playing; "7" goes back; "2" stops and resumes.
TEST_F(MainScreen, PlaySkipAndPreviousWrapBothWaysAndAnEndStartsTheNextSongAtOnce) {
    rig.setArchive({"A - One.mp3", "B - Two.mp3", "c.mp3"});
    rig.svc.SongPos = 1;
    key("1");
    EXPECT_TRUE(rig.lastOpened() == "/music/A - One.mp3" && rig.player.playState() == MediaPlayer::Playing);
    key("7");  // from the first entry
    EXPECT_EQ(rig.lastOpened(), "/music/c.mp3");
    key("1");  // from the last entry
    EXPECT_EQ(rig.lastOpened(), "/music/A - One.mp3");
    rig.player.pause();  // a pause is no end
    for (int i = 0; i < 5; ++i) engine.tick();
    key("2");
    EXPECT_TRUE(rig.svc.PlayOn && rig.player.playState() == MediaPlayer::Playing && rig.player.opens.size() == 3);
    rig.player.failOpen("/B - Two");
    const long passes = rig.pump.passes;
    key("1");  // the wait for a missing file ends early, and the next one plays in the same tick
    EXPECT_TRUE(rig.lastOpened() == "/music/c.mp3" && rig.pump.passes - passes < 10);
    rig.player.finishSong();  // past the last entry, without a playback tick (the rig's timers are off)
    EXPECT_TRUE(waitFor([&] { return rig.lastOpened() == "/music/A - One.mp3"; }, 2000));
    key("2");
    rig.player.finishSong();
    engine.tick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(!rig.svc.PlayOn && rig.player.opens.size() == 6);
    rig.svc.ShuffleOn = true;
    rig.random.values = {0.9};
    rig.type("1");
    EXPECT_EQ(rig.svc.SongPos, 2);  // a start draws Int(0.9 * 2 + 0.5)
    rig.type("1");
    EXPECT_EQ(rig.svc.SongPos, 1);  // a skip draws Int(0.9 * 2), never the last
}

// Slot 0 of an emptied list still holds a removed entry's text: nothing may open it.
TEST_F(MainScreen, EmptyListOpensNothingAndAWholePassOfFailuresIsReportedAndPaced) {
    int reports = 0;
    engine.nothingPlayable = [&] { ++reports; };
    rig.svc.CustomSongs = {"removed.mp3"};
    rig.svc.CustomCount = -1;
    rig.svc.ListMode = true;
    rig.player.open("/music/before.mp3");
    rig.player.play();
    key("1");  // the request ends what played before
    EXPECT_TRUE(rig.player.playState() == MediaPlayer::Stopped && rig.player.opens.size() == 1 && reports == 1);
    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    rig.svc.ListMode = false;
    rig.player.failOpen("/music/");
    key("1");       // a and b in this tick
    engine.tick();  // c
    EXPECT_TRUE(reports == 2 && rig.player.opens.size() == 4);
    // Then one try a second; STOP ends the trying.
    for (int i = 0; i < 9; ++i, rig.clock.advance(0.1)) engine.tick();
    EXPECT_EQ(rig.player.opens.size(), 4u);
    rig.clock.advance(0.2);
    engine.tick();
    EXPECT_EQ(rig.player.opens.size(), 5u);
    rig.type("2");
    EXPECT_FALSE(rig.svc.PlayOn);
}

// A request made by a key during the wait for a file to open is played after the wait.
TEST_F(MainScreen, KeysDuringTheOpenWaitAreSeenAfterIt) {
    rig.setArchive({"a.mp3", "b.mp3"});
    rig.player.failOpen("/a.mp3");
    rig.pump.onPass = [&] {
        engine.tick();
        rig.svc.NewSong = true;
        rig.svc.SongPos = 1;
    };
    key("1");
    rig.pump.onPass = nullptr;
    engine.tick();
    EXPECT_EQ(rig.lastOpened(), "/music/b.mp3");
}

// A file that never answers, or a song that stands still while playing, is given up after 5 s;
// a paused one is not; a request ends the wait at once.
TEST_F(MainScreen, SongsThatStopAnsweringAreGivenUpAfterFiveSeconds) {
    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    rig.player.hangOpen("/a.mp3");
    rig.player.hangOpen("/c.mp3");
    rig.pump.onPass = [&] { rig.clock.advance(0.01); };
    key("1");
    EXPECT_TRUE(rig.player.abandons == 1 && rig.lastOpened() == "/music/b.mp3");
    EXPECT_NEAR(rig.clock.utc, 5, 0.02);
    const auto ticksFor = [&](double seconds, bool moving) {
        for (double t = 0; t < seconds - 1e-6; t += 0.1) {
            rig.clock.advance(0.1);
            if (moving) rig.player.setPositionValue(rig.player.position() + 0.1);
            engine.tick();
        }
    };
    ticksFor(20, true);
    rig.type("2");  // paused
    ticksFor(20, false);
    rig.type("2");
    ticksFor(5, false);  // the first tick only begins to watch
    EXPECT_TRUE(rig.player.abandons == 1 && rig.player.playState() == MediaPlayer::Playing);
    int passes = 0;
    rig.pump.onPass = [&] {
        rig.clock.advance(0.01);
        if (++passes == 100) rig.type("7");  // one second into c's wait
    };
    ticksFor(0.1, false);  // b given up; c does not answer either
    EXPECT_EQ(rig.player.abandons, 2);
    EXPECT_EQ(passes, 100);
    EXPECT_EQ(rig.lastOpened(), "/music/c.mp3");
    engine.tick();
    EXPECT_TRUE(rig.player.abandons == 2 && rig.lastOpened() == "/music/b.mp3");
    passes = 0;
    rig.pump.onPass = [&] {
        if (++passes == 10) rig.type("2");  // STOP during c's wait ends it too
    };
    key("1");
    EXPECT_TRUE(passes == 10 && rig.player.abandons == 2 && !rig.svc.PlayOn);
}

// A remote press or a command (MPRIS) reaches the front screen, only silences the tone, and
// does nothing during a scan.
TEST_F(MainScreen, RemotePressesAndCommandsTakeTheGuardsOfTypedKeys) {
    KeyScreen front(&rig.stage, rig.services);
    front.showScreen();
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    rig.main->remoteKey("5");
    EXPECT_EQ(front.keys, "5");
    rig.setArchive({"a.mp3"});
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "07:00:00";
    const auto toneSounds = [&] {
        rig.clock.set(7, 0, 1);  // a second day's alarm too
        rig.clock.set(7, 0);
        rig.main->Timer1_Timer();  // the alarm: the archive stands in for a missing list
        for (int i = 0; i < 2; ++i) rig.main->alarmClock().nothingPlayable();  // then the tone
        return rig.tone.playState() == MediaPlayer::Playing;
    };
    ASSERT_TRUE(toneSounds());
    rig.main->remoteKey("6");
    EXPECT_TRUE(front.keys == "5" && rig.tone.playState() == MediaPlayer::Stopped);
    rig.main->remoteKey("6");
    EXPECT_EQ(front.keys, "56");
    ASSERT_TRUE(toneSounds());
    EXPECT_FALSE(rig.main->command(MainCommand::Shuffle));
    EXPECT_TRUE(rig.tone.playState() == MediaPlayer::Stopped && !rig.svc.ShuffleOn);
    rig.svc.Scanning = true;
    EXPECT_FALSE(rig.main->command(MainCommand::Shuffle));
    rig.svc.Scanning = false;
    EXPECT_TRUE(rig.main->command(MainCommand::Shuffle) && rig.svc.ShuffleOn);
}
