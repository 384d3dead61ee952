// SPDX-License-Identifier: GPL-3.0-or-later
// The libmpv player on a freshly made song, the alarm tone, the loader and the sound output.
#include "mpv/mpv_player.h"
#include "mpv/alarm_tone.h"
#include "mpv/mpv_library.h"
#include "mpv/sound_output.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "fakes/wait_for.h"

namespace kelvorn {
namespace {

// For what must not happen: true when `fault` never held within the time.
bool neverWithin(auto fault, int ms = 300) { return !waitFor(fault, ms); }

class MpvPlayerTest : public ::testing::Test {
protected:
    // A two-second tagged MP3 made once with sox and lame; a copy is memory:/x.mp3.
    void SetUp() override {
        static const bool made = [] {
            const QString wav = dir_.filePath("song.wav"), song = dir_.filePath("song.mp3");
            return QProcess::execute("sox", {"-n", "-r", "44100", "-c", "2", wav, "synth", "2", "sine", "440"}) == 0 &&
                   QProcess::execute("lame", {"--quiet", "--ta", "Band", "--tt", "Song", "--tl", "Album", wav, song}) ==
                       0 &&
                   QDir(dir_.path()).mkdir("memory:") && QFile::copy(song, dir_.filePath("memory:/x.mp3"));
        }();
        if (!made) GTEST_SKIP() << "could not make the test song (sox and lame are needed)";
    }
    static std::string path(const char* name) { return dir_.filePath(name).toStdString(); }
    static bool opened(MpvPlayer& p, const std::string& file = {}) {
        if (!file.empty()) p.open(file);
        return waitFor([&] { return p.openState() == MediaPlayer::Open || p.openFailed(); }) &&
               p.openState() == MediaPlayer::Open;
    }
    // Opens the song and plays it until its position passes `seconds`.
    static bool playsPast(MpvPlayer& p, double seconds) {
        if (!opened(p, path("song.mp3"))) return false;
        p.play();
        return waitFor([&] { return p.position() > seconds; });
    }
    // Plays the open song to its end without an error, noting the lowest and highest position.
    bool playsToEnd(MpvPlayer& p) {
        p.play();
        lowest = 1e9;
        highest = 0;
        return p.playState() == MediaPlayer::Playing && waitFor([&] {
                   if (p.playState() != MediaPlayer::Playing) return true;
                   if (p.position() > 0) lowest = std::min(lowest, p.position());
                   highest = std::max(highest, p.position());
                   return false;
               }) &&
               p.playState() == MediaPlayer::Stopped && !p.openFailed() && p.errorLogCount() == 0;
    }

