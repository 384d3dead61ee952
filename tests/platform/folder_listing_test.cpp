// Folder listing with the program's matching rules, in temporary folders.
#include "platform/folder_listing.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

using namespace kelvorn;
using Names = std::vector<std::string>;

namespace {

class FolderListingTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString() + "/"; }
    // Made with the raw bytes of the name, which need not be valid UTF-8.
    void touch(const std::string& relative) {
        const int fd = ::open((root() + relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << relative;
        ::close(fd);
    }
    void mkdir(const std::string& relative) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QString::fromStdString(relative)));
    }
    static Names sorted(Names names) {
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Runs a block with the working folder changed, restoring it afterwards.
class WorkingFolder {
public:
    explicit WorkingFolder(const QString& path) : old_(QDir::currentPath()) { QDir::setCurrent(path); }
    ~WorkingFolder() { QDir::setCurrent(old_); }

private:
    QString old_;
};

}  // namespace

TEST_F(FolderListingTest, MatchesExtensionWithoutCase) {
    touch("a.mp3");
    touch("x.MP3");
    touch("song.Mp3");
    touch("notes.txt");
    touch("a.mp3.txt");
    touch("mp3");
    touch("caf\xe9.mp3");  // Latin-1 byte in the name, kept as it is
    EXPECT_EQ(sorted(listMatching(root(), ".mp3")),
              (Names{"a.mp3", "caf\xe9.mp3", "song.Mp3", "x.MP3"}));
}

TEST_F(FolderListingTest, LeavesOutFoldersHiddenAndSubfolderFiles) {
    touch("keep.mp3");
    touch(".hidden.mp3");
    mkdir("a.mp3");
    mkdir("sub");
    touch("sub/inner.mp3");
    mkdir(".dot");
    touch(".dot/inner.mp3");
    ASSERT_EQ(::symlink("keep.mp3", (root() + "link.mp3").c_str()), 0);
    ASSERT_EQ(::symlink("sub", (root() + "dirlink.mp3").c_str()), 0);
    ASSERT_EQ(::symlink("gone", (root() + "broken.mp3").c_str()), 0);
    EXPECT_EQ(sorted(listMatching(root(), ".mp3")), (Names{"keep.mp3", "link.mp3"}));
}

TEST_F(FolderListingTest, RawPrefixBeginsTheName) {
    mkdir("music");
    touch("music/ABBA - One.mp3");
    touch("music/abba - two.MP3");
    touch("music/Beatles.mp3");
    touch("musicfile.mp3");
    EXPECT_EQ(sorted(listMatching(root() + "music/ab", ".mp3")),
              (Names{"ABBA - One.mp3", "abba - two.MP3"}));
    // Without the trailing slash "music" is part of a name in the folder above.
    EXPECT_EQ(listMatching(root() + "music", ".mp3"), (Names{"musicfile.mp3"}));
    // A name must hold both the prefix and the extension.
    touch("music/x.mp3");
    EXPECT_TRUE(listMatching(root() + "music/x.mp3", ".mp3").empty());
}

TEST_F(FolderListingTest, PrefixWithoutFolderUsesWorkingFolder) {
    touch("list1.m3u");
    touch("List2.M3U");
    touch("other.m3u");
    WorkingFolder here(dir.path());
    EXPECT_EQ(sorted(listMatching("list", ".m3u")), (Names{"List2.M3U", "list1.m3u"}));
    EXPECT_EQ(listMatching("", ".m3u").size(), 3u);
}

TEST_F(FolderListingTest, MissingFolderGivesNothing) {
    EXPECT_TRUE(listMatching(root() + "missing/", ".mp3").empty());
    touch("plain");
    EXPECT_TRUE(listMatching(root() + "plain/", ".mp3").empty());  // a file, not a folder
}

TEST_F(FolderListingTest, FindFileNoCase) {
    touch("Settings.KVX");
    mkdir("folder.kvx");
    EXPECT_EQ(findFileNoCase(dir.path().toStdString(), "settings.kvx"), root() + "Settings.KVX");
    EXPECT_EQ(findFileNoCase(root(), "SETTINGS.kvx"), root() + "Settings.KVX");
    EXPECT_EQ(findFileNoCase(root(), "folder.kvx"), "");  // folders are not files
    EXPECT_EQ(findFileNoCase(root(), "missing.kvx"), "");
    EXPECT_EQ(findFileNoCase(root() + "missing", "settings.kvx"), "");

    touch("settings.kvx");  // the exact name wins over a case variant
    EXPECT_EQ(findFileNoCase(root(), "settings.kvx"), root() + "settings.kvx");

    WorkingFolder here(dir.path());
    EXPECT_EQ(findFileNoCase("", "SETTINGS.KVX"), "Settings.KVX");
    EXPECT_EQ(findFileNoCase(".", "settings.kvx"), "settings.kvx");
}

TEST_F(FolderListingTest, IsNormalFile) {
    touch("f");
    mkdir("d");
    EXPECT_TRUE(isNormalFile(root() + "f"));
    EXPECT_FALSE(isNormalFile(root() + "d"));
    EXPECT_FALSE(isNormalFile(root() + "missing"));
    EXPECT_FALSE(isNormalFile(""));
}
