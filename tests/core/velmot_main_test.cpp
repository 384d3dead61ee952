#include "core/velmot_main.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "core/key_input.h"
#include "core/main_keys.h"
#include "core/widgets.h"
#include "fakes/core_test_rig.h"

using namespace kelvorn;

TEST(MainKeys, TableOrderDecidesWhenKeysCoincide) {
    KelvornSERVICE svc;
    svc.KeyDown = svc.KeyUp;  // the same character always moves up
    EXPECT_EQ(mainKeyFor("q", svc).action, MainAction::Up);
    svc.KeyOk = "5";  // shadows the digit
    EXPECT_EQ(mainKeyFor("5", svc).action, MainAction::Ok);
    svc.KeyUp = "2";
    EXPECT_EQ(mainKeyFor("2", svc).action, MainAction::Up);
    EXPECT_EQ(mainKeyFor("6", svc).button, 5);
    EXPECT_EQ(mainKeyFor("²", svc).action, MainAction::None);
    EXPECT_EQ(mainKeyFor("", svc).action, MainAction::None);
}

TEST(MainKeys, ArrowsBecomeTheMoveKeysOnlyWithoutModifiers) {
    KelvornSERVICE svc;
    svc.KeyUp = "&x";
    EXPECT_EQ(typedKey(Qt::Key_Up, 0, "", svc), "&");
    EXPECT_EQ(typedKey(Qt::Key_Down, Qt::KeypadModifier, "", svc), "a");
    EXPECT_EQ(typedKey(Qt::Key_Down, Qt::ControlModifier, "", svc), "");
    CoreRig rig;  // and the screen's key events go through it
    for (auto mods : {Qt::ShiftModifier, Qt::NoModifier}) {
        QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, mods);
        QCoreApplication::sendEvent(rig.main.get(), &up);
    }
    EXPECT_EQ(rig.main->aktbutt(), 5);
}

TEST(MainScreen, HighlightWrapsAndDigitsLeaveItWhileTheyAct) {
    CoreRig rig;
    int writes = 0;
    rig.main->settingsChanged = [&] { ++writes; };
    rig.type("q");
    EXPECT_EQ(rig.main->aktbutt(), 5);
    rig.type("aa5");  // "5" toggles shuffle, shows it and has it saved
    EXPECT_EQ(rig.main->aktbutt(), 1);
    EXPECT_EQ(rig.main->MainButt[1]->palette().color(QPalette::Window), QColor(0xFF, 0x80, 0x00));
    EXPECT_EQ(rig.main->MainButt[0]->palette().color(QPalette::Window), QColor(0x00, 0x00, 0xC0));
    EXPECT_EQ(rig.main->ShuffleStatus->text(), "SHUFFLE");
    rig.type("5");
    EXPECT_FALSE(rig.svc.ShuffleOn);
    EXPECT_EQ(rig.main->ShuffleStatus->text(), "");
    EXPECT_EQ(writes, 2);
}

TEST(MainScreen, ThirdBackInARowExits) {
    CoreRig rig;
    int blacks = 0;
    rig.main->showBlackScreen = [&] { ++blacks; };
    rig.type("##1##");  // any other key starts the count again
    EXPECT_EQ(rig.exits, 0);
    EXPECT_EQ(blacks, 2);
    rig.type("#");
    EXPECT_EQ(rig.exits, 1);
}

TEST(MainScreen, PlayStopAndResume) {
    CoreRig rig;
    rig.type("2");  // nothing ever played: stop/resume does nothing
    EXPECT_EQ(rig.player.pauses + rig.player.plays, 0);
    EXPECT_FALSE(rig.svc.PlayOn);

    rig.setArchive({"a.mp3", "b.mp3"});
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
}

TEST(MainScreen, ShufflePlayAndSkipDraws) {
    CoreRig rig;
    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    rig.svc.ShuffleOn = true;
    rig.random.values = {0.9, 0.9};
    rig.type("1");
    EXPECT_EQ(rig.svc.SongPos, 2);  // Int(0.9 * 2 + 0.5)
    rig.type("1");
    EXPECT_EQ(rig.svc.SongPos, 1);  // Int(0.9 * 2)
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
    EXPECT_EQ(rig.svc.SongPos, -1);
    EXPECT_TRUE(rig.svc.NewSong);
    EXPECT_FALSE(rig.svc.PlayOn);  // previous does not start playback by itself
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
