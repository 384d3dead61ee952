// SPDX-License-Identifier: GPL-3.0-or-later
// The list browsers on a 32,768-entry archive: paging, letter jumps and FillList.
#include <benchmark/benchmark.h>

#include <QWidget>
#include <cstdio>
#include <memory>

#include "core/services.h"
#include "core/transitions.h"
#include "core/velmot_main.h"
#include "lists/full_list.h"
#include "mpv/mpv_player.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/random_source.h"
#include "platform/stage.h"
#include "platform/wave_volume.h"
#include "state/kelvorn_service.h"

namespace {

using namespace kelvorn;

// One full list over a whole archive, built once for every benchmark here.
struct ListRig {
    KelvornSERVICE svc;
    MpvPlayer player;
    QtEventPump pump{0};
    SystemClock clock;
    FixedSequenceRandom random;
    WaveVolume volume;
    TwipScale twips{1280, 720};
    Services services{svc, player, pump, clock, random, volume, twips, ".", nullptr, nullptr, {}};
    QWidget stage;
    std::unique_ptr<VelmotMAIN> main;
    std::unique_ptr<Transitions> transitions;
    std::unique_ptr<FullList> list;

    ListRig() {
        // 26 letter groups of about 1,260 names each: letter jumps cross whole groups.
        for (int i = 0; i < kReachableEntries; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "%c Artist %05d - Title.mp3", 'A' + i * 26 / kReachableEntries, i);
            svc.ArchiveList.push_back(name);
        }
        svc.ArchiveCount = static_cast<int16_t>(kReachableEntries - 1);
        main = std::make_unique<VelmotMAIN>(&stage, services);
        main->stopTimers();
        transitions = std::make_unique<Transitions>(&stage, services, *main);
        list = std::make_unique<FullList>(&stage, services, *transitions);
    }
    static ListRig& get() {
        static ListRig rig;
        return rig;
    }
};

// One key on the full list, from the middle of the archive.
void typeFromMiddle(benchmark::State& state, const char* key) {
    ListRig& rig = ListRig::get();
    for (auto _ : state) {
        state.PauseTiming();
        rig.list->AktListPos = 16000;
        rig.list->aktbutt = 0;
        state.ResumeTiming();
        rig.list->keyTyped(key);
    }
}

void BM_FillList(benchmark::State& state) {
    ListRig& rig = ListRig::get();
    rig.list->AktListPos = 16000;
    for (auto _ : state) rig.list->FillList();
}
void BM_PageDown(benchmark::State& state) { typeFromMiddle(state, "8"); }
void BM_LastPage(benchmark::State& state) { typeFromMiddle(state, "9"); }
void BM_NextLetterJump(benchmark::State& state) { typeFromMiddle(state, "7"); }
void BM_PreviousLetterJump(benchmark::State& state) { typeFromMiddle(state, "1"); }

BENCHMARK(BM_FillList)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDown)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LastPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NextLetterJump)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviousLetterJump)->Unit(benchmark::kMicrosecond);

}  // namespace
