#include "library/playlists.h"

#include <filesystem>

#include "library_test_files.h"

namespace kelvorn {
namespace {

using namespace test;

// A working folder whose music folder file points at music/ inside it.
class Playlists : public WorkFolder {
protected:
    std::string music = in("music") + "/";
    void SetUp() override {
        std::filesystem::create_directory(music);
        writeBytes(in("Mp3Path.kvx"), music + "\r\n");
        svc.Mp3Path = music;
    }
    void setCustom(Lines songs) {
        svc.CustomCount = static_cast<int16_t>(songs.size()) - 1;
        svc.CustomSongs = std::move(songs);
    }
    Lines custom() const { return upTo(svc.CustomSongs, svc.CustomCount); }
    Lines listed() {
        ListPlaylists(svc, work);
        return upTo(svc.PlaylistNames, svc.PlaylistCount);
    }
};

TEST_F(Playlists, SaveAndLoadRoundTrips) {
    setCustom({});
    ASSERT_EQ(SavePlaylist(svc, "Empty"), SaveResult::Saved);
    EXPECT_EQ(readBytes(music + "Empty.m3u"), "");
    setCustom({"x.mp3"});
    LoadPlaylist(svc, "Empty.m3u");
    EXPECT_EQ(svc.CustomCount, -1);

    // A line ended by LF alone (written on Linux), the last without a line end.
    writeBytes(music + "Three.m3u", "A - One.mp3\r\nb.mp3\n\xE9t\xE9.mp3");
    LoadPlaylist(svc, "Three.m3u");
    EXPECT_EQ(svc.ListName, "Three.m3u");
    EXPECT_EQ(custom(), (Lines{"A - One.mp3", "b.mp3", "\xE9t\xE9.mp3"}));

    // Saving under an existing name replaces it; the empty name writes ".m3u".
    setCustom({"z.mp3"});
    ASSERT_EQ(SavePlaylist(svc, "Three"), SaveResult::Saved);
    EXPECT_EQ(readBytes(music + "Three.m3u"), "z.mp3\r\n");
    ASSERT_EQ(SavePlaylist(svc, ""), SaveResult::Saved);
    EXPECT_EQ(readBytes(music + ".m3u"), "z.mp3\r\n");
    EXPECT_EQ(listed(), (Lines{".m3u", "Empty.m3u", "Three.m3u"}));
}

// Nothing is written for a name that cannot be a file name, nor for an empty list over
// a playlist holding songs (an empty list after a start would silence "ALARM").
TEST_F(Playlists, RefusedSavesWriteNothing) {
    writeBytes(music + "a.m3u", "old.mp3\r\n");
    setCustom({"new.mp3"});
    for (const std::string& name : Lines{"a/b", "x\ty", "a\x7f", std::string("a\0", 2), "../a"})
        EXPECT_EQ(SavePlaylist(svc, name), SaveResult::Failed) << name;
    setCustom({});
    EXPECT_EQ(SavePlaylist(svc, "a"), SaveResult::Kept);
    EXPECT_EQ(readBytes(music + "a.m3u"), "old.mp3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(music), {}), 1);  // no stray temp file
    writeBytes(music + "b.m3u", "");
    EXPECT_EQ(SavePlaylist(svc, "b"), SaveResult::Saved);  // an empty playlist may stay empty
    svc.Mp3Path = music + "away/";
    EXPECT_EQ(SavePlaylist(svc, "c"), SaveResult::Failed);
}

TEST_F(Playlists, LinesBeyondTheReachableEntriesSurviveLoadAndSaveUntilTheNextLoad) {
    const std::string bytes = numberedLines(70000);
    writeBytes(music + "Long.m3u", bytes);
    LoadPlaylist(svc, "Long.m3u");
    EXPECT_EQ(svc.CustomCount, 32767);
    ASSERT_EQ(SavePlaylist(svc, "Copy"), SaveResult::Saved);
    EXPECT_EQ(readBytes(music + "Copy.m3u"), bytes);
    writeBytes(music + "Short.m3u", "one.mp3\r\n");
    LoadPlaylist(svc, "Short.m3u");
    ASSERT_EQ(SavePlaylist(svc, "Copy"), SaveResult::Saved);
    EXPECT_EQ(readBytes(music + "Copy.m3u"), "one.mp3\r\n");
}

TEST_F(Playlists, ListingOrderIsUpperCasedCharacterCodesAndAMissingFileKeepsTheOldEntries) {
    for (const char* name : {"mix2.m3u", "_x.m3u", "Mix.m3u", "ALARM.m3u", "b.M3U", "song.mp3"})
        writeBytes(music + name, "");
    std::filesystem::create_directory(music + "dir.m3u");
    EXPECT_EQ(listed(), (Lines{"ALARM.m3u", "b.M3U", "Mix.m3u", "mix2.m3u", "_x.m3u"}));

    setCustom({"one.mp3", "two.mp3"});
    LoadPlaylist(svc, "Deleted.m3u");
    EXPECT_EQ(svc.ListName, "Deleted.m3u");
    EXPECT_EQ(svc.CustomCount, 0);
    EXPECT_EQ(svc.CustomSongs, (Lines{"one.mp3", "two.mp3"}));
}

}  // namespace
}  // namespace kelvorn