    static inline QTemporaryDir dir_;
    MpvPlayer player;
    double lowest = 0, highest = 0;
};

// The tone needs no file. The silent output is never kept. A relative path stays a local file
// though it reads as a URL of mpv's in-memory protocol.
TEST_F(MpvPlayerTest, ToneAndSongOpenInTheBackgroundPlayToTheEndAndStopClosesForGood) {
    player.playTone();
    ASSERT_TRUE(opened(player));
    ASSERT_TRUE(waitFor([&] { return player.position() > 1.2; }, 5000));
    EXPECT_TRUE(player.playState() == MediaPlayer::Playing && player.fileName().empty());
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    player.open("memory://x.mp3");
    EXPECT_EQ(player.openState(), MediaPlayer::Closed);
    ASSERT_TRUE(opened(player));
    EXPECT_EQ(player.fileName(), "memory://x.mp3");
    EXPECT_TRUE(
        waitFor([&] { return player.tags().artist + player.tags().title + player.tags().album == "BandSongAlbum"; }));
    ASSERT_TRUE(playsToEnd(player));
    EXPECT_GT(highest, 1.8);
    EXPECT_EQ(player.openState(), MediaPlayer::Open);
    EXPECT_NE(player.pinnedAudioOutput(), "null");
    player.play();  // after the end: the same song again
    EXPECT_TRUE(waitFor([&] { return player.position() > 0.2; }));
    QDir::setCurrent(old);
    player.stop();
    EXPECT_EQ(player.playState(), MediaPlayer::Stopped);
    EXPECT_TRUE(neverWithin([&] { return player.openState() != MediaPlayer::Closed || player.openFailed(); }));
}

// Without libavfilter's tone, the program's own file of it loops; the next song still ends.
TEST_F(MpvPlayerTest, ToneWithoutItsGeneratorPlaysItsFileInALoop) {
    player.setToneSource("av://lavfi:nosuchfilter");
    player.playTone();
    ASSERT_TRUE(waitFor([&] { return player.position() > 2.5; }, 5000));
    EXPECT_TRUE(waitFor([&] { return player.position() > 0 && player.position() < 1; }, 2000));
    EXPECT_TRUE(player.openState() == MediaPlayer::Open && player.playState() == MediaPlayer::Playing);
    ASSERT_TRUE(opened(player, path("song.mp3")));
    player.play();
    EXPECT_TRUE(waitFor([&] { return player.playState() == MediaPlayer::Stopped; }) && !player.openFailed());
}

TEST_F(MpvPlayerTest, PauseHoldsThePositionPlayGoesOnFromThereAndSeekLandsWhereAsked) {
    ASSERT_TRUE(playsPast(player, 0.3));
    player.pause();
    EXPECT_EQ(player.playState(), MediaPlayer::Paused);
    const double held = player.position();
    EXPECT_TRUE(neverWithin([&] { return std::abs(player.position() - held) > 0.05; }, 400));
    player.play();
    EXPECT_GT(player.position(), held - 0.05);  // resumed, not started again
    // A seek is the position at once; the old time (reported a moment longer) never shows again.
    player.setPosition(1.0);
    EXPECT_EQ(player.position(), 1.0);
    EXPECT_TRUE(neverWithin([&] { return player.position() < 0.99; }));
    player.pause();
    player.setPosition(1.5);
    EXPECT_EQ(player.position(), 1.5);
    EXPECT_TRUE(neverWithin([&] { return std::abs(player.position() - 1.5) > 0.01; }));
    ASSERT_TRUE(playsToEnd(player));
    EXPECT_GT(lowest, 1.49);
}

// mpv's volume is cubic: the gain reaches it as 100 * cbrt(gain), also in a core made later.
TEST_F(MpvPlayerTest, GainReachesTheCoreAsItsCubicVolume) {
    MpvPlayer later;
    later.setGain(0.125);
    ASSERT_TRUE(later.prepare() && player.prepare());
    // A synchronous read may come before the core took the last asynchronous write.
    auto reaches = [](MpvPlayer& p, double volume) {
        return waitFor([&] { return std::abs(p.mpvVolume() - volume) < 0.5; }, 1000);
    };
    EXPECT_TRUE(reaches(later, 50));
    for (const auto& [gain, volume] : {std::pair{0.125, 50.0}, {1.0, 100.0}, {0.0, 0.0}, {2.0, 100.0}}) {
        player.setGain(gain);
        EXPECT_TRUE(reaches(player, volume)) << gain << " gave " << player.mpvVolume();
    }
}

// A core that goes away takes the player with it: no second core behind a bound picture.
TEST_F(MpvPlayerTest, CoreThatQuitsLeavesThePlayerFailedForGood) {
    for (const auto kind : {MpvPlayer::Kind::Songs, MpvPlayer::Kind::Video}) {
        MpvPlayer quitting(kind);
        ASSERT_TRUE(playsPast(quitting, 0.1));
        quitting.quitCore();
        ASSERT_TRUE(waitFor([&] { return quitting.openFailed(); }, 2000));
        quitting.open(path("song.mp3"));
        EXPECT_TRUE(quitting.openFailed() && !quitting.prepare());
    }
}

TEST_F(MpvPlayerTest, MissingFileFailsQuicklyAndDoesNotSpoilTheNextOpen) {
    player.open(path("missing.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openFailed(); }, 2000));
    player.play();
    EXPECT_TRUE(player.openState() == MediaPlayer::Closed && player.playState() == MediaPlayer::Stopped);
    // The failure of a file replaced at once belongs to that file only...
    player.open(path("missing.mp3"));
    ASSERT_TRUE(opened(player, path("song.mp3")));
    EXPECT_TRUE(neverWithin([&] { return player.openFailed(); }));
    // ...and a good file replaced at once never makes the missing one look open.
    player.open(path("song.mp3"));
    player.open(path("missing.mp3"));
    ASSERT_TRUE(waitFor([&] { return player.openFailed(); }, 2000));
    EXPECT_TRUE(neverWithin([&] { return player.openState() != MediaPlayer::Closed; }));
}

// A player may go at any moment: nothing its core had queued reaches it; another plays on.
TEST_F(MpvPlayerTest, PlayerDestroyedAtAnyMomentLeavesNothingBehind) {
    ASSERT_TRUE(playsPast(player, 0));
    for (const std::string moment : {"never used", "core made", "loading", "playing"}) {
        SCOPED_TRACE(moment);
        auto gone = std::make_unique<MpvPlayer>();
        if (moment == "core made") {
            EXPECT_TRUE(gone->prepare());
        } else if (moment == "loading") {
            gone->open(path("song.mp3"));
        } else if (moment == "playing") {
            ASSERT_TRUE(playsPast(*gone, 0.1));
        }
        gone.reset();
    }
    ASSERT_TRUE(waitFor([&] { return player.playState() == MediaPlayer::Stopped; }));  // the queued events run
    EXPECT_TRUE(!player.openFailed() && player.errorLogCount() == 0);
}

// A FIFO nobody writes (a disk asleep): never waited on, given up at once, the next song on a
// fresh core, the old core ending once the read returns.
TEST_F(MpvPlayerTest, FileThatNeverAnswersIsGivenUpWithoutWaiting) {
    const std::string fifo = path("stuck.mp3");
    ::unlink(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);  // there, and never writes
    ASSERT_GE(writer, 0);
    player.open(fifo);
    EXPECT_TRUE(neverWithin([&] { return player.openState() != MediaPlayer::Closed || player.openFailed(); }, 1000));
    const auto start = std::chrono::steady_clock::now();
    player.abandon();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_TRUE(player.openFailed() && player.playState() == MediaPlayer::Stopped);
    EXPECT_EQ(MpvPlayer::abandonedCores(), 1);
    player.open(fifo);  // again, and replaced while it hangs: that core is left too
    EXPECT_TRUE(playsPast(player, 0.2));
    ::close(writer);
    EXPECT_TRUE(waitFor([] { return MpvPlayer::abandonedCores() == 0; }));
}

// Three seconds of 16-bit mono PCM at 44.1 kHz: each second half a second of 880 Hz at half scale.
TEST(AlarmTone, WavHoldsThreeSecondsOfHalfSecondBeeps) {
    const std::string wav = alarmToneWav();
    auto field = [&](size_t at, size_t size) {
        uint32_t value = 0;
        for (size_t i = size; i-- > 0;) value = value << 8 | static_cast<uint8_t>(wav[at + i]);
        return value;
    };
    // Sizes 264636 and 264600; PCM, mono, 44100 Hz, 88200 bytes a second, frames of 2 bytes, 16 bits.
    EXPECT_EQ(wav.substr(0, 44), std::string("RIFF\xBC\x09\x04\0WAVEfmt \x10\0\0\0\1\0\1\0\x44\xAC\0\0\x88\x58\1\0\2\0"
                                             "\x10\0data\x98\x09\x04\0",
                                             44));
    EXPECT_EQ(wav.size(), 44u + 264600);
    auto sample = [&](uint32_t n) { return static_cast<int16_t>(field(44 + 2 * n, 2)); };
    int signChanges = 0, peak = 0, sounding = 0, differing = 0;
    for (uint32_t n = 1; n < 44100; ++n) {
        if (n < 22050) signChanges += (sample(n - 1) < 0) != (sample(n) < 0);
        peak = std::max(peak, std::abs(sample(n)));
        sounding += n >= 22050 && sample(n) != 0;
        differing += sample(n) != sample(n + 44100) || sample(n) != sample(n + 88200);
    }
    EXPECT_NEAR(signChanges, 880, 2);
    EXPECT_NEAR(peak, 16384, 2);
    EXPECT_EQ(sounding, 0);
    EXPECT_EQ(differing, 0);
}

// Every function the players use is found, in a library of the headers' major version.
TEST(MpvLibrary, LoadsEveryFunctionAndRefusesAnotherMajorVersion) {
    const mpv::Api* api = mpv::api();
    ASSERT_NE(api, nullptr);
    const auto members = std::bit_cast<std::array<std::uintptr_t, sizeof(mpv::Api) / sizeof(std::uintptr_t)>>(*api);
    for (size_t i = 0; i < members.size(); ++i) EXPECT_NE(members[i], 0u) << "member " << i;
    const unsigned long major = MPV_CLIENT_API_VERSION >> 16;
    EXPECT_TRUE(mpv::supportsClientApi(api->client_api_version()) &&
                mpv::supportsClientApi(MPV_MAKE_VERSION(major, 0)) &&
                mpv::supportsClientApi(MPV_MAKE_VERSION(major, 9)));
    for (const unsigned long other : {MPV_MAKE_VERSION(major - 1, 109), MPV_MAKE_VERSION(major + 1, 0), 0ul})
        EXPECT_FALSE(mpv::supportsClientApi(other)) << std::hex << other;
}

// Only a device someone hears is kept as the sound output.
TEST(SoundOutput, NullFileAndSdlDummyOutputsAreNoDevice) {
    EXPECT_TRUE(isRealSoundOutput("pulse", nullptr) && isRealSoundOutput("alsa", "dummy") &&
                isRealSoundOutput("sdl", nullptr) && isRealSoundOutput("sdl", "pulseaudio,dummy"));
    for (const char* sdl : {"dummy", "DISK", " dummy,alsa"}) EXPECT_FALSE(isRealSoundOutput("sdl", sdl)) << sdl;
    EXPECT_FALSE(isRealSoundOutput("null", nullptr) || isRealSoundOutput("pcm", nullptr) ||
                 isRealSoundOutput("", nullptr));
}

}  // namespace
}  // namespace kelvorn
