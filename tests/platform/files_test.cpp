// SPDX-License-Identifier: GPL-3.0-or-later
// The program's files: line rules, atomic replacement, and folder listing with its rules.
#include "platform/atomic_file.h"
#include "platform/folder_listing.h"
#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <tuple>

#include "fakes/file_size_limit.h"

using namespace kelvorn;
using Lines = std::vector<std::string>;

// CR LF, a CR alone and an LF alone each end a line; the last line needs no end.
TEST(SplitLines, LineEnds) {
    const std::pair<std::string, Lines> cases[] = {{"a\r\nb\rc\n\r\n\nd", {"a", "b", "c", "", "", "d"}},
                                                   {"a\n\nb", {"a", "", "b"}},
                                                   {"a\r", {"a"}},
                                                   {"", {}},
                                                   {"\r\n", {""}},
                                                   {std::string("n\0ul\r\n", 6), {std::string("n\0ul", 4)}}};
    for (const auto& [bytes, lines] : cases) EXPECT_EQ(splitLines(bytes), lines) << '"' << bytes << '"';
}

TEST(TextFile, LinesAreWrittenWithCrLfAndReadBackAndAMissingFileReadsAsNothing) {
    QTemporaryDir dir;
    const std::string p = dir.filePath("data.txt").toStdString();
    const Lines lines{"first", "", "caf\xe9 \xff", "last"};
    ASSERT_TRUE(writeLinesAtomic(p, lines));
    std::string bytes;
    EXPECT_TRUE(readFileBytes(p, bytes) && bytes == "first\r\n\r\ncaf\xe9 \xff\r\nlast\r\n") << bytes;
    Lines back;
    EXPECT_TRUE(readLines(p, back) && back == lines);
    // A missing file or a folder reads as nothing, and fails.
    EXPECT_FALSE(readFileBytes(p + ".missing", bytes) || readFileBytes(dir.path().toStdString(), bytes) ||
                 readLines(p + ".missing", back));
    EXPECT_TRUE(bytes.empty() && back.empty());
}

