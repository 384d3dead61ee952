#include "library/archive_scan.h"

#include <QLocale>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "fakes/counting_pump.h"
#include "library/archive_order.h"
#include "library_test_files.h"

namespace kelvorn {
namespace {

using namespace test;

// The archive order does not depend on the locale.
TEST(ArchiveOrder, CaseIsIgnoredDigitsAreTextAndEqualNamesKeepTheirOrderInEveryLocale) {
    const struct { Lines names, sorted; } cases[] = {
        {{"b.mp3", "A.mp3", "c.mp3", "B - x.mp3", "a - y.mp3"}, {"a - y.mp3", "A.mp3", "B - x.mp3", "b.mp3", "c.mp3"}},
        {{"10.mp3", "9.mp3", "Abc.mp3", "1.mp3", "abc.mp3", "ABC.mp3"},
         {"1.mp3", "10.mp3", "9.mp3", "Abc.mp3", "abc.mp3", "ABC.mp3"}},
        // "\xC9" alone is not UTF-8: it reads as Latin-1 É and sorts among the E's.
        {{"z.mp3", "\xC9t\xE9.mp3", "a.mp3", "\xC3\xA9t\xC3\xA9.mp3"},
         {"a.mp3", "\xC9t\xE9.mp3", "\xC3\xA9t\xC3\xA9.mp3", "z.mp3"}},
    };
    for (const char* locale : {"C", "en_US", "de_DE"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        for (auto c : cases) {
            sortArchiveOrder(c.names);
            EXPECT_EQ(c.names, c.sorted) << locale;
        }
    }
    QLocale::setDefault(QLocale::system());
}

class Scan : public WorkFolder, public ScanProgress {
protected:
    void SetUp() override {
        std::filesystem::create_directory(music);
        writeBytes(in("Mp3Path.kvx"), music + "/\r\n");
    }
    void touch(std::initializer_list<std::string> names) {
        for (const std::string& n : names) writeBytes(music + "/" + n, "");
    }
    bool scan() { return ScanArchive(svc, work, pump, *this); }
    void scanStarted() override { events.push_back("started"); }
    void showFound(int value) override { found.push_back(value); }
    void showSort(int value) override { sort.push_back(value); }
    void scanFinished() override { events.push_back("finished"); }

    std::string music = in("songs");
    CountingPump pump;
    std::vector<int> found, sort;
    Lines events;
};

// FOUND counts up to the names found and then shows the highest index, SORT runs to it.
TEST_F(Scan, SortsTheNamesAndReportsProgress) {
    touch({"b.mp3", "A.mp3", "c.mp3"});
    svc.ArchiveOverflow = {"left over.mp3"};
    EXPECT_TRUE(scan());
    EXPECT_EQ(svc.Mp3Path, music + "/");
    EXPECT_EQ(upTo(svc.ArchiveList, svc.ArchiveCount), (Lines{"A.mp3", "b.mp3", "c.mp3"}));
    EXPECT_TRUE(svc.ArchiveOverflow.empty());
    ASSERT_GE(found.size(), 3u);
    EXPECT_TRUE(found.front() == 0 && std::is_sorted(found.begin(), found.end() - 1));
    EXPECT_EQ(std::vector<int>(found.end() - 2, found.end()), (std::vector<int>{3, 2}));
    EXPECT_EQ(sort, (std::vector<int>{0, 0, 2}));
    EXPECT_EQ(events, (Lines{"started", "finished"}));
    EXPECT_TRUE(pump.yields >= 2 && pump.passes == 0);
    // TmpSongs keeps the unsorted names, then one empty entry.
    Lines tmp = upTo(svc.TmpSongs, 3);
    std::sort(tmp.begin(), tmp.end() - 1);
    EXPECT_EQ(tmp, (Lines{"A.mp3", "b.mp3", "c.mp3", ""}));
}

TEST_F(Scan, OnlyMp3FilesDirectlyInTheFolderWhoseNamesFitOnALine) {
    std::filesystem::create_directory(music + "/sub");
    std::filesystem::create_directory(music + "/folder.mp3");
    touch({"x.MP3", "notes.txt", ".hidden.mp3", "sub/deep.mp3", "two\nlines.mp3", "cr\r.mp3"});
    scan();
    EXPECT_EQ(upTo(svc.ArchiveList, svc.ArchiveCount), Lines{"x.MP3"});
}

// The playback timer may read the archive at any yield; keys are dropped throughout.
TEST_F(Scan, ArchiveCountCoversOnlyNamesWhileTheScanYields) {
    svc.ArchiveList = {"old1.mp3", "old2.mp3"};
    svc.ArchiveCount = 1;
    touch({"n1.mp3", "n2.mp3", "n3.mp3", "n4.mp3"});
    int emptySeen = 0;
    pump.onYield = [&] {
        emptySeen += !svc.Scanning;
        for (const std::string& name : upTo(svc.ArchiveList, svc.ArchiveCount)) emptySeen += name.empty();
        emptySeen += static_cast<int>(svc.ArchiveList.size()) <= svc.ArchiveCount;
    };
    scan();
    EXPECT_EQ(emptySeen, 0);
    EXPECT_EQ(svc.ArchiveCount, 3);
    EXPECT_FALSE(svc.Scanning);
}

TEST_F(Scan, EmptyFolderGivesAnEmptyArchiveAndAFolderAwayKeepsTheOldOne) {
    svc.ArchiveList = {"old.mp3"};
    svc.ArchiveCount = 0;
    EXPECT_TRUE(scan());
    EXPECT_EQ(svc.ArchiveCount, -1);
    EXPECT_EQ(found.back(), -1);
    EXPECT_EQ(svc.TmpSongs.at(0), "");

    // The music folder file is read again at every scan. A folder that cannot be listed
    // (a disk or share away) is no empty folder: the archive stays.
    writeBytes(in("Mp3Path.kvx"), music + "/missing/\r\n");
    svc.ArchiveCount = 0;
    svc.TmpSongs = {"result.mp3"};
    EXPECT_FALSE(scan());
    EXPECT_EQ(svc.Mp3Path, music + "/missing/");
    EXPECT_EQ(upTo(svc.ArchiveList, svc.ArchiveCount), Lines{"old.mp3"});
    EXPECT_EQ(svc.TmpSongs, Lines{"result.mp3"});
    EXPECT_EQ(events.back(), "finished");
}

TEST_F(Scan, NamesBeyondTheReachableEntriesAreNotStoredAndTheEventLoopNeverWaitsLong) {
    for (int i = 0; i < kReachableEntries + 40; ++i) touch({"t" + std::to_string(100000 + i) + ".mp3"});
    using Clock = std::chrono::steady_clock;
    auto lastYield = Clock::now();
    Clock::duration longest{};
    pump.onYield = [&] {
        longest = std::max(longest, Clock::now() - lastYield);
        lastYield = Clock::now();
    };
    scan();
    EXPECT_LT(longest, std::chrono::milliseconds(100));  // the listing and the sort run aside
    EXPECT_EQ(svc.ArchiveCount, 32767);
    EXPECT_LE(svc.ArchiveList.size(), static_cast<size_t>(kSongSlots));
    EXPECT_LE(svc.TmpSongs.size(), static_cast<size_t>(kReachableEntries + 1));
    // The first names in archive order are kept, whatever the listing order was.
    EXPECT_EQ(svc.ArchiveList[0] + " " + svc.ArchiveList[32767], "t100000.mp3 t132767.mp3");
    EXPECT_EQ(found.back(), 32767);
}

}  // namespace
}  // namespace kelvorn
