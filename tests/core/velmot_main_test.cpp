#include "core/velmot_main.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "core/key_input.h"
#include "core/main_keys.h"
#include "core/widgets.h"
#include "fakes/core_test_rig.h"

using namespace kelvorn;

TEST(MainKeys, TableOrderDecidesWhenKeysCoincideAndArrowsNeedNoModifiers) {
    KelvornSERVICE svc;
    svc.KeyDown = svc.KeyUp;  // the same character always moves up
    EXPECT_EQ(mainKeyFor("q", svc).action, MainAction::Up);
    svc.KeyOk = "5";  // shadows the digit
    EXPECT_EQ(mainKeyFor("5", svc).action, MainAction::Ok);
    svc.KeyUp = "2";
    EXPECT_EQ(mainKeyFor("2", svc).action, MainAction::Up);
    EXPECT_EQ(mainKeyFor("\xC2\xB2", svc).action, MainAction::None);  // a two-byte character
    EXPECT_EQ(mainKeyFor("", svc).action, MainAction::None);
    svc = KelvornSERVICE();
    svc.KeyUp = "&x";
    EXPECT_EQ(typedKey(Qt::Key_Up, 0, "", svc), "&");
    EXPECT_EQ(typedKey(Qt::Key_Down, Qt::KeypadModifier, "", svc), "a");
    EXPECT_EQ(typedKey(Qt::Key_Down, Qt::ControlModifier, "", svc), "");
    CoreRig rig;  // and the screen's key events go through it
    for (auto mods : {Qt::ShiftModifier, Qt::NoModifier}) {
        QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, mods);
        QCoreApplication::sendEvent(rig.main.get(), &up);
    }
    EXPECT_EQ(rig.main->aktbutt(), 5);  // once, wrapping
    rig.svc.Scanning = true;  // keys that come while a scan runs are dropped
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.main.get(), &down);
    EXPECT_EQ(rig.main->aktbutt(), 5);
}

TEST(MainScreen, ShuffleKeyTogglesAndSavesAndTheThirdBackInARowExits) {
    CoreRig rig;
    int writes = 0, blacks = 0;
    rig.main->settingsChanged = [&] { ++writes; };
    rig.main->showBlackScreen = [&] { ++blacks; };
    rig.type("a5");
    EXPECT_TRUE(rig.svc.ShuffleOn && rig.main->aktbutt() == 1);  // digits leave the highlight
    rig.type("5");
    EXPECT_FALSE(rig.svc.ShuffleOn);
    EXPECT_EQ(writes, 2);
    rig.type("##1##");  // any other key starts the count again
    EXPECT_EQ(rig.exits, 0);
    EXPECT_EQ(blacks, 2);
    rig.type("#");
    EXPECT_EQ(rig.exits, 1);
}

TEST(MainScreen, PlayStopResumeAndSkipAlsoShuffled) {
    CoreRig rig;
    rig.type("2");  // nothing ever played: stop/resume does nothing
    EXPECT_FALSE(rig.player.pauses || rig.player.plays || rig.svc.PlayOn);
    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    rig.svc.SongPos = 1;
    rig.type("1");  // play starts at the top
    EXPECT_EQ(rig.svc.SongPos, 0);
    rig.main->Timer2_Timer();
    rig.type("2");
    EXPECT_FALSE(rig.svc.PlayOn);
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Paused);
    rig.main->Timer2_Timer();
    EXPECT_EQ(rig.player.opens.size(), 1u);
    rig.type("2");
    EXPECT_EQ(rig.player.playState(), MediaPlayer::Playing);
    rig.type("c");  // while playing, play (here Ok on button 0) skips
    rig.main->Timer2_Timer();
    EXPECT_EQ(rig.lastOpened(), "/music/b.mp3");
    // Shuffled, a skip never draws the last entry; play draws from all of them.
    rig.svc.ShuffleOn = true;
    rig.random.values = {0.9};
    rig.type("1");
    EXPECT_EQ(rig.svc.SongPos, 1);  // Int(0.9 * 2)
    rig.svc.PlayOn = false;
    rig.type("1");
    EXPECT_EQ(rig.svc.SongPos, 2);  // Int(0.9 * 2 + 0.5)
}

TEST(MainScreen, SeekKeysAndPreviousSong) {
    CoreRig rig;
    rig.player.setPositionValue(4);
    rig.type("8");
    rig.player.setPositionValue(25);
    rig.type("89");
    EXPECT_EQ(rig.player.seeks, (std::vector<double>{0, 15, 35}));
    rig.svc.SongPos = 0;
    rig.type("7");
    // Wrapping is the engine's business; previous does not start playback by itself.
    EXPECT_TRUE(rig.svc.SongPos == -1 && rig.svc.NewSong && !rig.svc.PlayOn);
}

TEST(MainScreen, FadeInPacesItsStepsAndShowsTheMenu) {
    CoreRig rig;
    rig.main->FadeOut();
    EXPECT_FALSE(rig.main->MainButt[5]->isVisibleTo(rig.main.get()));
    rig.svc.GFXSpeed = 1;
    rig.main->FadeIn();
    EXPECT_EQ(rig.pump.passes, 26 * 301 + 4 * 10001 + 5 * 5001);
    for (auto* b : rig.main->MainButt) EXPECT_TRUE(b->isVisibleTo(rig.main.get()));
    rig.pump.passes = 0;
    rig.svc.GFXSpeed = -1;
    rig.main->FadeIn();
    EXPECT_EQ(rig.pump.passes, 0);
}