// A link's file is replaced keeping its mode; hidden leftovers of its failed writes go; a failed
// write leaves the old file and no temporary one.
TEST(TextFile, AtomicWriteFollowsLinksKeepsTheModeAndNeverLosesTheOldFile) {
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
    const std::string real = path("real.m3u"), link = path("link.m3u");
    ASSERT_TRUE(writeFileAtomic(real, "a long old content\r\n"));
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.m3u", link.c_str()), 0);
    writeFileAtomic(path(".real.m3u.tmp-99-0"), "half");
    writeFileAtomic(path(".other.m3u.tmp-99-0"), "someone else's");
    ASSERT_TRUE(writeFileAtomic(link, "old\r\n"));
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    EXPECT_FALSE(underFileSizeLimit(100, [&] { return writeFileAtomic(link, std::string(4096, 'n')); }));
    EXPECT_FALSE(writeFileAtomic(path("no/such/folder/x.txt"), "data"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("busy/inner"));
    EXPECT_FALSE(writeFileAtomic(path("busy"), "data"));
    // A link loop is never replaced by a file; a file its owner made read-only is kept.
    ASSERT_EQ(::symlink("loop.m3u", path("loop.m3u").c_str()), 0);
    EXPECT_FALSE(writeFileAtomic(path("loop.m3u"), "data"));
    ASSERT_EQ(::chmod(real.c_str(), 0444), 0);
    EXPECT_FALSE(writeFileAtomic(link, "new\r\n"));
    std::string bytes;
    EXPECT_TRUE(readFileBytes(real, bytes) && bytes == "old\r\n") << bytes;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
              (QStringList{".other.m3u.tmp-99-0", "busy", "link.m3u", "loop.m3u", "real.m3u"}));
    ASSERT_EQ(::lstat(path("loop.m3u").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// Subfolders at every depth, given formats, nothing hidden; folder links followed but never in
// a loop; an unreadable subfolder (as an ordinary user) is left out.
TEST(FolderListing, TreeOfFoldersWithFormatsLinksAndAnUnreadableFolder) {
    QTemporaryDir dir, other;
    const std::string root = dir.path().toStdString() + "/music/", outside = other.path().toStdString() + "/";
    for (const std::string name :
         {"Artist/Album/01 One.flac", "Artist/Album/02 Two.OGG", "Artist/Album/cover.jpg", "Artist/Album/.x.mp3",
          "Artist/.hidden/x.mp3", ".cache/y.mp3", "top.wav", "top.mp3", "Deep/a/b/c/d/e.opus", "Locked/l.mp3"})
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(root + name.substr(0, name.rfind('/') + 1))) &&
                    writeFileAtomic(root + name, ""));
    ASSERT_TRUE(writeFileAtomic(outside + "o.m4a", ""));
    ASSERT_EQ(::symlink("..", (root + "Artist/Album/loop").c_str()), 0);
    ASSERT_EQ(::symlink(outside.c_str(), (root + "Elsewhere").c_str()), 0);
    for (const std::string& folder : {dir.path().toStdString(), outside}) ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(::chmod((root + "Locked").c_str(), 0), 0);
    const ListingRules rules{{".flac", ".ogg", ".opus", ".wav", ".m4a"}, true};
    const Lines tree{"Artist/Album/01 One.flac", "Artist/Album/02 Two.OGG", "Deep/a/b/c/d/e.opus", "Elsewhere/o.m4a",
                     "top.wav"};
    const auto listsAsAUser = [&] {
        if (::getuid() == 0 && ::setresgid(65534, 65534, 65534) + ::setresuid(65534, 65534, 65534) != 0) _exit(2);
        bool complete = false;
        Lines found = listMatching(root, rules, &complete);
        std::sort(found.begin(), found.end());
        _exit(complete && found == tree && listMatching(root, {{".wav"}, false}) == Lines{"top.wav"} ? 0 : 1);
    };
    EXPECT_EXIT(listsAsAUser(), ::testing::ExitedWithCode(0), "");
    ::chmod((root + "Locked").c_str(), 0755);  // for the clean-up
}

TEST(FolderListing, MatchingNormalFilesAndFoldersThatCannotBeListed) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString() + "/";
    // Names are raw bytes, need not be UTF-8; a trailing '/' makes a folder.
    for (const std::string name :
         {"a.mp3", "x.MP3", "caf\xe9.mp3", "a.mp3.txt", "mp3", ".hidden.mp3", "folder.mp3/", "plain", "musicfile.mp3",
          "music/", "music/ABBA - One.mp3", "music/abba - two.MP3", "music/Beatles.mp3", "music/x.mp3", "List1.m3u"})
        ASSERT_TRUE(name.back() == '/' ? QDir(dir.path()).mkdir(QString::fromStdString(name))
                                       : writeFileAtomic(root + name, ""))
            << name;
    ASSERT_EQ(::symlink("a.mp3", (root + "link.mp3").c_str()), 0);
    ASSERT_EQ(::symlink("gone", (root + "broken.mp3").c_str()), 0);

    // Any case of the extension; no folders, hidden names, subfolders or broken links; a raw prefix.
    const std::tuple<std::string, Lines, bool> cases[] = {
        {root, {"a.mp3", "caf\xe9.mp3", "link.mp3", "musicfile.mp3", "x.MP3"}, true},
        {root + "music/ab", {"ABBA - One.mp3", "abba - two.MP3"}, true},
        {root + "music", {"musicfile.mp3"}, true},
        {root + "music/x.mp3", {}, true},  // a name must hold both the prefix and the extension
        {root + "missing/", {}, false},
        {root + "plain/", {}, false}};
    for (const auto& [prefix, expected, listed] : cases) {
        bool complete = !listed;
        Lines found = listMatching(prefix, ListingRules{{".mp3"}}, &complete);
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, expected) << prefix;
        EXPECT_EQ(complete, listed) << prefix;
    }
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));  // a prefix without a folder lists the working folder
    EXPECT_EQ(listMatching("list", ListingRules{{".M3U"}}), Lines{"List1.m3u"});
    QDir::setCurrent(old);
}
