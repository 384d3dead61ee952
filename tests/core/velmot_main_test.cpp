// The main screen's keys, from a key text typed into the program to what each key does.
#include "core/velmot_main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "core/key_input.h"
#include "core/main_keys.h"
#include "fakes/core_test_rig.h"
#include "fakes/wait_for.h"
#include "platform/type_key.h"

using namespace kelvorn;
using Press = std::pair<int, std::string>;  // the Qt key, and the key every screen reads

namespace {

struct KeyRecorder : QWidget {
    using QWidget::QWidget;
    std::vector<Press> presses;
    int releases = 0;
    void keyPressEvent(QKeyEvent* event) override { presses.emplace_back(event->key(), typedKey(event, {})); }
    void keyReleaseEvent(QKeyEvent*) override { ++releases; }
};

void press(QWidget* to, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(to, &event);
}

}  // namespace

TEST(TypeKey, TheFocusedWidgetOrElseTheActiveWindowReadsTheKey) {
    KeyRecorder window;
    auto* field = new KeyRecorder(&window);
    field->setFocusPolicy(Qt::StrongFocus);
    window.show();
    window.activateWindow();
    field->setFocus();
    ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == field; }, 2000));
    for (const QString& text : QStringList{"5", "q", "Q", "#", "", QString(QChar(0xC8))}) typeKey(text);
    EXPECT_EQ(field->presses, (std::vector<Press>{{Qt::Key_5, "5"}, {Qt::Key_Q, "q"}, {Qt::Key_Q, "Q"},
                                                  {Qt::Key_unknown, "#"}, {Qt::Key_unknown, "\xc8"}}));
    EXPECT_EQ(field->releases, 5);
    field->clearFocus();
    typeKey("c");  // no widget has the focus: the window gets the key
    EXPECT_EQ(window.presses, (std::vector<Press>{{Qt::Key_C, "c"}}));
}

TEST(MainKeys, TableOrderDecidesWhenKeysCoincideAndArrowsNeedNoModifiers) {
    KelvornSERVICE svc;
    svc.KeyDown = svc.KeyUp;  // the same character always moves up
    EXPECT_EQ(mainKeyFor("q", svc).action, MainAction::Up);
    EXPECT_EQ(mainKeyFor("\xC2\xB2", svc).action, MainAction::None);  // a two-byte character
    EXPECT_EQ(mainKeyFor("", svc).action, MainAction::None);
    svc = KelvornSERVICE();
    svc.KeyUp = "&x";
    EXPECT_EQ(typedKey(Qt::Key_Up, 0, "", svc), "&");
    EXPECT_EQ(typedKey(Qt::Key_Down, Qt::KeypadModifier, "", svc), "a");
    EXPECT_EQ(typedKey(Qt::Key_Down, Qt::ControlModifier, "", svc), "");
    CoreRig rig;  // and the screen's key events go through it
    press(rig.main.get(), Qt::Key_Up, Qt::ShiftModifier);
    press(rig.main.get(), Qt::Key_Up);
    EXPECT_EQ(rig.main->aktbutt(), 5);  // once, wrapping
    rig.svc.Scanning = true;            // keys that come while a scan runs are dropped
    press(rig.main.get(), Qt::Key_Down);
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
    EXPECT_TRUE(!rig.svc.ShuffleOn && writes == 2);
    rig.type("##1##");  // any other key starts the count again
    EXPECT_TRUE(rig.exits == 0 && blacks == 2);
    rig.type("#");
    EXPECT_EQ(rig.exits, 1);
}

TEST(MainScreen, SeekPreviousPlayStopResumeAndSkipAlsoShuffled) {
    CoreRig rig;
    rig.type("2");  // nothing ever played: stop/resume does nothing
    EXPECT_FALSE(rig.player.pauses || rig.player.plays || rig.svc.PlayOn);
    rig.player.setPositionValue(4);
    rig.type("8");
    rig.player.setPositionValue(25);
    rig.type("89");
    EXPECT_EQ(rig.player.seeks, (std::vector<double>{0, 15, 35}));
    rig.svc.SongPos = 0;
    rig.type("7");
    // Wrapping is the engine's business; previous does not start playback by itself.
    EXPECT_TRUE(rig.svc.SongPos == -1 && rig.svc.NewSong && !rig.svc.PlayOn);
    rig.setArchive({"a.mp3", "b.mp3", "c.mp3"});
    rig.svc.SongPos = 1;
    rig.type("1");  // play starts at the top
    EXPECT_EQ(rig.svc.SongPos, 0);
    rig.main->Timer2_Timer();
    rig.type("2");
    EXPECT_TRUE(!rig.svc.PlayOn && rig.player.playState() == MediaPlayer::Paused);
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
