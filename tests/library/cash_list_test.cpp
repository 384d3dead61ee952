#include "library/cash_list.h"

#include <filesystem>

#include "fakes/file_size_limit.h"
#include "library_test_files.h"

namespace kelvorn {
namespace {

using namespace test;

class CashList : public WorkFolder {
protected:
    std::string file = in("CashList.kvx");
    void setArchive(Lines names) {
        svc.ArchiveCount = static_cast<int16_t>(names.size()) - 1;
        svc.ArchiveList = std::move(names);
    }
};

// The names are bytes (Latin-1 and UTF-8 alike); the line rules are those of every text
// file; the cache is written back with CR LF, an empty one as zero bytes, into the file
// found whatever the case of its name.
TEST_F(CashList, EntriesAreLinesAndComeBackWithCrLf) {
    const std::string lower = in("cashlist.KVX");
    const struct { std::string bytes; Lines entries; std::string written; } cases[] = {
        {"\xE9t\xE9.mp3\r\n\r\nb.mp3\nZ - \xC3\xBC.mp3\rlast.mp3",
         {"\xE9t\xE9.mp3", "", "b.mp3", "Z - \xC3\xBC.mp3", "last.mp3"},
         "\xE9t\xE9.mp3\r\n\r\nb.mp3\r\nZ - \xC3\xBC.mp3\r\nlast.mp3\r\n"},
        {"", {}, ""},
    };
    for (const auto& c : cases) {
        setArchive({"old.mp3"});
        writeBytes(lower, c.bytes);
        EXPECT_TRUE(ReadCashList(svc, work));
        EXPECT_EQ(upTo(svc.ArchiveList, svc.ArchiveCount), c.entries);
        writeBytes(lower, "overwritten");
        ASSERT_TRUE(WriteCashList(svc, work));
        EXPECT_EQ(readBytes(lower), c.written);
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

TEST_F(CashList, LinesBeyondTheReachableEntriesSurviveTheRewriteUntilAShorterCacheIsRead) {
    const std::string bytes = numberedLines(kReachableEntries + 1500);
    writeBytes(file, bytes);
    ReadCashList(svc, work);
    EXPECT_EQ(svc.ArchiveCount, 32767);
    EXPECT_LE(svc.ArchiveList.size(), static_cast<size_t>(kSongSlots));
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(readBytes(file), bytes);
    writeBytes(file, "one.mp3\r\n");
    ReadCashList(svc, work);
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(readBytes(file), "one.mp3\r\n");
}

TEST_F(CashList, UnreadableCacheGivesAnEmptyArchiveAndAFailedWriteLeavesTheOldFile) {
    std::filesystem::create_directory(file);
    setArchive({"old.mp3"});
    EXPECT_FALSE(ReadCashList(svc, work));  // so the caller does not write it back
    EXPECT_EQ(svc.ArchiveCount, -1);
    setArchive({"old.mp3"});
    EXPECT_FALSE(WriteCashList(svc, work));
    EXPECT_TRUE(std::filesystem::is_directory(file));

    std::filesystem::remove(file);
    writeBytes(file, "old.mp3\r\n");
    setArchive({std::string(4096, 'n') + ".mp3"});
    EXPECT_FALSE(underFileSizeLimit(100, [&] { return WriteCashList(svc, work); }));
    EXPECT_EQ(readBytes(file), "old.mp3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work), {}), 1) << "temporary file left behind";
}

}  // namespace
}  // namespace kelvorn
