// Predict-all of a whole JRA-VAN race day: 36 races read from the race card,
// loaded against a horse file of 20,000 horses, scored and written as sports
// pages with the menu, bets summary and index, with the indexed readers and
// with the reference readers that rescan the files on every call. The
// newspaper set of the same day (edition with past results) is timed too.
//
// Run: build/bench/paper_bench   (the data is written to a temporary folder)

#include "core/ports.h"
#include "core/race_sheet.h"
#include "html/newspaper_set.h"
#include "html/predict_all.h"
#include "jv/horse_file.h"
#include "jv/race_card.h"
#include "race_day_files.h"
#include "support/silent_progress.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace zelkor;

using bench::kRaces;
using bench::SilentPrompt;
using RaceDayFolder = bench::RaceDayFiles;

using NoProgress = test::SilentProgress;

class NoShell : public Shell {
  public:
    void openDocument(const std::string&) override { ++opened; }
    void openUrl(const std::string&) override {}
    int opened = 0;
};

const RaceDayFolder& day() {
    return bench::raceDay();
}

void removeSets(const RaceDayFolder& d) {
    std::error_code ec;
    std::filesystem::remove_all(d.folder() + "HTML", ec);
}

void predictDay(const PredictAllReaders& readers, benchmark::State& state, bool forgetIndexes) {
    const RaceDayFolder& d = day();
    const AppSettings settings = defaultSettings();
    SilentPrompt prompt;
    NoProgress progress;
    NoShell shell;
    int races = 0;
    for (auto _ : state) {
        // Each run writes a fresh set, as the first predict-all of a day does
        // (rewriting existing pages in place costs the file system more).
        state.PauseTiming();
        removeSets(d);
        state.ResumeTiming();
        if (forgetIndexes)
            forgetJvFileIndexes();
        RaceSheet sheet;
        JvRaceCard current;
        races = 0;
        const std::string index = predictAll(
            d.raceCard(), sheet, current, settings, d.folder(), std::tm{}, prompt, progress, shell,
            [&](const JvRaceCard&, RaceSheet&) { ++races; }, readers);
        if (index.empty())
            state.SkipWithError("predict-all wrote nothing");
        benchmark::DoNotOptimize(sheet);
    }
    state.counters["races"] = races;
    state.counters["messages"] = prompt.messages;
}

// Indexed readers, the indexes built inside the timed run (as right after
// an archive is unpacked).
void BM_PredictAllIndexedCold(benchmark::State& state) {
    predictDay(indexedPredictAllReaders(), state, true);
}
BENCHMARK(BM_PredictAllIndexedCold)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_PredictAllIndexedWarm(benchmark::State& state) {
    predictDay(indexedPredictAllReaders(), state, false);
}
BENCHMARK(BM_PredictAllIndexedWarm)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Reference readers: every race read skips the earlier lines again, every
// horse read searches the horse file from its start.
void BM_PredictAllRescanning(benchmark::State& state) {
    predictDay({&rescan::countRaces, &rescan::readRace, &rescan::readHorse}, state, false);
}
BENCHMARK(BM_PredictAllRescanning)->Unit(benchmark::kMillisecond)->Iterations(1);

// The newspaper set of all 36 races in the edition with five past runs.
void BM_NewspaperSetIndexedCold(benchmark::State& state) {
    const RaceDayFolder& d = day();
    AppSettings settings = defaultSettings();
    settings.paperEdition = 3;
    SilentPrompt prompt;
    NoProgress progress;
    NoShell shell;
    std::vector<int> all;
    for (int r = 1; r <= kRaces; ++r)
        all.push_back(r);
    for (auto _ : state) {
        state.PauseTiming();
        removeSets(d);
        state.ResumeTiming();
        forgetJvFileIndexes();
        if (writeNewspaperSet(d.raceCard(), all, settings, d.folder(), prompt, progress, shell)
                .empty())
            state.SkipWithError("the newspaper set wrote nothing");
    }
    state.counters["messages"] = prompt.messages;
}
BENCHMARK(BM_NewspaperSetIndexedCold)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
