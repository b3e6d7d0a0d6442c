// Loading a whole JRA-VAN race day: all 36 races of a generated day, each
// read from the race card and loaded into a race sheet against a horse file
// of 20,000 horses (about 58 MB), and every race of a card of 2,000 races
// against 100,000 horses, through the archive race source (one per
// job, as every command makes) and through the reference source that
// rescans the files on every call.
//
// Run: build/bench/jv_bench   (the data is written to a temporary folder)

#include "archive/archive_race_source.h"
#include "core/ports.h"
#include "core/race_sheet.h"
#include "race/race_loader.h"
#include "race_day_files.h"
#include "support/rescan_race_source.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace zelkor;

using bench::RaceDayFiles;
using bench::SilentPrompt;

// Loads every race of the day once; returns the runners loaded.
int loadDay(RaceSource& source, SilentPrompt& prompt) {
    int runners = 0;
    JvRaceCard card;
    RaceSheet sheet;
    const int races = source.raceCount(prompt);
    for (int n = 1; n <= races; ++n) {
        if (!source.readRace(card, n, prompt))
            break;
        loadJvRace(sheet, card, source, prompt);
        runners += sheet.runnerCount;
        benchmark::DoNotOptimize(sheet);
    }
    return runners;
}

// A new source every run: the card read and the horse file indexed inside
// the timed run, as each command and each race selection does. Over the day,
// and over every race of a card of 2,000 races against 100,000 horses
// (288 MB).
void BM_LoadArchiveSource(benchmark::State& state, const RaceDayFiles& (*files)()) {
    const RaceDayFiles& day = files();
    SilentPrompt prompt;
    int runners = 0;
    for (auto _ : state) {
        ArchiveRaceSource source(day.raceCard(), day.folder());
        runners = loadDay(source, prompt);
    }
    state.counters["runners"] = runners;
    state.counters["messages"] = prompt.messages;
}
BENCHMARK_CAPTURE(BM_LoadArchiveSource, Day, &bench::raceDay)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK_CAPTURE(BM_LoadArchiveSource, BigCard, &bench::bigRaceCard)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// Reference source: every race read skips the earlier lines again, every
// horse read searches the horse file from its start.
void BM_LoadDayRescanning(benchmark::State& state) {
    const RaceDayFiles& day = bench::raceDay();
    SilentPrompt prompt;
    int runners = 0;
    for (auto _ : state) {
        test::RescanRaceSource source(day.raceCard(), day.folder());
        runners = loadDay(source, prompt);
    }
    state.counters["runners"] = runners;
    state.counters["messages"] = prompt.messages;
}
BENCHMARK(BM_LoadDayRescanning)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
