// The video list, its playback loop on the video screen, the intro and the sleep end's
// video steps, on the fake players and the counting pump.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "lists/video_form.h"
#include "lists/video_list_form.h"

using namespace kelvorn;

namespace {

using Names = std::vector<std::string>;

// The video screen and the video list over `videos` entries "Video i" / "clips/vi.mp4",
// with or without a video player.
struct VideoRig : CoreRig {
    VideoForm* form;  // owned by the stage, as on the real one
    VideoListForm* list;
    int activations = 0;

    explicit VideoRig(int videos, bool withPlayer = true) {
        if (!withPlayer) services.VideoPlayer = nullptr;
        svc.GFXSpeed = -1;  // no build-up steps when the sleep end shows the main screen
        for (int i = 0; i < videos; ++i) {
            storeEntry(svc.VideoName, i, "Video " + std::to_string(i), kVideoSlots);
            storeEntry(svc.VideoFile, i, file(i), kVideoSlots);
        }
        svc.VideoCount = static_cast<int16_t>(videos - 1);
        form = new VideoForm(&stage, services);
        list = new VideoListForm(&stage, services, *transitions, *form);
        main->activateWindow = [this] { ++activations; };
        main->alarmClock().stopVideo = [this] { stopVideoForSleep(services, *form); };
    }
    static std::string file(int i) { return "clips/v" + std::to_string(i) + ".mp4"; }
    void keys(const std::string& typed) {
        for (char c : typed) list->keyTyped(std::string(1, c));
    }
    // Runs `step` on every pass made while a video plays; a loop that never ends fails.
    void whilePlaying(std::function<void()> step) {
        pump.onPass = [this, step] {
            if (pump.passes > 2'000'000) {
                svc.VideoPlaying = false;
                ADD_FAILURE() << "the video loop did not end";
            } else if (video.playState() == MediaPlayer::Playing) {
                step();
            }
        };
    }
    // The state every ended loop leaves.
    void expectLoopEnded() const {
        EXPECT_FALSE(svc.VideoPlaying || svc.VideoMode || !form->isHidden());
        EXPECT_EQ(video.playState(), MediaPlayer::Stopped);
    }
};

}  // namespace

TEST(VideoList, PlaysFromTheChosenVideoOnWrappingToTheFirst) {
    VideoRig rig(3);
    rig.whilePlaying([&] {
        EXPECT_FALSE(rig.form->isHidden());
        rig.main->Timer3_Timer();  // the window stays where it is while a video runs
        if (rig.video.opens.size() == 4) rig.form->keyTyped("#");
        else rig.video.finishSong();
    });
    rig.keys("aac");
    EXPECT_EQ(rig.video.opens, (Names{VideoRig::file(2), VideoRig::file(0), VideoRig::file(1), VideoRig::file(2)}));
    EXPECT_EQ(rig.activations, 0);
    rig.expectLoopEnded();
    EXPECT_EQ(rig.list->lineBackground(2), kHighlightBack);  // the list is back as it was
    rig.main->Timer3_Timer();
    EXPECT_EQ(rig.activations, 1);
}

TEST(VideoList, HighlightStopsOnTheLastVideoAndOnlySelectOnAFilledLinePlays) {
    VideoRig rig(13);
    ListBrowser& list = *rig.list;
    for (const std::string& keys : {std::string(20, 'a'), "3" + std::string(9, 'q') + "8" + std::string(8, 'a')}) {
        rig.keys(keys);  // down from the top; from the top line a page down, then down
        EXPECT_EQ(list.AktListPos + list.aktbutt, 12) << keys;
    }
    rig.keys("x");  // second select by key or right click, a click past the last video
    emit list.ListLine[1]->rightClicked();
    emit list.ListLine[5]->clicked();
    VideoRig none(0);
    none.keys("acx");
    EXPECT_EQ(none.list->aktbutt, 0);
    for (VideoRig* r : {&rig, &none}) EXPECT_TRUE(r->pump.passes == 0 && r->video.opens.empty());  // no flash
}

TEST(VideoList, LoopEndsOnBackLeavingFullScreenOrTheSleepEnd) {
    const std::pair<const char*, std::function<void(VideoRig&)>> ways[] = {
        {"back key", [](VideoRig& r) { r.form->keyTyped("#"); }},
        {"back key on the picture", [](VideoRig& r) { r.video.pressKey('#'); }},
        {"escape", [](VideoRig& r) { QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, "\x1b");
                                     QCoreApplication::sendEvent(r.form, &esc); }},
        {"display size", [](VideoRig& r) { r.video.setDisplaySize(MediaPlayer::DefaultSize); }},
        {"sleep end", [](VideoRig& r) { r.clock.set(1, 30, 0); r.main->Timer1_Timer(); }},
    };
    for (const auto& [name, stop] : ways) {
        SCOPED_TRACE(name);
        VideoRig rig(2);
        rig.clock.set(23, 30, 0);
        rig.type("0");  // a sleep timer of about two hours runs
        int playing = 0;
        rig.whilePlaying([&] {
            if (++playing == 10) rig.keys("c");  // no second loop inside the first
            if (playing == 20) rig.form->keyTyped("c");  // other keys change nothing
            if (playing == 50) stop(rig);
        });
        rig.keys("c");
        EXPECT_TRUE(playing == 50 || playing == 51) << playing;  // at the latest one pass later
        EXPECT_EQ(rig.video.opens, Names{VideoRig::file(0)});
        rig.expectLoopEnded();
        EXPECT_EQ(rig.svc.SleepOn, std::string(name) != "sleep end");
    }
}

// Nothing opens (a name without a file is passed over): the loop keeps serving keys
// without opening file after file.
TEST(VideoList, WhenNoVideoOpensTheLoopStillEndsOnBackWithoutAPassStorm) {
    VideoRig broken(3);
    broken.video.failOpen("clips/");
    storeEntry(broken.svc.VideoFile, 1, "", kVideoSlots);
    broken.pump.onPass = [&] { if (broken.pump.passes == 300'000) broken.form->keyTyped("#"); };
    broken.keys("aac");
    const Names& opens = broken.video.opens;
    ASSERT_GE(opens.size(), 3u);
    for (size_t i = 0; i < opens.size(); ++i) EXPECT_EQ(opens[i], VideoRig::file(i % 2 == 0 ? 2 : 0)) << i;
    EXPECT_GE(broken.pump.passes / static_cast<long>(opens.size()), 1000);
    broken.expectLoopEnded();
}

// The intro plays to its end, or gives up at once when it does not open; without a
// player nothing plays at all, neither the intro nor the list.
TEST(VideoScreen, IntroPlaysToItsEndOrGivesUpAndWithoutAPlayerNothingPlays) {
    enum Case { Plays, Fails, NoPlayer };
    for (Case c : {Plays, Fails, NoPlayer}) {
        VideoRig rig(2, c != NoPlayer);
        if (c == Fails) rig.video.failOpen("intro");
        rig.whilePlaying([&] { if (rig.pump.passes == 100) rig.video.finishSong(); });
        playIntroVideo(rig.services, *rig.form, "intro.avi");
        EXPECT_TRUE(rig.form->isHidden()) << c;
        EXPECT_EQ(rig.video.plays, c == Plays ? 1 : 0) << c;
        EXPECT_EQ(rig.pump.passes >= 100, c == Plays) << c;  // a failure ends the wait at once
        if (c != NoPlayer) continue;
        rig.keys("c");  // the flash only
        stopVideoForSleep(rig.services, *rig.form);
        EXPECT_TRUE(rig.video.opens.empty());
        rig.expectLoopEnded();
    }
}
