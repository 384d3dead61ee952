// Folder listing with the program's matching rules, in a temporary folder.
#include "platform/folder_listing.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace kelvorn;
using Names = std::vector<std::string>;

namespace {

class FolderListingTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString() + "/";
    // Files are made with the raw bytes of the name (need not be UTF-8); a trailing '/' makes a folder.
    void make(std::initializer_list<std::string> names) {
        for (const std::string& n : names)
            ASSERT_TRUE(n.back() == '/' ? QDir(dir.path()).mkpath(QString::fromStdString(n))
                                        : std::ofstream(root + n).good()) << n;
    }
};

// Changes the working folder for one block.
struct WorkingFolder {
    explicit WorkingFolder(const QString& path) { QDir::setCurrent(path); }
    ~WorkingFolder() { QDir::setCurrent(old); }
    QString old = QDir::currentPath();
};

}  // namespace

TEST_F(FolderListingTest, ListMatching) {
    make({"a.mp3", "x.MP3", "song.Mp3", "caf\xe9.mp3", "notes.txt", "a.mp3.txt", "mp3", ".hidden.mp3",
          "folder.mp3/", "sub/", "sub/inner.mp3", ".dot/", ".dot/inner.mp3", "plain", "musicfile.mp3",
          "music/", "music/ABBA - One.mp3", "music/abba - two.MP3", "music/Beatles.mp3", "music/x.mp3",
          "list1.m3u", "List2.M3U", "other.m3u"});
    ASSERT_EQ(::symlink("a.mp3", (root + "link.mp3").c_str()), 0);
    ASSERT_EQ(::symlink("sub", (root + "dirlink.mp3").c_str()), 0);
    ASSERT_EQ(::symlink("gone", (root + "broken.mp3").c_str()), 0);

    const struct { std::string prefix; const char* ext; Names expected; } cases[] = {
        // Any letter case of the extension; no folders, hidden names, subfolder files or broken links.
        {root, ".mp3", {"a.mp3", "caf\xe9.mp3", "link.mp3", "musicfile.mp3", "song.Mp3", "x.MP3"}},
        // The prefix is raw: it begins the name, without regard to case.
        {root + "music/ab", ".mp3", {"ABBA - One.mp3", "abba - two.MP3"}},
        {root + "music", ".mp3", {"musicfile.mp3"}},
        {root + "music/x.mp3", ".mp3", {}},  // a name must hold both the prefix and the extension
        {root + "list", ".m3u", {"List2.M3U", "list1.m3u"}},
        {root + "missing/", ".mp3", {}},
        {root + "plain/", ".mp3", {}},  // a file, not a folder
    };
    for (const auto& c : cases) {
        Names found = listMatching(c.prefix, c.ext);
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, c.expected) << c.prefix << " *" << c.ext;
    }

    WorkingFolder here(dir.path());  // a prefix without a folder lists the working folder
    EXPECT_EQ(listMatching("List", ".m3u").size(), 2u);
    EXPECT_EQ(listMatching("", ".m3u").size(), 3u);
}

TEST_F(FolderListingTest, FindFileNoCase) {
    make({"Settings.KVX", "folder.kvx/"});
    EXPECT_EQ(findFileNoCase(dir.path().toStdString(), "settings.kvx"), root + "Settings.KVX");
    EXPECT_EQ(findFileNoCase(root, "folder.kvx"), "");  // folders are not files
    EXPECT_EQ(findFileNoCase(root, "missing.kvx"), "");
    EXPECT_EQ(findFileNoCase(root + "missing", "settings.kvx"), "");

    make({"settings.kvx"});  // the exact name wins over a case variant
    EXPECT_EQ(findFileNoCase(root, "settings.kvx"), root + "settings.kvx");

    WorkingFolder here(dir.path());
    EXPECT_EQ(findFileNoCase("", "SETTINGS.KVX"), "Settings.KVX");
    EXPECT_EQ(findFileNoCase(".", "settings.kvx"), "settings.kvx");
}
