#include "library/media_paths.h"

#include "library_test_files.h"

using namespace kelvorn;
using test::writeBytes;

TEST(MusicFolderFile, FirstLineIsARawPrefixElseADefault) {
    const std::string home = defaultMusicFolder();
    ASSERT_TRUE(!home.empty() && home.back() == '/') << home;
    const struct { const char* name; const char* bytes; std::string firstLine, folder; } cases[] = {
        {nullptr, nullptr, home, home},  // no file
        {"Mp3Path.kvx", "", home, home},  // no line
        {"mp3path.KVX", "/srv/songs\r\n/other/\r\n", "/srv/songs", "/srv/songs"},  // no separator is added
        {"Mp3Path.kvx", "\r\n/ignored/\r\n", "", "music/"},  // empty line: music in the working folder
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const std::string work = dir.path().toStdString();
        if (c.name) writeBytes(work + "/" + c.name, c.bytes);
        EXPECT_EQ(ReadMp3Path(work), c.firstLine) << c.bytes;
        EXPECT_EQ(musicFolderFor(work), c.folder) << c.bytes;
        KelvornSERVICE svc;
        LoadVideoList(svc, work);
        EXPECT_EQ(svc.Mp3Path, c.folder) << c.bytes;
    }
}

TEST(VideoList, PairsOfLinesGiveNameAndFile) {
    std::string many;
    for (int i = 0; i < 205; ++i) many += "Video " + std::to_string(i) + "\r\n/v/" + std::to_string(i) + ".avi\r\n";
    const struct { const char* name; std::string bytes; int count; std::string lastName, lastFile; } cases[] = {
        {"Video.kvx", "First\r\n/v/one.avi\r\nSecond\r\nclips/two.mkv\r\n", 1, "Second", "clips/two.mkv"},
        {"video.KVX", "One\r\n/v/1.avi\r\nTwo", 1, "Two", ""},  // odd line count: the last file is empty
        {"Video.kvx", many, 200, "Video 200", "/v/200.avi"},  // pairs beyond the table are not used
        {nullptr, "", -1, "", ""},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const std::string work = dir.path().toStdString();
        if (c.name) writeBytes(work + "/" + c.name, c.bytes);
        KelvornSERVICE svc;
        svc.VideoCount = 3;
        svc.VideoFile.assign(2, "stale");
        LoadVideoList(svc, work);
        ASSERT_EQ(svc.VideoCount, c.count) << c.bytes;
        ASSERT_TRUE(svc.VideoName.size() <= kVideoSlots && svc.VideoFile.size() <= kVideoSlots);
        if (c.count < 0) continue;
        EXPECT_EQ(svc.VideoName.at(static_cast<size_t>(c.count)), c.lastName);
        EXPECT_EQ(svc.VideoFile.at(static_cast<size_t>(c.count)), c.lastFile);
    }
}
