#include "library/cash_list.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "core/kelvorn_service.h"
#include "library_test_files.h"

namespace kelvorn {
namespace {

using test::pathIn;
using test::readBytes;
using test::writeBytes;

class CashList : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string work = dir.path().toStdString();
    std::string file = pathIn(dir, "CashList.kvx");
    KelvornSERVICE svc;
};

TEST_F(CashList, RoundTripKeepsEveryByte) {
    const std::string bytes = "A - One.mp3\r\n\xE9t\xE9.mp3\r\nZ - \xC3\xBC.mp3\r\n";
    writeBytes(file, bytes);
    ReadCashList(svc, work);
    ASSERT_EQ(svc.ArchiveCount, 2);
    EXPECT_EQ(svc.ArchiveList[1], "\xE9t\xE9.mp3");
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(readBytes(file), bytes);
}

TEST_F(CashList, LineRules) {
    // A blank line is an empty entry, a bare LF stays in the text, a last line
    // without a line end counts, a lone CR ends a line.
    writeBytes(file, "a.mp3\r\n\r\nb\nc.mp3\rd.mp3\r\ne.mp3");
    ReadCashList(svc, work);
    ASSERT_EQ(svc.ArchiveCount, 4);
    EXPECT_EQ(svc.ArchiveList[0], "a.mp3");
    EXPECT_EQ(svc.ArchiveList[1], "");
    EXPECT_EQ(svc.ArchiveList[2], "b\nc.mp3");
    EXPECT_EQ(svc.ArchiveList[3], "d.mp3");
    EXPECT_EQ(svc.ArchiveList[4], "e.mp3");
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(readBytes(file), "a.mp3\r\n\r\nb\nc.mp3\r\nd.mp3\r\ne.mp3\r\n");
}

TEST_F(CashList, ZeroBytesIsAnEmptyArchiveAndWritesBackEmpty) {
    svc.ArchiveList = {"old.mp3"};
    svc.ArchiveCount = 0;
    writeBytes(file, "");
    ReadCashList(svc, work);
    EXPECT_EQ(svc.ArchiveCount, -1);
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_EQ(readBytes(file), "");
}

TEST_F(CashList, NameIsFoundWithoutRegardToCase) {
    const std::string lower = pathIn(dir, "cashlist.KVX");
    writeBytes(lower, "x.mp3\r\n");
    EXPECT_EQ(cashListPath(work), lower);
    ReadCashList(svc, work);
    EXPECT_EQ(svc.ArchiveCount, 0);
    svc.ArchiveList[0] = "y.mp3";
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(readBytes(lower), "y.mp3\r\n");
}

TEST_F(CashList, LinesBeyondTheReachableEntriesSurviveTheRewrite) {
    std::string bytes;
    const int lines = kReachableEntries + 1500;
    for (int i = 0; i < lines; ++i) bytes += "song " + std::to_string(i) + ".mp3\r\n";
    writeBytes(file, bytes);
    ReadCashList(svc, work);
    EXPECT_EQ(svc.ArchiveCount, 32767);
    EXPECT_LE(svc.ArchiveList.size(), static_cast<size_t>(kSongSlots));
    EXPECT_EQ(svc.ArchiveList[32767], "song 32767.mp3");
    EXPECT_EQ(svc.ArchiveOverflow.size(), 1500u);
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
    ReadCashList(svc, work);
    EXPECT_EQ(svc.ArchiveCount, -1);
    svc.ArchiveCount = 0;
    EXPECT_FALSE(WriteCashList(svc, work));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(svc.ArchiveList[0], "old.mp3");
}

TEST_F(CashList, FailedWriteLeavesTheOldFile) {
    writeBytes(file, "old.mp3\r\n");
    svc.ArchiveList = {std::string(4096, 'n') + ".mp3"};
    svc.ArchiveCount = 0;

    // A file size limit makes the write fail part-way, even for root.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteCashList(svc, work);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(file), "old.mp3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work),
                            std::filesystem::directory_iterator()), 1)
        << "temporary file left behind";
}

}  // namespace
}  // namespace kelvorn
