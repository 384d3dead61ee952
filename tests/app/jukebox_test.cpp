// SPDX-License-Identifier: GPL-3.0-or-later
// The real start-up on a temporary working folder, up to where the event loop would start.
#include "app/jukebox.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <tuple>

#include "core/velmot_main.h"
#include "fakes/wait_for.h"
#include "platform/atomic_file.h"
#include "platform/text_file.h"

using namespace kelvorn;

// A cache is read, not scanned. A folder in its place: a scan, and NOT SAVED; with the music
// folder away too, no write at all and NO SONGS FOUND. The settings hold before the volume is set.
TEST(JukeboxStart, ReadsACacheOrScansAndNeverWritesBackWhatItCouldNotRead) {
    // The cache ("/": a folder in its place), the music folder there, the cache written, the last index.
    const std::tuple<const char*, bool, const char*, int> cases[] = {{nullptr, true, "A.mp3\r\nb.mp3\r\n", 1},
                                                                     {"z.mp3\nb.mp3\n", true, "z.mp3\r\nb.mp3\r\n", 1},
                                                                     {"/", true, "", 1},
                                                                     {"/", false, "", -1}};
    QTemporaryDir tmp;  // for the single-instance socket and lock
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    for (const auto& [cacheBytes, musicThere, written, archiveCount] : cases) {
        SCOPED_TRACE(std::string(cacheBytes ? cacheBytes : "no cache") + (musicThere ? "" : ", no music folder"));
        QTemporaryDir work;
        const std::string dir = work.path().toStdString(), cache = dir + "/CashList.kvx";
        // Animation off, mouse shown, "w"/"s" up and down, normal volume 35; file names in any case.
        std::filesystem::create_directory(dir + "/music");
        for (const char* song : {"b.mp3", "A.mp3"}) writeFileAtomic(dir + "/music/" + song, "");
        writeLinesAtomic(dir + "/Mp3Path.kvx", {dir + "/music/"});
        writeLinesAtomic(dir + "/gfxspeed.kvx", {"-1"});
        writeLinesAtomic(dir + "/keys.KVX", {"w", "s"});
        writeLinesAtomic(dir + "/Mouse.kvx", {"1"});
        writeLinesAtomic(dir + "/Settings.kvx", {"07:00:00", "0", "0", " 35 ", " 60 ", " 20 "});
        const bool cacheFolder = cacheBytes && std::string(cacheBytes) == "/";
        if (cacheFolder) std::filesystem::create_directory(cache);
        else if (cacheBytes) writeFileAtomic(cache, cacheBytes);
        if (!musicThere) std::filesystem::remove_all(dir + "/music");
        Jukebox jukebox(dir);  // its destructor runs after a start that never entered the event loop
        EXPECT_EQ(jukebox.start(), Jukebox::Started::Running);
        std::string bytes;
        readFileBytes(cache, bytes);
        EXPECT_EQ(bytes, written);
        EXPECT_EQ(std::filesystem::is_directory(cache), cacheFolder);
        const KelvornSERVICE& state = jukebox.state();
        EXPECT_EQ(state.ArchiveCount, archiveCount);
        EXPECT_EQ(jukebox.mainScreen().noticeVisible(), cacheFolder);
        EXPECT_EQ(jukebox.mainScreen().shown(VelmotMAIN::Field::Notice), !cacheFolder ? ""
                                                                         : musicThere ? kNotSaved
                                                                                      : kNoSongsFound);
        EXPECT_TRUE(state.VolumeSet == 35 && state.GFXSpeed == -1 && state.MouseOn);
        EXPECT_EQ(state.KeyUp + state.KeyDown, "ws");
    }
    qputenv("TMPDIR", oldTmp);
}

// A run of changes (1,001 shuffles) is written once, settled, holding the last.
TEST(JukeboxStart, ARunOfSettingChangesIsWrittenOnceSettled) {
    QTemporaryDir tmp, work;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    const std::string dir = work.path().toStdString(), settings = dir + "/Settings.kvx";
    writeLinesAtomic(dir + "/Mp3Path.kvx", {dir + "/"});
    writeLinesAtomic(dir + "/GFXSpeed.kvx", {"-1"});
    writeLinesAtomic(settings, {"07:00:00", "0", "0", "50", "60", "20"});
    const auto inode = [&] {
        struct stat st {};
        return ::stat(settings.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    Jukebox jukebox(dir);
    ASSERT_EQ(jukebox.start(), Jukebox::Started::Running);
    const ino_t before = inode();
    for (int i = 0; i < 1001; ++i) jukebox.mainScreen().command(MainCommand::Shuffle);
    EXPECT_EQ(inode(), before);
    ASSERT_TRUE(waitFor([&] { return inode() != before; }, 3000));
    const ino_t written = inode();
    std::vector<std::string> lines;
    readLines(settings, lines);
    EXPECT_EQ(lines.at(2), "1");
    EXPECT_FALSE(waitFor([&] { return inode() != written; }, 1000));
    qputenv("TMPDIR", oldTmp);
}
