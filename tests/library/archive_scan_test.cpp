#include "library/archive_scan.h"

#include <QLocale>
#include <algorithm>
#include <filesystem>

#include "core/kelvorn_service.h"
#include "library/archive_order.h"
#include "library_test_files.h"
#include "fakes/counting_pump.h"

namespace kelvorn {
namespace {

using test::pathIn;
using test::writeBytes;

class RecordingProgress : public ScanProgress {
public:
    void scanStarted() override { events.push_back("started"); }
    void showFound(int value) override { found.push_back(value); }
    void showSort(int value) override { sort.push_back(value); }
    void scanFinished() override { events.push_back("finished"); }
    std::vector<int> found;
    std::vector<int> sort;
    std::vector<std::string> events;
};

// The archive order under the C locale and under a real one.
class ArchiveOrder : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QString::fromLatin1(GetParam()))); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_P(ArchiveOrder, LetterCaseIsIgnored) {
    std::vector<std::string> names = {"b.mp3", "A.mp3", "c.mp3", "B - x.mp3", "a - y.mp3"};
    sortArchiveOrder(names);
    EXPECT_EQ(names, (std::vector<std::string>{"a - y.mp3", "A.mp3", "B - x.mp3", "b.mp3", "c.mp3"}));
}

TEST_P(ArchiveOrder, DigitsAreTextAndEqualNamesKeepTheirOrder) {
    std::vector<std::string> names = {"10.mp3", "9.mp3", "Abc.mp3", "1.mp3", "abc.mp3", "ABC.mp3"};
    sortArchiveOrder(names);
    EXPECT_EQ(names, (std::vector<std::string>{"1.mp3", "10.mp3", "9.mp3", "Abc.mp3", "abc.mp3", "ABC.mp3"}));
}

TEST_P(ArchiveOrder, InvalidUtf8SortsAsLatin1) {
    // "\xC9" alone is not UTF-8: it reads as Latin-1 É and sorts among the E's.
    std::vector<std::string> names = {"z.mp3", "\xC9t\xE9.mp3", "a.mp3", "\xC3\xA9t\xC3\xA9.mp3"};
    sortArchiveOrder(names);
    EXPECT_EQ(names.front(), "a.mp3");
    EXPECT_EQ(names.back(), "z.mp3");
    EXPECT_EQ(decodeName("\xC9t\xE9"), QString::fromUtf8("\xC3\x89t\xC3\xA9"));
    EXPECT_EQ(decodeName("\xC3\xA9t\xC3\xA9"), QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
}

INSTANTIATE_TEST_SUITE_P(Locales, ArchiveOrder, ::testing::Values("C", "en_US", "de_DE"));

class Scan : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(music);
        writeBytes(pathIn(dir, "Mp3Path.kvx"), music + "/\r\n");
    }
    void touch(const std::string& name) { writeBytes(music + "/" + name, ""); }
    void scan() { ScanArchive(svc, work, pump, progress); }

    QTemporaryDir dir;
    std::string work = dir.path().toStdString();
    std::string music = pathIn(dir, "songs");
    KelvornSERVICE svc;
    CountingPump pump;
    RecordingProgress progress;
};

TEST_F(Scan, SortsTheNamesAndReportsProgress) {
    for (const char* name : {"b.mp3", "A.mp3", "c.mp3"}) touch(name);
    svc.ArchiveOverflow = {"left over.mp3"};
    scan();

    EXPECT_EQ(svc.Mp3Path, music + "/");
    ASSERT_EQ(svc.ArchiveCount, 2);
    EXPECT_EQ(svc.ArchiveList[0], "A.mp3");
    EXPECT_EQ(svc.ArchiveList[1], "b.mp3");
    EXPECT_EQ(svc.ArchiveList[2], "c.mp3");
    EXPECT_TRUE(svc.ArchiveOverflow.empty());
    EXPECT_EQ(progress.found, (std::vector<int>{0, 1, 2, 3, 2}));
    EXPECT_EQ(progress.sort, (std::vector<int>{0, 0, 1, 2}));
    EXPECT_EQ(progress.events, (std::vector<std::string>{"started", "finished"}));
    EXPECT_GE(pump.yields, 6);  // after every name and before every copied entry
    EXPECT_EQ(pump.passes, 0);

    // TmpSongs keeps the unsorted names, then one empty entry.
    std::vector<std::string> tmp(svc.TmpSongs.begin(), svc.TmpSongs.begin() + 3);
    std::sort(tmp.begin(), tmp.end());
    EXPECT_EQ(tmp, (std::vector<std::string>{"A.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(svc.TmpSongs[3], "");
}

TEST_F(Scan, ArchiveCountCoversOnlyNamesWhileTheScanYields) {
    // The playback timer may read the archive at any yield.
    svc.ArchiveList = {"old1.mp3", "old2.mp3"};
    svc.ArchiveCount = 1;
    for (const char* name : {"n1.mp3", "n2.mp3", "n3.mp3", "n4.mp3"}) touch(name);
    int emptySeen = 0;
    pump.onYield = [&] {
        for (int i = 0; i <= svc.ArchiveCount; ++i)
            if (static_cast<size_t>(i) >= svc.ArchiveList.size() || svc.ArchiveList[i].empty()) ++emptySeen;
    };
    scan();
    EXPECT_EQ(emptySeen, 0);
    EXPECT_EQ(svc.ArchiveCount, 3);
    EXPECT_EQ(svc.ArchiveList[3], "n4.mp3");
}

TEST_F(Scan, OnlyMp3FilesDirectlyInTheFolder) {
    touch("x.MP3");
    touch("notes.txt");
    touch(".hidden.mp3");
    std::filesystem::create_directory(music + "/sub");
    touch("sub/deep.mp3");
    std::filesystem::create_directory(music + "/folder.mp3");
    scan();
    ASSERT_EQ(svc.ArchiveCount, 0);
    EXPECT_EQ(svc.ArchiveList[0], "x.MP3");
}

TEST_F(Scan, EmptyOrMissingFolderGivesAnEmptyArchive) {
    svc.ArchiveList = {"old.mp3"};
    svc.ArchiveCount = 0;
    scan();
    EXPECT_EQ(svc.ArchiveCount, -1);
    EXPECT_EQ(progress.found.back(), -1);
    EXPECT_EQ(progress.sort, std::vector<int>{0});
    EXPECT_EQ(svc.TmpSongs.at(0), "");

    // The music folder file is read again at every scan.
    writeBytes(pathIn(dir, "Mp3Path.kvx"), music + "/missing/\r\n");
    svc.ArchiveCount = 0;
    scan();
    EXPECT_EQ(svc.Mp3Path, music + "/missing/");
    EXPECT_EQ(svc.ArchiveCount, -1);
    EXPECT_EQ(progress.events.back(), "finished");
}

TEST_F(Scan, NamesBeyondTheReachableEntriesAreNotStored) {
    const int files = kReachableEntries + 40;
    for (int i = 0; i < files; ++i) touch("t" + std::to_string(100000 + i) + ".mp3");
    scan();
    EXPECT_EQ(svc.ArchiveCount, 32767);
    EXPECT_LE(svc.ArchiveList.size(), static_cast<size_t>(kSongSlots));
    EXPECT_LE(svc.TmpSongs.size(), static_cast<size_t>(kReachableEntries + 1));
    // The first names in archive order are kept, whatever the listing order was.
    EXPECT_EQ(svc.ArchiveList[0], "t100000.mp3");
    EXPECT_EQ(svc.ArchiveList[32767], "t132767.mp3");
    EXPECT_EQ(progress.found.back(), 32767);
}

}  // namespace
}  // namespace kelvorn
