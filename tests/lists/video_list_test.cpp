// The video list, its playback loop on the video screen, the intro and the sleep end's
// video steps, on the fake players and the counting pump.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "lists/video_form.h"
#include "lists/video_list_form.h"

using namespace kelvorn;

namespace {

using Names = std::vector<std::string>;

// The video screen and the video list over `videos` entries "Video i" / "clips/vi.mp4".
struct VideoRig : CoreRig {
    VideoForm* form;  // owned by the stage, as on the real one
    VideoListForm* list;
    int activations = 0;

    explicit VideoRig(int videos) {
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
        EXPECT_FALSE(svc.VideoPlaying || svc.VideoMode);
        EXPECT_TRUE(form->isHidden());
        EXPECT_EQ(video.playState(), MediaPlayer::Stopped);
    }
};

void keys(ListBrowser& list, const std::string& typed) {
    for (char c : typed) list.keyTyped(std::string(1, c));
}

}  // namespace

TEST(VideoList, PlaysFromTheChosenVideoOnWrappingToTheFirst) {
    VideoRig rig(3);
    keys(*rig.list, "aa");
    int playingPasses = 0;
    rig.whilePlaying([&] {
        ++playingPasses;
        EXPECT_FALSE(rig.form->isHidden());
        rig.main->Timer3_Timer();  // the window stays where it is while a video runs
        if (rig.video.opens.size() == 4) rig.form->keyTyped("#");
        else rig.video.finishSong();
    });
    keys(*rig.list, "c");

    EXPECT_EQ(rig.video.opens, (Names{VideoRig::file(2), VideoRig::file(0), VideoRig::file(1), VideoRig::file(2)}));
    EXPECT_EQ(rig.video.plays, 4);
    EXPECT_EQ(rig.list->VideoPos, 2);
    EXPECT_EQ(rig.video.displaySize(), MediaPlayer::FullScreen);
    EXPECT_GT(playingPasses, 0);
    EXPECT_EQ(rig.activations, 0);
    rig.expectLoopEnded();
    EXPECT_TRUE(rig.player.opens.empty());  // the song player is not touched
    // The list is back as it was: highlight on the chosen line, colours restored.
    EXPECT_EQ(rig.list->aktbutt, 2);
    EXPECT_EQ(rig.list->lineBackground(2), kHighlightBack);
    EXPECT_EQ(rig.list->lineBackground(0), kLineBack);

    rig.main->Timer3_Timer();
    EXPECT_EQ(rig.activations, 1);
}

TEST(VideoList, SecondSelectEmptyLinesAndAnEmptyListDoNothing) {
    VideoRig rig(3);
    keys(*rig.list, "x");
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(4, 4), rig.list->ListLine[1]->mapToGlobal(QPointF(4, 4)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.list->ListLine[1], &right);
    emit rig.list->ListLine[5]->clicked();  // past the last video
    EXPECT_EQ(rig.pump.passes, 0);  // not even the flash
    EXPECT_TRUE(rig.video.opens.empty());
    EXPECT_EQ(rig.list->lineBackground(0), kHighlightBack);
    EXPECT_EQ(rig.list->lineBackground(1), kLineBack);
    EXPECT_FALSE(rig.svc.VideoMode);

    VideoRig none(0);
    EXPECT_EQ(none.svc.VideoCount, -1);
    keys(*none.list, "acx");
    EXPECT_EQ(none.list->aktbutt, 0);
    EXPECT_EQ(none.pump.passes, 0);
    EXPECT_TRUE(none.video.opens.empty());
    for (auto* line : none.list->ListLine) EXPECT_TRUE(line->text().isEmpty());
}

TEST(VideoList, HighlightStopsOnTheLastVideoAlsoAfterPaging) {
    VideoRig rig(13);  // count 12
    ListBrowser& list = *rig.list;
    auto onLast = [&] {
        return list.AktListPos + list.aktbutt == rig.svc.VideoCount &&
               list.ListLine[static_cast<size_t>(list.aktbutt)]->text() == "Video 12";
    };
    keys(list, std::string(20, 'a'));
    EXPECT_TRUE(onLast()) << list.AktListPos << "+" << list.aktbutt;
    keys(list, "3" + std::string(9, 'q') + "8");  // top line, then a page down
    EXPECT_EQ(list.AktListPos, 10);
    keys(list, std::string(8, 'a'));
    EXPECT_TRUE(onLast()) << list.AktListPos << "+" << list.aktbutt;

    VideoRig three(3);
    keys(*three.list, "aaaaa");
    EXPECT_EQ(three.list->aktbutt, 2);
}

