// SPDX-License-Identifier: GPL-3.0-or-later
// The archive on a folder of 32,768 songs: scan, sort, the cache file and the alpha search.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "library/alpha_search.h"
#include "library/archive_order.h"
#include "library/archive_scan.h"
#include "library/cash_list.h"
#include "library/playlists.h"
#include "platform/atomic_file.h"
#include "platform/event_pump.h"
#include "platform/text_file.h"
#include "state/kelvorn_service.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSongs = kelvorn::kReachableEntries;

// Artist numbers run in a scrambled order (7919 is odd, so i * 7919 mod 2^15 is a
// permutation), so neither the folder listing nor the name order is already sorted.
std::string songName(int i) {
    char name[64];
    std::snprintf(name, sizeof name, "Artist %05d - Title %05d.mp3", (i * 7919) % kSongs, i);
    return name;
}

std::vector<std::string> songNames() {
    std::vector<std::string> names;
    names.reserve(kSongs);
    for (int i = 0; i < kSongs; ++i) names.push_back(songName(i));
    return names;
}

// /tmp/kelvorn-bench-32768: music/ with the empty song files, scan/ a working folder
// whose music folder file points there, cache/ a working folder for the cache file.
// Made once; a marker file says the folder is complete.
struct BenchFolders {
    std::string music;
    std::string scanWork;
    std::string cacheWork;
};

const BenchFolders& benchFolders() {
    static const BenchFolders folders = [] {
        const fs::path root = fs::temp_directory_path() / "kelvorn-bench-32768";
        const fs::path marker = root / "complete";
        BenchFolders f{(root / "music").string() + "/", (root / "scan").string(), (root / "cache").string()};
        if (!fs::exists(marker)) {
            fs::remove_all(root);
            fs::create_directories(root / "music");
            fs::create_directories(root / "scan");
            fs::create_directories(root / "cache");
            for (const std::string& name : songNames()) std::ofstream(root / "music" / name);
            kelvorn::writeLinesAtomic((root / "scan" / "Mp3Path.kvx").string(), {f.music});
            std::ofstream(marker) << "ok\n";
        }
        return f;
    }();
    return folders;
}

// Stands in for the event loop: counts what the scan asks of it.
class CountingPump : public kelvorn::EventPump {
public:
    void pass() override { ++passes; }
    void yield() override { ++yields; }
    long passes = 0;
    long yields = 0;
};

void fillArchive(kelvorn::KelvornSERVICE& svc, const std::vector<std::string>& names) {
    for (int i = 0; i < static_cast<int>(names.size()); ++i)
        kelvorn::storeEntry(svc.ArchiveList, i, names[static_cast<size_t>(i)]);
    svc.ArchiveCount = kelvorn::clampCount(static_cast<long>(names.size()) - 1);
}

void BM_ScanArchive(benchmark::State& state) {
    const BenchFolders& folders = benchFolders();
    CountingPump pump;
    kelvorn::ScanProgress progress;
    for (auto _ : state) {
        kelvorn::KelvornSERVICE svc;
        kelvorn::ScanArchive(svc, folders.scanWork, pump, progress);
        benchmark::DoNotOptimize(svc.ArchiveList.data());
        if (svc.ArchiveCount != kSongs - 1) {
            state.SkipWithError("the scan did not find every song");
            break;
        }
    }
    state.counters["songs"] = kSongs;
    state.counters["yields"] = benchmark::Counter(static_cast<double>(pump.yields), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ScanArchive)->Unit(benchmark::kMillisecond);

void BM_SortArchiveOrder(benchmark::State& state) {
    const std::vector<std::string> names = songNames();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::string> copy = names;
        state.ResumeTiming();
        kelvorn::sortArchiveOrder(copy);
        benchmark::DoNotOptimize(copy.data());
    }
    state.counters["songs"] = kSongs;
}
BENCHMARK(BM_SortArchiveOrder)->Unit(benchmark::kMillisecond);

void BM_WriteCashList(benchmark::State& state) {
    const BenchFolders& folders = benchFolders();
    kelvorn::KelvornSERVICE svc;
    std::vector<std::string> names = songNames();
    kelvorn::sortArchiveOrder(names);
    fillArchive(svc, names);
    for (auto _ : state) {
        if (!kelvorn::WriteCashList(svc, folders.cacheWork)) {
            state.SkipWithError("the cache file could not be written");
            break;
        }
    }
    state.counters["songs"] = kSongs;
}
BENCHMARK(BM_WriteCashList)->Unit(benchmark::kMillisecond);

void BM_ReadCashList(benchmark::State& state) {
    const BenchFolders& folders = benchFolders();
    {
        kelvorn::KelvornSERVICE svc;
        fillArchive(svc, songNames());
        kelvorn::WriteCashList(svc, folders.cacheWork);
    }
    for (auto _ : state) {
        kelvorn::KelvornSERVICE svc;
        kelvorn::ReadCashList(svc, folders.cacheWork);
        benchmark::DoNotOptimize(svc.ArchiveList.data());
        if (svc.ArchiveCount != kSongs - 1) {
            state.SkipWithError("the cache did not read back every song");
            break;
        }
    }
    state.counters["songs"] = kSongs;
}
BENCHMARK(BM_ReadCashList)->Unit(benchmark::kMillisecond);

constexpr int kPlaylists = 2000;

// /tmp/kelvorn-bench-playlists: music/ with small playlist files in scrambled name
// order, work/ a working folder whose music folder file points there. Made once.
const std::string& playlistWork() {
    static const std::string work = [] {
        const fs::path root = fs::temp_directory_path() / "kelvorn-bench-playlists";
        const fs::path marker = root / "complete";
        if (!fs::exists(marker)) {
            fs::remove_all(root);
            fs::create_directories(root / "music");
            fs::create_directories(root / "work");
            for (int i = 0; i < kPlaylists; ++i) {
                char name[48];
                std::snprintf(name, sizeof name, "%s %04d.m3u", i % 2 ? "mix" : "Party", (i * 7919) % kPlaylists);
                std::ofstream(root / "music" / name) << "Artist - Title.mp3\r\n";
            }
            kelvorn::writeLinesAtomic((root / "work" / "Mp3Path.kvx").string(), {(root / "music").string() + "/"});
            std::ofstream(marker) << "ok\n";
        }
        return (root / "work").string();
    }();
    return work;
}

void BM_ListPlaylists(benchmark::State& state) {
    const std::string& work = playlistWork();
    kelvorn::KelvornSERVICE svc;
    for (auto _ : state) {
        kelvorn::ListPlaylists(svc, work);
        benchmark::DoNotOptimize(svc.PlaylistNames.data());
        if (svc.PlaylistCount != kPlaylists - 1) {
            state.SkipWithError("the listing did not find every playlist");
            break;
        }
    }
    state.counters["playlists"] = kPlaylists;
}
BENCHMARK(BM_ListPlaylists)->Unit(benchmark::kMillisecond);

void BM_AlphaSearch(benchmark::State& state) {
    kelvorn::KelvornSERVICE svc;
    std::vector<std::string> names = songNames();
    kelvorn::sortArchiveOrder(names);
    fillArchive(svc, names);
    // "123" occurs in 345 of the names (about 1 %), in the artist or the title number.
    for (auto _ : state) {
        kelvorn::AlphaSearch(svc, "123");
        benchmark::DoNotOptimize(svc.TmpIdx.data());
    }
    state.counters["songs"] = kSongs;
    state.counters["results"] = svc.TmpCount + 1;
}
BENCHMARK(BM_AlphaSearch)->Unit(benchmark::kMicrosecond);

}  // namespace
