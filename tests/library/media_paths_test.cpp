#include "library/media_paths.h"

#include "core/kelvorn_service.h"
#include "library_test_files.h"

namespace kelvorn {
namespace {

using test::pathIn;
using test::writeBytes;

class MusicFolderFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string work = dir.path().toStdString();
};

TEST_F(MusicFolderFile, MissingOrLinelessFileGivesTheUsersMusicFolder) {
    const std::string folder = defaultMusicFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(musicFolderFor(work), folder);
    writeBytes(pathIn(dir, "Mp3Path.kvx"), "");
    EXPECT_EQ(ReadMp3Path(work), folder);
}

TEST_F(MusicFolderFile, FirstLineIsARawPrefixFoundWithoutRegardToCase) {
    writeBytes(pathIn(dir, "mp3path.KVX"), "/srv/songs\r\n/other/\r\n");
    EXPECT_EQ(ReadMp3Path(work), "/srv/songs");  // no separator is added
}

TEST_F(MusicFolderFile, EmptyFirstLineGivesMusicInTheWorkingFolder) {
    writeBytes(pathIn(dir, "Mp3Path.kvx"), "\r\n/ignored/\r\n");
    EXPECT_EQ(ReadMp3Path(work), "");
    EXPECT_EQ(musicFolderFor(work), "music/");
    KelvornSERVICE svc;
    LoadVideoList(svc, work);
    EXPECT_EQ(svc.Mp3Path, "music/");
}

class VideoList : public MusicFolderFile {
protected:
    KelvornSERVICE svc;
};

TEST_F(VideoList, PairsOfLinesGiveNameAndFile) {
    writeBytes(pathIn(dir, "Video.kvx"), "First\r\n/v/one.avi\r\nSecond\r\nclips/two.mkv\r\n");
    LoadVideoList(svc, work);
    ASSERT_EQ(svc.VideoCount, 1);
    EXPECT_EQ(svc.VideoName[0], "First");
    EXPECT_EQ(svc.VideoFile[0], "/v/one.avi");
    EXPECT_EQ(svc.VideoName[1], "Second");
    EXPECT_EQ(svc.VideoFile[1], "clips/two.mkv");
}

TEST_F(VideoList, OddLineCountLeavesTheLastFileEmpty) {
    svc.VideoFile.assign(2, "stale");
    writeBytes(pathIn(dir, "video.KVX"), "One\r\n/v/1.avi\r\nTwo");
    LoadVideoList(svc, work);
    ASSERT_EQ(svc.VideoCount, 1);
    EXPECT_EQ(svc.VideoName[1], "Two");
    EXPECT_EQ(svc.VideoFile[1], "");
}

TEST_F(VideoList, PairsBeyondTheTableAreNotUsed) {
    std::string bytes;
    for (int i = 0; i < 205; ++i)
        bytes += "Video " + std::to_string(i) + "\r\n/v/" + std::to_string(i) + ".avi\r\n";
    writeBytes(pathIn(dir, "Video.kvx"), bytes);
    LoadVideoList(svc, work);
    EXPECT_EQ(svc.VideoCount, 200);
    EXPECT_LE(svc.VideoName.size(), static_cast<size_t>(kVideoSlots));
    EXPECT_LE(svc.VideoFile.size(), static_cast<size_t>(kVideoSlots));
    EXPECT_EQ(svc.VideoName[200], "Video 200");
    EXPECT_EQ(svc.VideoFile[200], "/v/200.avi");
}

TEST_F(VideoList, MissingFileOrFolderGivesNoVideos) {
    svc.VideoCount = 3;
    LoadVideoList(svc, work);
    EXPECT_EQ(svc.VideoCount, -1);
    svc.VideoCount = 3;
    LoadVideoList(svc, work + "/does-not-exist");
    EXPECT_EQ(svc.VideoCount, -1);
}

}  // namespace
}  // namespace kelvorn
