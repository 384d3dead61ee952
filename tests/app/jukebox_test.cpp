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

// A working folder whose music folder holds b.mp3 and A.mp3, with the animation off, the
// mouse shown, "w" and "s" as up and down keys and the normal volume at 35. While it
// lives, the single-instance socket and lock are made in a private temporary folder.
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
        writeLinesAtomic(dir + "/gfxspeed.kvx", {"-1"});  // the start settings, named in any case
        writeLinesAtomic(dir + "/keys.KVX", {"w", "s"});
        writeLinesAtomic(dir + "/Mouse.kvx", {"1"});
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

// A cache that is there is read, not scanned: its songs are not the folder's, nor sorted.
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
        const KelvornSERVICE& state = rig.jukebox->state();
        EXPECT_EQ(rig.cache(), c.written);
        EXPECT_EQ(state.ArchiveCount, 1);
        EXPECT_TRUE(state.VolumeSet == 35 && state.GFXSpeed == -1 && state.MouseOn);
        EXPECT_EQ(state.KeyUp + state.KeyDown, "ws");
        EXPECT_FALSE(rig.jukebox->mainScreen().noticeVisible());
    }
}

// A folder in the cache's place is no cache: the start-up scans, and the failed write
// says NOT SAVED; with the music folder away too, no write is even tried.
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
