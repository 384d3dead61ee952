// The real start-up on a temporary working folder, with the real (lazily started)
// players and window; the test ends where the program would enter its event loop.
#include "app/jukebox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <optional>

#include "core/velmot_main.h"
#include "platform/text_file.h"

using namespace kelvorn;

namespace {

// A working folder whose music folder holds b.mp3 and A.mp3, without animation and with
// the normal volume at 35. While it lives, the single-instance socket and lock are made
// in a private temporary folder.
struct StartRig {
    QTemporaryDir work, tmp;
    const std::string dir = work.path().toStdString();
    const std::optional<QByteArray> oldTmp =
        qEnvironmentVariableIsSet("TMPDIR") ? std::optional(qgetenv("TMPDIR")) : std::nullopt;
    std::optional<Jukebox> jukebox;

    StartRig() {
        QDir(work.path()).mkdir("music");
        for (const char* song : {"b.mp3", "A.mp3"}) writeFileAtomic(dir + "/music/" + song, "");
        writeLinesAtomic(dir + "/Mp3Path.kvx", {dir + "/music/"});
        writeLinesAtomic(dir + "/GFXSpeed.kvx", {"-1"});
        writeLinesAtomic(dir + "/Settings.kvx", {"07:00:00", "0", "0", " 35 ", " 60 ", " 20 "});
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    }
    ~StartRig() {
        jukebox.reset();  // the real destructor, after a start that never entered the event loop
        if (oldTmp) qputenv("TMPDIR", *oldTmp);
        else qunsetenv("TMPDIR");
    }
    bool start() { return jukebox.emplace(dir).start(); }
    std::string cache() const {
        std::string bytes;
        readFileBytes(dir + "/CashList.kvx", bytes);
        return bytes;
    }
};

}  // namespace

// Without a cache the music folder is scanned and the cache written, sorted, with CR LF;
// a cache that is there is read instead (its songs are not the folder's, nor sorted) and
// rewritten with the same lines. Either way the settings are read before the first
// volume is set, so the start-up plays at the normal volume.
TEST(JukeboxStart, ScansWithoutACacheReadsAndRewritesOneAndSetsTheNormalVolume) {
    const struct { const char* cache; const char* written; } cases[] = {
        {nullptr, "A.mp3\r\nb.mp3\r\n"},
        {"z.mp3\nb.mp3\n", "z.mp3\r\nb.mp3\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        StartRig rig;
        if (c.cache) writeFileAtomic(rig.dir + "/CashList.kvx", c.cache);
        ASSERT_TRUE(rig.start());
        EXPECT_EQ(rig.cache(), c.written);
        EXPECT_EQ(rig.jukebox->state().ArchiveCount, 1);
        EXPECT_EQ(rig.jukebox->state().VolumeSet, 35);
        EXPECT_FALSE(rig.jukebox->mainScreen().noticeVisible());
    }
}

// A cache that cannot be read (a folder of that name) is never replaced. The start-up
// scans the music folder instead and says NOT SAVED; with the music folder away too,
// the archive stays empty and no write is even tried.
TEST(JukeboxStart, AnUnreadableCacheIsNotWrittenBack) {
    for (const bool musicThere : {true, false}) {
        SCOPED_TRACE(musicThere ? "music folder there" : "music folder away");
        StartRig rig;
        std::filesystem::create_directory(rig.dir + "/CashList.kvx");
        if (!musicThere) std::filesystem::remove_all(rig.dir + "/music");
        ASSERT_TRUE(rig.start());
        EXPECT_TRUE(std::filesystem::is_directory(rig.dir + "/CashList.kvx"));
        EXPECT_EQ(rig.jukebox->state().ArchiveCount, musicThere ? 1 : -1);
        EXPECT_EQ(rig.jukebox->mainScreen().noticeVisible(), musicThere);
    }
}
