// Line rules of the program's text files and atomic replacement.
#include "platform/text_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kelvorn;
using Lines = std::vector<std::string>;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const QString& n : QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            names.push_back(n.toStdString());
        return names;
    }
    std::string contents(const std::string& p) const {
        std::string bytes;
        EXPECT_TRUE(readFileBytes(p, bytes));
        return bytes;
    }
};

}  // namespace

TEST(SplitLines, LineEnds) {
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\rb"), (Lines{"a", "", "b"}));      // CR alone ends a line
    EXPECT_EQ(splitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));  // blank line is an entry
    EXPECT_EQ(splitLines("a\r\n\nb"), (Lines{"a", "\nb"}));      // only one LF joins the CR
}

TEST(SplitLines, BareLineFeedStaysInsideLine) {
    EXPECT_EQ(splitLines("a\nb\nc"), (Lines{"a\nb\nc"}));
    EXPECT_EQ(splitLines("x\ny\r\nz"), (Lines{"x\ny", "z"}));
}

TEST(SplitLines, LastLineAndEmptyInput) {
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(splitLines("only"), (Lines{"only"}));
    EXPECT_EQ(splitLines("a\r\nlast"), (Lines{"a", "last"}));
    EXPECT_EQ(splitLines("\r\n"), (Lines{""}));
    EXPECT_EQ(splitLines(std::string("n\0ul\r\n", 6)), (Lines{std::string("n\0ul", 4)}));
}

TEST_F(TextFileTest, ReadRefusesMissingFileAndFolder) {
    std::string bytes = "old";
    EXPECT_FALSE(readFileBytes(path("missing"), bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(readFileBytes(dir.path().toStdString(), bytes));
    EXPECT_FALSE(readFileBytes("", bytes));

    std::string line;
    EXPECT_FALSE(readFirstLine(path("missing"), line));
    Lines lines{"x"};
    EXPECT_FALSE(readLines(path("missing"), lines));
    EXPECT_TRUE(lines.empty());
}

TEST_F(TextFileTest, WriteThenReadKeepsBytes) {
    const std::string p = path("data.txt");
    const Lines lines{"first", "", "caf\xe9 \xff", "last"};
    ASSERT_TRUE(writeLinesAtomic(p, lines));
    EXPECT_EQ(contents(p), "first\r\n\r\ncaf\xe9 \xff\r\nlast\r\n");

    Lines back;
    ASSERT_TRUE(readLines(p, back));
    EXPECT_EQ(back, lines);
    std::string line;
    ASSERT_TRUE(readFirstLine(p, line));
    EXPECT_EQ(line, "first");
}

TEST_F(TextFileTest, WriteLinesTakesRange) {
    const std::string p = path("range.txt");
    const Lines lines{"0", "1", "2", "3"};
    ASSERT_TRUE(writeLinesAtomic(p, lines, 1, 2));
    EXPECT_EQ(contents(p), "1\r\n2\r\n");
    ASSERT_TRUE(writeLinesAtomic(p, lines, 3, 100));
    EXPECT_EQ(contents(p), "3\r\n");
    ASSERT_TRUE(writeLinesAtomic(p, lines, 9));  // past the end: an empty file
    EXPECT_EQ(contents(p), "");
    std::string line;
    EXPECT_FALSE(readFirstLine(p, line));  // no line in an empty file
}

TEST_F(TextFileTest, AtomicWriteReplacesAndLeavesNoTemp) {
    const std::string p = path("cache.txt");
    ASSERT_TRUE(writeFileAtomic(p, "a long old content\r\n"));
    ASSERT_TRUE(writeFileAtomic(p, "new\r\n"));
    EXPECT_EQ(contents(p), "new\r\n");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"cache.txt"}));
}

TEST_F(TextFileTest, FailedWriteLeavesOldFile) {
    // Missing folder: the temporary file cannot even be made.
    EXPECT_FALSE(writeFileAtomic(path("no/such/folder/x.txt"), "data"));

    // Target is a non-empty folder: the temp file is written but the rename fails.
    ASSERT_TRUE(QDir(dir.path()).mkpath("busy/inner"));
    EXPECT_FALSE(writeFileAtomic(path("busy"), "data"));
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"busy"}));
}

TEST_F(TextFileTest, FailedWriteInReadOnlyFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string p = path("keep.txt");
    ASSERT_TRUE(writeFileAtomic(p, "old\r\n"));
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0555), 0);
    EXPECT_FALSE(writeFileAtomic(p, "new\r\n"));
    ::chmod(dir.path().toLocal8Bit().constData(), 0755);
    EXPECT_EQ(contents(p), "old\r\n");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"keep.txt"}));
}
