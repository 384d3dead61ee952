#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "core/widgets.h"
#include "fakes/core_test_rig.h"
#include "library/playlists.h"
#include "lists/play_list.h"

using namespace kelvorn;

namespace {

// A working folder whose music folder file points at its music/ folder, and the
// playlist screen over it.
struct PlayRig : CoreRig {
    QTemporaryDir dir;
    std::string music = dir.path().toStdString() + "/music/";
    PlayList* list = nullptr;  // owned by the stage

    explicit PlayRig(std::initializer_list<std::pair<const char*, const char*>> playlists) {
        std::filesystem::create_directory(music);
        std::ofstream(dir.path().toStdString() + "/Mp3Path.kvx") << music << "\r\n";
        for (const auto& [name, bytes] : playlists) std::ofstream(music + name) << bytes;
        services.workDir = dir.path().toStdString();
        list = new PlayList(&stage, services, *transitions);
    }
    std::string line(int i) const { return list->ListLine[static_cast<size_t>(i)]->text().toStdString(); }
};

}  // namespace

TEST(PlayList, EmptyFolderListsNothingAndActivationDoesNothing) {
    PlayRig rig({});
    for (const char* key : {"a", "c"}) rig.list->keyTyped(key);
    emit rig.list->ListLine[0]->rightClicked();
    EXPECT_EQ(rig.svc.PlaylistCount, -1);
    EXPECT_FALSE(rig.pump.passes || rig.svc.PlayOn || rig.svc.NewSong || rig.svc.ListMode);
    EXPECT_EQ(rig.svc.ListName, "");
}

TEST(PlayList, ClicksAndKeysLoadAndPlayFromTheFirstEntryAndFadeInListsNewPlaylists) {
    PlayRig rig({{"Party.m3u", "p1.mp3\r\np2.mp3\r\n"}, {"ALARM.m3u", "a1.mp3\r\n"}});
    EXPECT_EQ(rig.line(0) + "," + rig.line(1), "ALARM,Party");
    for (bool right : {false, true}) {
        rig.svc.SongPos = 7;
        rig.svc.ListMode = rig.svc.NewSong = rig.svc.PlayOn = false;
        if (right) emit rig.list->ListLine[1]->rightClicked();
        else emit rig.list->ListLine[1]->clicked();
        EXPECT_EQ(rig.svc.ListName, "Party.m3u") << right;
        EXPECT_EQ(entryAt(rig.svc.CustomSongs, 1), "p2.mp3") << right;
        EXPECT_TRUE(rig.svc.CustomCount == 1 && rig.svc.SongPos == 0) << right;
        EXPECT_TRUE(rig.svc.ListMode && rig.svc.NewSong && rig.svc.PlayOn) << right;
    }
    // Down stops on the last playlist; the select key loads the highlighted one.
    for (const char* key : {"a", "a", "a", "q", "x", "a"}) rig.list->keyTyped(key);
    EXPECT_EQ(rig.svc.ListName, "ALARM.m3u");
    ASSERT_EQ(SavePlaylist(rig.svc, "B"), SaveResult::Saved);
    rig.list->FadeIn();
    EXPECT_EQ(rig.line(0) + "," + rig.line(1) + "," + rig.line(2), "ALARM,B,Party");
    EXPECT_EQ(rig.list->aktbutt, 1);  // the highlight is not reset
}
