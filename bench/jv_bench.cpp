// Loading a whole JRA-VAN race day: all 36 races of a generated day, each
// read from the race card and loaded into a race sheet against a horse file
// of 20,000 horses (about 58 MB), with the indexed readers and with the
// reference readers that rescan the files on every call.
//
// Run: build/bench/jv_bench   (the data is written to a temporary folder)

#include "core/ports.h"
#include "core/race_sheet.h"
#include "jv/horse_file.h"
#include "jv/race_card.h"
#include "jv/race_loader.h"
#include "race_day_files.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace zelkor;

using bench::kRaces;
using bench::RaceDayFiles;
using bench::SilentPrompt;

const RaceDayFiles& files() {
    return bench::raceDay();
}

using RaceReader = bool (*)(JvRaceCard&, const std::string&, int, UserPrompt&, const std::string&);

// Loads every race of the day once; returns the runners loaded.
int loadDay(RaceReader readRaceWith, JvHorseReader readHorseWith, SilentPrompt& prompt) {
    const RaceDayFiles& day = files();
    int runners = 0;
    JvRaceCard card;
    RaceSheet sheet;
    for (int n = 1; n <= kRaces; ++n) {
        if (!readRaceWith(card, day.raceCard(), n, prompt, day.folder()))
            break;
        loadJvRace(sheet, card, prompt, readHorseWith);
        runners += sheet.runnerCount;
        benchmark::DoNotOptimize(sheet);
    }
    return runners;
}

// Indexed readers, the indexes built inside the timed run (as for the first
// day opened after an archive is unpacked).
void BM_LoadDayIndexedCold(benchmark::State& state) {
    files();
    SilentPrompt prompt;
    int runners = 0;
    for (auto _ : state) {
        forgetJvFileIndexes();
        runners = loadDay(&readRace, &readHorse, prompt);
    }
    state.counters["runners"] = runners;
    state.counters["messages"] = prompt.messages;
}
BENCHMARK(BM_LoadDayIndexedCold)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Indexed readers with the indexes already built (a second pass over the day).
void BM_LoadDayIndexedWarm(benchmark::State& state) {
    files();
    SilentPrompt prompt;
    loadDay(&readRace, &readHorse, prompt);
    int runners = 0;
    for (auto _ : state)
        runners = loadDay(&readRace, &readHorse, prompt);
    state.counters["runners"] = runners;
    state.counters["messages"] = prompt.messages;
}
BENCHMARK(BM_LoadDayIndexedWarm)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Reference readers: every race read skips the earlier lines again, every
// horse read searches the horse file from its start.
void BM_LoadDayRescanning(benchmark::State& state) {
    files();
    SilentPrompt prompt;
    int runners = 0;
    for (auto _ : state)
        runners = loadDay(&rescan::readRace, &rescan::readHorse, prompt);
    state.counters["runners"] = runners;
    state.counters["messages"] = prompt.messages;
}
BENCHMARK(BM_LoadDayRescanning)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
