// Line rules of the program's text files and atomic replacement.
#include "platform/text_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fakes/file_size_limit.h"

using namespace kelvorn;
using Lines = std::vector<std::string>;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    std::string contents(const std::string& p) const {
        std::string bytes;
        EXPECT_TRUE(readFileBytes(p, bytes)) << p;
        return bytes;
    }
};

}  // namespace

TEST(SplitLines, LineEnds) {
    const struct { std::string bytes; Lines lines; } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\rb\r", {"a", "b"}}, {"a\r\rb", {"a", "", "b"}},  // CR alone ends a line
        {"a\r\n\r\nb", {"a", "", "b"}},            // a blank line is an entry
        {"a\r\n\nb", {"a", "", "b"}},              // only one LF joins the CR
        {"a\nb\nc\n", {"a", "b", "c"}}, {"x\ny\r\nz", {"x", "y", "z"}},  // Linux line ends
        {"a\r\nlast", {"a", "last"}},              // the last line needs no end
        {"", {}}, {"\r\n", {""}},
        {std::string("n\0ul\r\n", 6), {std::string("n\0ul", 4)}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitLines(c.bytes), c.lines) << '"' << c.bytes << '"';
}

TEST_F(TextFileTest, WrittenLinesEndInCrLfAndReadBackUnchangedAndNoFileReadsAsNothing) {
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

    ASSERT_TRUE(writeLinesAtomic(p, lines, 3, 100));  // a range reaching past the end
    EXPECT_EQ(contents(p), "last\r\n");
    ASSERT_TRUE(writeLinesAtomic(p, lines, 9));  // starting past the end: an empty file
    EXPECT_EQ(contents(p), "");
    EXPECT_FALSE(readFirstLine(p, line));
    std::string bytes = "old";  // a missing file or a folder reads as nothing, and fails
    EXPECT_FALSE(readFileBytes(path("missing"), bytes) || readFileBytes(dir.path().toStdString(), bytes));
    EXPECT_FALSE(readLines(path("missing"), back));
    EXPECT_TRUE(bytes.empty() && back.empty());
}

TEST_F(TextFileTest, AtomicWriteReplacesOrLeavesTheOldFileAndNoTemp) {
    const std::string p = path("cache.txt");
    ASSERT_TRUE(writeFileAtomic(p, "a long old content\r\n"));
    ASSERT_TRUE(writeFileAtomic(p, "old\r\n"));
    EXPECT_EQ(contents(p), "old\r\n");

    const bool written = underFileSizeLimit(100, [&] { return writeFileAtomic(p, std::string(4096, 'n')); });
    EXPECT_FALSE(written);
    EXPECT_EQ(contents(p), "old\r\n");

    // A missing folder, and a non-empty folder in the way of the rename.
    EXPECT_FALSE(writeFileAtomic(path("no/such/folder/x.txt"), "data"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("busy/inner"));
    EXPECT_FALSE(writeFileAtomic(path("busy"), "data"));
    EXPECT_EQ(entries(), (QStringList{"busy", "cache.txt"}));
}

TEST_F(TextFileTest, AtomicWriteKeepsModeAndLinksAndClearsLeftovers) {
    const std::string real = path("real.m3u");
    ASSERT_TRUE(writeFileAtomic(real, "old\r\n"));
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.m3u", path("link.m3u").c_str()), 0);
    // What a crash in the middle of a write leaves: hidden, so never listed.
    writeFileAtomic(path(".real.m3u.tmp-99-0"), "half");
    writeFileAtomic(path(".other.m3u.tmp-99-0"), "someone else's");

    ASSERT_TRUE(writeFileAtomic(path("link.m3u"), "new\r\n"));
    struct stat st {};
    ASSERT_EQ(::lstat(path("link.m3u").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(contents(real), "new\r\n");
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), (QStringList{".other.m3u.tmp-99-0", "link.m3u", "real.m3u"}));
}
