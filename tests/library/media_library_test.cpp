// SPDX-License-Identifier: GPL-3.0-or-later
// The media library: archive scan and order, cache, playlists, media paths, alpha search.
#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>
#include <utility>

#include "fakes/counting_pump.h"
#include "fakes/file_size_limit.h"
#include "library/alpha_search.h"
#include "library/archive_order.h"
#include "library/archive_scan.h"
#include "library/cash_list.h"
#include "library/library_settings.h"
#include "library/media_paths.h"
#include "library/playlists.h"
#include "platform/name_text.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace kelvorn {
namespace {

using Lines = std::vector<std::string>;

void writeBytes(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE((std::ofstream(path, std::ios::binary) << bytes).good()) << path;
}

std::string readBytes(const std::string& path) {
    std::string bytes;
    return readFileBytes(path, bytes) ? bytes : "";
}

// Entries 0..last of a list, as far as it holds them.
Lines upTo(const SongList& list, int last) {
    return Lines(list.begin(), list.begin() + std::clamp<long>(last + 1, 0, static_cast<long>(list.size())));
}

// Large texts compared by size and first difference, never as a line diff of megabytes.
::testing::AssertionResult sameBytes(const std::string& got, const std::string& wanted) {
    if (got == wanted) return ::testing::AssertionSuccess();
    const auto [g, w] = std::mismatch(got.begin(), got.end(), wanted.begin(), wanted.end());
    const auto at = g - got.begin();
    return ::testing::AssertionFailure() << got.size() << " bytes instead of " << wanted.size()
                                         << ", first differing at " << at << ": \""
                                         << got.substr(static_cast<size_t>(at), 40) << "\" for \""
                                         << wanted.substr(static_cast<size_t>(at), 40) << '"';
}

std::string numberedLines(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += "song " + std::to_string(i) + ".mp3\r\n";
    return bytes;
}

// A fresh working folder whose music folder file points at music/ inside it.
class WorkFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(music);
        writeBytes(in("Mp3Path.kvx"), music + "\r\n");
        svc.Mp3Path = music;
    }
    std::string in(const std::string& name) const { return work + "/" + name; }
    void setArchive(Lines names) {
        svc.ArchiveCount = static_cast<int16_t>(names.size()) - 1;
        svc.ArchiveList = std::move(names);
    }
    void setCustom(Lines songs) {
        svc.CustomCount = static_cast<int16_t>(songs.size()) - 1;
        svc.CustomSongs = std::move(songs);
    }

    QTemporaryDir dir;
    std::string work = dir.path().toStdString();
    std::string music = in("music") + "/";
    KelvornSERVICE svc;
};

