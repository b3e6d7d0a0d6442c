// The backtest over every past race of a horse file of 20,000 horses whose
// histories share races (about 97,000 run blocks, 58 MB): reading the file,
// rebuilding the races and predicting each as it stood before it was run.
//
// Run: build/bench/backtest_bench   (the data is written to a temporary folder)

#include "core/ports.h"
#include "jv/backtest.h"
#include "race_day_files.h"
#include "support/jv_generator.h"
#include "support/silent_progress.h"
#include "support/temp_folder.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

using namespace zelkor;

using NoProgress = test::SilentProgress;

// The horse file, written once and removed at exit.
class SeasonFile {
  public:
    SeasonFile() : folder_("zelkor-backtest") {
        const test::JvPastSeason season = test::makeJvPastSeason(bench::kHorses, 9.0, 11);
        for (const test::JvHorseData& horse : season.horses)
            runs_ += static_cast<int>(horse.runs.size());
        if (!test::writeJvHorseFile(path(), season.horses))
            throw std::runtime_error("cannot write the horse file");
    }

    std::string path() const { return folder_.file("JracUmaj.dat"); }
    int runs() const { return runs_; }

  private:
    test::TempFolder folder_;
    int runs_ = 0;
};

const SeasonFile& season() {
    static const SeasonFile file;
    return file;
}

// The whole command's work: read the file, rebuild, predict every race.
void BM_BacktestHorseFile(benchmark::State& state) {
    const SeasonFile& file = season();
    bench::SilentPrompt prompt;
    NoProgress progress;
    Backtest backtest;
    for (auto _ : state) {
        if (!backtestHorseFile(file.path(), {}, backtest, prompt, progress))
            state.SkipWithError("the horse file could not be read");
        benchmark::DoNotOptimize(backtest);
    }
    state.counters["runBlocks"] = file.runs();
    state.counters["racesUsed"] = static_cast<double>(backtest.races.size());
    state.counters["racesDropped"] = backtest.dropped.dropped();
}
BENCHMARK(BM_BacktestHorseFile)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Rebuilding and predicting alone, the horses already read.
void BM_BacktestHorsesRead(benchmark::State& state) {
    const SeasonFile& file = season();
    bench::SilentPrompt prompt;
    NoProgress progress;
    std::vector<JvHorseEntry> horses;
    if (!readEveryHorse(file.path(), horses, prompt))
        state.SkipWithError("the horse file could not be read");
    for (auto _ : state) {
        Backtest backtest = backtestHorses(horses, {}, progress);
        benchmark::DoNotOptimize(backtest);
    }
}
BENCHMARK(BM_BacktestHorsesRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Figures of every group over the predicted races.
void BM_BacktestFigures(benchmark::State& state) {
    const SeasonFile& file = season();
    bench::SilentPrompt prompt;
    NoProgress progress;
    Backtest backtest;
    backtestHorseFile(file.path(), {}, backtest, prompt, progress);
    for (auto _ : state)
        benchmark::DoNotOptimize(groupFigures(backtest.races));
}
BENCHMARK(BM_BacktestFigures)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

BENCHMARK_MAIN();