TEST(VideoList, LoopEndsOnBackLeavingFullScreenOrTheSleepEnd) {
    struct Way {
        const char* name;
        std::function<void(VideoRig&)> stop;
    };
    const Way ways[] = {
        {"back key", [](VideoRig& r) { r.form->keyTyped("#"); }},
        {"back key on the picture", [](VideoRig& r) { r.video.pressKey('#'); }},
        {"escape",
         [](VideoRig& r) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
             QCoreApplication::sendEvent(r.form, &esc);
         }},
        {"display size", [](VideoRig& r) { r.video.setDisplaySize(MediaPlayer::DefaultSize); }},
        {"sleep end",
         [](VideoRig& r) {
             r.clock.set(1, 30, 0);
             r.main->Timer1_Timer();
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        VideoRig rig(2);
        rig.clock.set(23, 30, 0);
        rig.type("0");  // a sleep timer of about two hours runs
        ASSERT_TRUE(rig.svc.SleepOn);
        int playing = 0;
        rig.whilePlaying([&] {
            ++playing;
            if (playing == 10) keys(*rig.list, "c");  // no second loop inside the first
            if (playing == 20) rig.form->keyTyped("c");  // other keys change nothing
            if (playing == 50) way.stop(rig);
        });
        keys(*rig.list, "c");
        EXPECT_TRUE(playing == 50 || playing == 51) << playing;  // at the latest one pass later
        EXPECT_EQ(rig.video.opens, Names{VideoRig::file(0)});
        rig.expectLoopEnded();
        if (std::string(way.name) == "sleep end") {
            EXPECT_FALSE(rig.svc.SleepOn);
            EXPECT_EQ(rig.video.displaySize(), MediaPlayer::DefaultSize);
        }
    }
}

TEST(VideoList, VideosThatDoNotOpenAreSkippedAtAnEvenPace) {
    VideoRig rig(4);
    rig.video.failOpen("v1");
    storeEntry(rig.svc.VideoFile, 2, "", kVideoSlots);  // a name without a file
    rig.whilePlaying([&] {
        if (rig.video.plays == 3) rig.form->keyTyped("#");
        else rig.video.finishSong();
    });
    keys(*rig.list, "c");
    EXPECT_EQ(rig.video.opens, (Names{VideoRig::file(0), VideoRig::file(1), VideoRig::file(3), VideoRig::file(0)}));
    rig.expectLoopEnded();

    // Nothing opens at all: the loop keeps serving keys without opening file after file.
    VideoRig broken(3);
    broken.video.failOpen("clips/");
    storeEntry(broken.svc.VideoFile, 1, "", kVideoSlots);
    broken.pump.onPass = [&] {
        if (broken.pump.passes == 300'000) broken.form->keyTyped("#");
    };
    keys(*broken.list, "aac");
    const Names& opens = broken.video.opens;
    ASSERT_GE(opens.size(), 3u);
    for (size_t i = 0; i < opens.size(); ++i) EXPECT_EQ(opens[i], VideoRig::file(i % 2 == 0 ? 2 : 0)) << i;
    EXPECT_GE(broken.pump.passes / static_cast<long>(opens.size()), 1000);
    EXPECT_EQ(broken.video.plays, 0);
    broken.expectLoopEnded();
}

TEST(VideoScreen, IntroPlaysToItsEndOrGivesUp) {
    VideoRig rig(0);
    rig.whilePlaying([&] {
        EXPECT_FALSE(rig.form->isHidden());
        if (rig.pump.passes == 100) rig.video.finishSong();
    });
    playIntroVideo(rig.services, *rig.form, "intro.avi");
    EXPECT_EQ(rig.video.opens, Names{"intro.avi"});
    EXPECT_EQ(rig.video.plays, 1);
    EXPECT_EQ(rig.pump.passes, 100);
    EXPECT_EQ(rig.video.displaySize(), MediaPlayer::FullScreen);
    EXPECT_TRUE(rig.form->isHidden());

    VideoRig failing(0);
    failing.video.failOpen("intro");
    playIntroVideo(failing.services, *failing.form, "intro.avi");
    EXPECT_EQ(failing.video.plays, 0);
    EXPECT_LT(failing.pump.passes, 10);  // the failure ends the wait
    EXPECT_TRUE(failing.form->isHidden());
}

TEST(VideoScreen, WithoutAVideoPlayerNothingPlays) {
    VideoRig rig(2);
    rig.services.VideoPlayer = nullptr;
    VideoForm form(&rig.stage, rig.services);
    VideoListForm list(&rig.stage, rig.services, *rig.transitions, form);
    EXPECT_EQ(form.picture(), nullptr);
    playIntroVideo(rig.services, form, "intro.avi");
    keys(list, "c");  // the flash only
    form.keyTyped("\x1b");
    stopVideoForSleep(rig.services, form);
    EXPECT_TRUE(rig.video.opens.empty());
    EXPECT_FALSE(rig.svc.VideoMode || rig.svc.VideoPlaying);
    EXPECT_TRUE(form.isHidden());
}
