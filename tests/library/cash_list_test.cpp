#include "library/cash_list.h"

#include <filesystem>

#include "fakes/file_size_limit.h"
#include "library_test_files.h"

namespace kelvorn {
namespace {

using test::readBytes;
using test::writeBytes;
using Lines = std::vector<std::string>;

class CashList : public test::WorkFolder {
protected:
    std::string file = in("CashList.kvx");
};

TEST_F(CashList, LineRulesAndRoundTrip) {
    const struct { std::string bytes; Lines entries; std::string written; } cases[] = {
        {"A - One.mp3\r\n\xE9t\xE9.mp3\r\nZ - \xC3\xBC.mp3\r\n", {"A - One.mp3", "\xE9t\xE9.mp3", "Z - \xC3\xBC.mp3"},
         "A - One.mp3\r\n\xE9t\xE9.mp3\r\nZ - \xC3\xBC.mp3\r\n"},
        // A blank line is an empty entry, LF and a lone CR end a line too (a cache edited
        // on Linux), a last line without a line end counts.
        {"a.mp3\r\n\r\nb.mp3\nc.mp3\rd.mp3\r\ne.mp3", {"a.mp3", "", "b.mp3", "c.mp3", "d.mp3", "e.mp3"},
         "a.mp3\r\n\r\nb.mp3\r\nc.mp3\r\nd.mp3\r\ne.mp3\r\n"},
        {"", {}, ""},  // zero bytes: an empty archive, written back as zero bytes
    };
    for (const auto& c : cases) {
        svc.ArchiveList = {"old.mp3"};
        svc.ArchiveCount = 0;
        writeBytes(file, c.bytes);
        ReadCashList(svc, work);
        ASSERT_EQ(svc.ArchiveCount, static_cast<int>(c.entries.size()) - 1) << c.bytes;
        EXPECT_EQ(Lines(svc.ArchiveList.begin(), svc.ArchiveList.begin() + static_cast<long>(c.entries.size())), c.entries);
        std::filesystem::remove(file);
        ASSERT_TRUE(WriteCashList(svc, work));
        EXPECT_EQ(readBytes(file), c.written);
        EXPECT_TRUE(std::filesystem::is_regular_file(file));
    }
}

TEST_F(CashList, NameIsFoundWithoutRegardToCase) {
    const std::string lower = in("cashlist.KVX");
    writeBytes(lower, "x.mp3\r\n");
    ReadCashList(svc, work);
    ASSERT_EQ(svc.ArchiveCount, 0);
    svc.ArchiveList[0] = "y.mp3";
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(readBytes(lower), "y.mp3\r\n");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(CashList, LinesBeyondTheReachableEntriesSurviveTheRewrite) {
    std::string bytes;
    for (int i = 0; i < kReachableEntries + 1500; ++i) bytes += "song " + std::to_string(i) + ".mp3\r\n";
    writeBytes(file, bytes);
    ReadCashList(svc, work);
    EXPECT_EQ(svc.ArchiveCount, 32767);
    EXPECT_LE(svc.ArchiveList.size(), static_cast<size_t>(kSongSlots));
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(readBytes(file), bytes);

    // A shorter cache read afterwards drops the overflow of the longer one.
    writeBytes(file, "one.mp3\r\n");
    ReadCashList(svc, work);
    EXPECT_EQ(svc.ArchiveCount, 0);
    EXPECT_TRUE(svc.ArchiveOverflow.empty());
}

TEST_F(CashList, UnreadableCacheGivesAnEmptyArchiveAndCannotBeWritten) {
    std::filesystem::create_directory(file);
    svc.ArchiveList = {"old.mp3"};
    svc.ArchiveCount = 0;
    EXPECT_FALSE(ReadCashList(svc, work));  // so the caller does not write it back
    EXPECT_EQ(svc.ArchiveCount, -1);
    svc.ArchiveCount = 0;
    EXPECT_FALSE(WriteCashList(svc, work));
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(CashList, FailedWriteLeavesTheOldFileAndNoTemp) {
    writeBytes(file, "old.mp3\r\n");
    svc.ArchiveList = {std::string(4096, 'n') + ".mp3"};
    svc.ArchiveCount = 0;
    const bool written = underFileSizeLimit(100, [&] { return WriteCashList(svc, work); });
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(file), "old.mp3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work), {}), 1) << "temporary file left behind";
}

}  // namespace
}  // namespace kelvorn