// Digits are text; "\xC9" alone is not UTF-8: it reads as Latin-1 É and sorts among the E's.
TEST(ArchiveOrder, CaseIsIgnoredDigitsAreTextAndEqualNamesKeepTheirOrderInEveryLocale) {
    const std::pair<Lines, Lines> order = {
        {"b.mp3", "A.mp3", "c.mp3", "B - x.mp3", "a - y.mp3", "10.mp3", "9.mp3", "Abc.mp3", "1.mp3", "abc.mp3", "z.mp3",
         "\xC9t\xE9.mp3", "ABC.mp3", "\xC3\xA9t\xC3\xA9.mp3"},
        {"1.mp3", "10.mp3", "9.mp3", "a - y.mp3", "A.mp3", "Abc.mp3", "abc.mp3", "ABC.mp3", "B - x.mp3", "b.mp3",
         "c.mp3", "\xC9t\xE9.mp3", "\xC3\xA9t\xC3\xA9.mp3", "z.mp3"}};
    for (const char* locale : {"C", "en_US", "de_DE"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        Lines names = order.first;
        sortArchiveOrder(names);
        EXPECT_EQ(names, order.second) << locale;
    }
    QLocale::setDefault(QLocale::system());
}

class Scan : public WorkFolder, public ScanProgress {
protected:
    void touch(std::initializer_list<std::string> names) {
        for (const std::string& n : names) writeBytes(music + n, "");
    }
    bool scan() { return ScanArchive(svc, work, pump, *this); }
    void scanStarted() override { events += "started "; }
    void scanFinished() override { events += "finished "; }

    CountingPump pump;
    std::string events;
};

// MP3s directly in the folder, one-line names; ArchiveCount covers only names at every yield;
// a folder that cannot be listed (a disk away) keeps the archive and results.
TEST_F(Scan, StoresTheSortedMp3NamesKeepingTheArchiveReadableAndKeepsItWhenTheFolderIsAway) {
    std::filesystem::create_directory(music + "sub");
    std::filesystem::create_directory(music + "folder.mp3");
    touch({"n3.mp3", "N1.MP3", "n2.mp3", "n0.mp3", "notes.txt", ".hidden.mp3", "sub/deep.mp3", "two\nlines.mp3",
           "cr\r.mp3"});
    setArchive({"old1.mp3", "old2.mp3"});
    svc.ArchiveOverflow = {"left over.mp3"};
    int emptySeen = 0;
    pump.onYield = [&] {
        emptySeen += !svc.Scanning;
        for (const std::string& name : upTo(svc.ArchiveList, svc.ArchiveCount)) emptySeen += name.empty();
        emptySeen += static_cast<int>(svc.ArchiveList.size()) <= svc.ArchiveCount;
    };
    EXPECT_TRUE(scan());
    EXPECT_EQ(emptySeen, 0);
    EXPECT_TRUE(svc.ArchiveOverflow.empty() && !svc.Scanning && pump.yields >= 2 && pump.passes == 0);
    writeBytes(in("Mp3Path.kvx"), music + "missing/\r\n");
    svc.TmpSongs = {"result.mp3"};
    EXPECT_FALSE(scan());
    EXPECT_EQ(svc.Mp3Path + " " + svc.TmpSongs.at(0), music + "missing/ result.mp3");
    EXPECT_EQ(upTo(svc.ArchiveList, svc.ArchiveCount), (Lines{"n0.mp3", "N1.MP3", "n2.mp3", "n3.mp3"}));
    EXPECT_EQ(events, "started finished started finished ");
    writeBytes(in("Mp3Path.kvx"), music + "folder.mp3/\r\n");
    EXPECT_TRUE(scan());
    EXPECT_EQ(svc.ArchiveCount, -1);
}

// Library.kvx: subfolders and formats, whole paths in case-insensitive order; bad lines change nothing.
TEST_F(Scan, LibrarySettingsAddSubfoldersAndFormats) {
    EXPECT_EQ(librarySettingsFrom({}).listingRules().extensions, Lines{".mp3"});
    const LibrarySettings odd = librarySettingsFrom({"SubFolders = 1", "subfolders=yes", "formats=mp3 fl/ac", "x=1"});
    EXPECT_TRUE(odd.subfolders && odd.formats == Lines{"mp3"});
    for (const char* folder : {"Artist/Album", "artist B", "Zed"}) std::filesystem::create_directories(music + folder);
    touch({"Artist/Album/02 Two.OGG", "Artist/Album/01 One.flac", "artist B/x.mp3", "Zed/cover.jpg", "top.mp3",
           "Artist/Album/03 Three.wav"});
    writeBytes(in("library.KVX"), " subfolders = 1 \nformats= mp3 .FLAC,ogg\r\nformats=\n");
    ASSERT_TRUE(scan());
    EXPECT_EQ(upTo(svc.ArchiveList, svc.ArchiveCount),
              (Lines{"artist B/x.mp3", "Artist/Album/01 One.flac", "Artist/Album/02 Two.OGG", "top.mp3"}));
}

TEST_F(Scan, NamesBeyondTheReachableEntriesAreNotStoredAndTheEventLoopNeverWaitsLong) {
    for (int i = 0; i < kReachableEntries + 40; ++i) touch({"t" + std::to_string(100000 + i) + ".mp3"});
    // The event loop runs while listing and sorting aside, and every 256 names copied.
    int whileListing = 0;
    int whileCopying = 0;
    pump.onYield = [&] { ++(svc.ArchiveList.empty() ? whileListing : whileCopying); };
    scan();
    EXPECT_GE(whileListing, 2);
    EXPECT_GE(whileCopying, 32768 / 256);
    EXPECT_EQ(svc.ArchiveCount, 32767);
    // The first names in archive order are kept, whatever the listing order was.
    EXPECT_EQ(svc.ArchiveList[0] + " " + svc.ArchiveList[32767], "t100000.mp3 t132767.mp3");
}

using CashList = WorkFolder;

// Lines end with CR LF, LF or CR, bytes as they are; written back with CR LF, all of them.
TEST_F(CashList, EntriesAreLinesAndComeBackWithCrLf) {
    const std::string file = in("cashlist.KVX");
    writeBytes(file, "\xE9t\xE9.mp3\r\n\r\nb.mp3\nZ - \xC3\xBC.mp3\rlast.mp3");
    EXPECT_TRUE(ReadCashList(svc, work));
    EXPECT_EQ(upTo(svc.ArchiveList, svc.ArchiveCount),
              (Lines{"\xE9t\xE9.mp3", "", "b.mp3", "Z - \xC3\xBC.mp3", "last.mp3"}));
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(readBytes(file), "\xE9t\xE9.mp3\r\n\r\nb.mp3\r\nZ - \xC3\xBC.mp3\r\nlast.mp3\r\n");
    EXPECT_FALSE(std::filesystem::exists(in("CashList.kvx")));
    const std::string many = numberedLines(kReachableEntries + 1500);
    writeBytes(file, many);
    ReadCashList(svc, work);
    EXPECT_EQ(svc.ArchiveCount, 32767);
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_TRUE(sameBytes(readBytes(file), many));
    writeBytes(file, "");  // an empty archive, written back as zero bytes
    EXPECT_TRUE(ReadCashList(svc, work));
    ASSERT_TRUE(WriteCashList(svc, work));
    EXPECT_EQ(std::to_string(svc.ArchiveCount) + readBytes(file), "-1");
}

TEST_F(CashList, UnreadableCacheGivesAnEmptyArchiveAndAFailedWriteLeavesTheOldFile) {
    const std::string file = in("CashList.kvx");
    std::filesystem::create_directory(file);
    svc.ArchiveCount = 0;
    EXPECT_FALSE(ReadCashList(svc, work));  // so the caller does not write it back
    EXPECT_EQ(svc.ArchiveCount, -1);
    std::filesystem::remove(file);
    writeBytes(file, "old.mp3\r\n");
    setArchive({std::string(4096, 'n') + ".mp3"});
    EXPECT_FALSE(underFileSizeLimit(100, [&] { return WriteCashList(svc, work); }));
    EXPECT_EQ(readBytes(file), "old.mp3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work), {}), 3) << "temporary file left behind";
}

using Playlists = WorkFolder;

// Lines beyond the reachable entries are kept until the next load; an empty list is zero bytes.
TEST_F(Playlists, SaveAndLoadKeepTheLinesBeyondTheReachableEntriesUntilTheNextLoad) {
    const std::string many = numberedLines(70000);
    writeBytes(music + "Long.m3u", many);
    writeBytes(music + "Empty.m3u", "");
    LoadPlaylist(svc, "Long.m3u");
    EXPECT_EQ(svc.ListName + " " + std::to_string(svc.CustomCount) + " " + svc.CustomSongs[1],
              "Long.m3u 32767 song 1.mp3");
    ASSERT_EQ(SavePlaylist(svc, "Empty"), SaveResult::Saved);
    EXPECT_TRUE(sameBytes(readBytes(music + "Empty.m3u"), many));
    writeBytes(music + "Empty.m3u", "");
    LoadPlaylist(svc, "Empty.m3u");
    EXPECT_EQ(svc.CustomCount, -1);
    ASSERT_EQ(SavePlaylist(svc, ""), SaveResult::Saved);  // the empty name writes ".m3u"
    EXPECT_EQ(readBytes(music + ".m3u"), "");
}

// No file for a bad name, nor an empty list over a playlist with songs ("ALARM" would go silent).
TEST_F(Playlists, RefusedSavesWriteNothing) {
    writeBytes(music + "a.m3u", "old.mp3\r\n");
    writeBytes(music + "b.m3u", "");
    setCustom({"new.mp3"});
    for (const std::string& name : Lines{"a/b", "x\ty", "a\x7f", std::string("a\0", 2), "../a"})
        EXPECT_EQ(SavePlaylist(svc, name), SaveResult::Failed) << name;
    setCustom({});
    EXPECT_EQ(SavePlaylist(svc, "a"), SaveResult::Kept);
    EXPECT_EQ(SavePlaylist(svc, "b"), SaveResult::Saved);  // an empty playlist may stay empty
    EXPECT_EQ(readBytes(music + "a.m3u"), "old.mp3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(music), {}), 2);  // no stray temporary file
    svc.Mp3Path = music + "away/";
    EXPECT_EQ(SavePlaylist(svc, "c"), SaveResult::Failed);
}

// ".m3u" or ".m3u8" of any case, the empty name too; a missing file keeps the list's first entry only.
TEST_F(Playlists, ListingOrderIsUpperCasedCharacterCodesAndAMissingFileKeepsTheOldEntries) {
    for (const char* name : {"mix2.m3u", "_x.m3u", "Mix.m3u", "ALARM.m3u", "b.M3U", "song.mp3", ".m3u", "Other.M3U8"})
        writeBytes(music + name, "");
    svc.Mp3Path.clear();
    ListPlaylists(svc, work);
    EXPECT_EQ(upTo(svc.PlaylistNames, svc.PlaylistCount),
              (Lines{".m3u", "ALARM.m3u", "b.M3U", "Mix.m3u", "mix2.m3u", "Other.M3U8", "_x.m3u"}));
    setCustom({"one.mp3", "two.mp3"});
    LoadPlaylist(svc, "Deleted.m3u");
    EXPECT_EQ(svc.ListName + " " + std::to_string(svc.CustomCount) + " " + svc.CustomSongs[0], "Deleted.m3u 0 one.mp3");
}

// Playlist lines that are songs: #EXTM3U has directives, comments and blank lines, a plain one
// "#EXT" directives only; music-folder paths become relative, local file:// URLs decoded.
TEST_F(Playlists, LinesOfOtherPlayersGiveTheirLocalSongsOnly) {
    writeBytes(music + "a\\b.mp3", "");
    const std::pair<std::string, Lines> cases[] = {
        {"#EXTM3U\r\n#EXTINF:5,A - B\r\n\r\n# note\r\n#1.mp3\r\nx.mp3", {"x.mp3"}},
        {"\xEF\xBB\xBF#EXTM3U\n#PLAYLIST:p\ny.mp3\n", {"y.mp3"}},
        {"\xEF\xBB\xBFy.mp3\r#EXTINF:5,A\r\n\r# 1.mp3\r\n", {"y.mp3", "", "# 1.mp3"}},
        {music + "Sub/x.mp3\n/other/x.mp3\n" + music + "\n" + music + "/x.mp3\n" + music + ".//y.mp3",
         {"Sub/x.mp3", "/other/x.mp3", music, music + "/x.mp3", "y.mp3"}},
        {"file://" + music + "%C3%A9t%C3%A9%20x.mp3\nfile:///o/\xC3\xA9%2a.mp3\nFILE://LocalHost/b%zz%4%00%0a%0D%41",
         {"\xC3\xA9t\xC3\xA9 x.mp3", "/o/\xC3\xA9*.mp3", "/b%zz%4%00%0a%0DA"}},
        {"http://radio/x.mp3\nsmb:///x.mp3\nfile://nas/x.mp3\nfile://localhost\nSub/a://b.mp3\n://c.mp3",
         {"Sub/a://b.mp3", "://c.mp3"}},
        {"././/x.mp3\n./\n./#1.mp3\nSub/./y.mp3\na\\b.mp3\nSub\\c.mp3\n.\\d.mp3\n/e\\f.mp3",
         {"x.mp3", "./", "#1.mp3", "Sub/./y.mp3", "a\\b.mp3", "Sub/c.mp3", "d.mp3", "/e\\f.mp3"}},
    };
    for (const auto& [bytes, songs] : cases) {
        writeBytes(music + "t.m3u", bytes);
        LoadPlaylist(svc, "t.m3u");
        EXPECT_EQ(upTo(svc.CustomSongs, svc.CustomCount), songs) << bytes;
    }
}

// Another player's playlist saved again keeps its header and each kept entry's lines before it;
// "#..." entries go out as "./#...". A plain playlist loaded next leaves nothing of it behind.
TEST_F(Playlists, SavingKeepsTheHeaderAndTheLinesOfTheEntriesLeft) {
    writeBytes(music + "Other.m3u8", "#EXTM3U x\n#EXTINF:1,A\na.mp3\n#EXTINF:2,B\nhttp://radio\n#EXTINF:3,B\n" + music +
                                         "b.mp3\n#EXTINF:4,C\nc.mp3\n# end\n");
    LoadPlaylist(svc, "Other.m3u8");
    removeFromCustomList(svc, 2);
    appendToCustomList(svc, "#d.mp3");
    appendToCustomList(svc, "x://e.mp3");
    appendToCustomList(svc, "a.mp3");
    ASSERT_EQ(SavePlaylist(svc, "Saved"), SaveResult::Saved);
    EXPECT_EQ(readBytes(music + "Saved.m3u"),
              "#EXTM3U x\r\n#EXTINF:1,A\r\na.mp3\r\n#EXTINF:2,B\r\nhttp://radio\r\n#EXTINF:3,B\r\nb.mp3\r\n"
              "./#d.mp3\r\n./x://e.mp3\r\n#EXTINF:1,A\r\na.mp3\r\n# end\r\n");
    LoadPlaylist(svc, "Saved.m3u");
    EXPECT_EQ(upTo(svc.CustomSongs, svc.CustomCount), (Lines{"a.mp3", "b.mp3", "#d.mp3", "x://e.mp3", "a.mp3"}));
    writeBytes(music + "Plain.m3u", "a.mp3\r\n#EXTINF:9,Z\r\na.mp3\r\n");
    LoadPlaylist(svc, "Plain.m3u");
    ASSERT_EQ(SavePlaylist(svc, "Saved"), SaveResult::Saved);
    EXPECT_EQ(readBytes(music + "Saved.m3u"), "#EXTINF:9,Z\r\na.mp3\r\n#EXTINF:9,Z\r\na.mp3\r\n");
}

// Mp3Path.kvx's first line as it is (empty: "music/"); Video.kvx pairs of lines; any case of name.
TEST(MediaPaths, MusicFolderAndVideosFromTheirFiles) {
    const std::string home = defaultMusicFolder();
    ASSERT_TRUE(!home.empty() && home.back() == '/') << home;
    std::string many;
    for (int i = 0; i < 205; ++i) many += "Video " + std::to_string(i) + "\r\n/v/" + std::to_string(i) + ".avi\r\n";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"", "", home + " -1"},
        {"mp3path.KVX", "/srv/songs\r\n/other/\r\n", "/srv/songs -1"},  // no separator is added
        {"Mp3Path.kvx", "\r\n/ignored/\r\n", "music/ -1"},
        {"video.KVX", "One\r\n/v/1.avi\r\nTwo", home + " 1 Two|"},  // odd line count: the last file is empty
        {"Video.kvx", many, home + " 200 Video 200|/v/200.avi"},    // pairs beyond the table are not used
    };
    for (const auto& [name, bytes, loaded] : cases) {
        QTemporaryDir dir;
        const std::string work = dir.path().toStdString();
        if (!name.empty()) writeBytes(work + "/" + name, bytes);
        KelvornSERVICE svc;
        svc.VideoCount = 3;
        svc.VideoFile.assign(2, "stale");
        LoadVideoList(svc, work);
        const std::string last = svc.VideoCount < 0 ? "" : " " + svc.VideoName.back() + "|" + svc.VideoFile.back();
        EXPECT_EQ(svc.Mp3Path + " " + std::to_string(svc.VideoCount) + last, loaded) << name;
        EXPECT_TRUE(svc.VideoName.size() <= kVideoSlots && svc.VideoFile.size() <= kVideoSlots) << name;
    }
}

// Only a real extension is cut, folders included.
TEST(EntryText, TheExtensionGoesAndNothingElse) {
    for (const auto& [entry, shown] : {std::pair{"Song.mp3", "Song"},
                                       {"Artist/Album/01 Title.flac", "Artist/Album/01 Title"},
                                       {"b.OPUS", "b"},
                                       {"List.m3u8", "List"}})
        EXPECT_EQ(entryText(entry).toStdString(), shown) << entry;
    for (const char* whole : {"No. 5", "Vol.2", "Vol.1/Intro", ".mp3", "a/.ogg", "Intro", "x.jpeg2"})
        EXPECT_EQ(entryText(whole).toStdString(), whole);
}

using AlphaSearchResults = WorkFolder;

TEST_F(AlphaSearchResults, UpperCasedNameWithoutExtension) {
    setArchive({"Love Me Tender.mp3", "Abba - SOS.mp3", "GLOVES.mp3", "AB CD.mp3", "MP3 Mix.mp3",
                "\xC3\xA9t\xC3\xA9.mp3", "\xE9t\xE9 bis.mp3", "AB", "ABCD", "AB\xC3\xA9"});
    const std::pair<const char*, std::vector<int16_t>> cases[] = {
        {"LOVE", {0, 2}},
        {"MP3", {4}},                   // never found through the extension
        {"B_C", {3}},                   // "_" is a space
        {"\xC3\x89T\xC3\x89", {5, 6}},  // UTF-8 and Latin-1 names alike
        {"\xC9T\xC9", {5, 6}},          // a typed text that is not UTF-8 is read as Latin-1
        {"AB", {1, 3, 7, 8, 9}},        // names without an extension are searched whole
        {"\xC3\x89", {5, 6, 9}},
        {"", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& [text, indices] : cases) {
        AlphaSearch(svc, text);
        const auto found = svc.TmpIdx.begin() + svc.TmpCount + 1;
        EXPECT_EQ(std::vector<int16_t>(svc.TmpIdx.begin(), found), indices) << '"' << text << '"';
        for (size_t k = 0; k < indices.size(); ++k)  // each result names its archive entry
            EXPECT_EQ(svc.TmpSongs.at(k), svc.ArchiveList.at(static_cast<size_t>(indices[k]))) << text;
    }
}

TEST_F(AlphaSearchResults, AFullArchiveStaysInsideTheSixteenBitCount) {
    setArchive(Lines(kReachableEntries, "Same Song.mp3"));
    AlphaSearch(svc, "SONG");
    EXPECT_EQ(svc.TmpCount, kReachableEntries - 1);
    EXPECT_EQ(svc.TmpIdx.at(kReachableEntries - 1), kReachableEntries - 1);
}

}  // namespace
}  // namespace kelvorn
