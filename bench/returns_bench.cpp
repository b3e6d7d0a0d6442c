// The returns backtest over a generated ten-year store (960 race days of
// three courses, 34,560 races): every race rebuilt through the store's race
// source and the loader, scored, its tickets settled, then every figure
// with its bootstrap intervals.
//
// Run: build/bench/returns_bench   (the store is made once in the temporary
// folder, "zelkor-returns-bench/", and kept for later runs and for timing
// the whole command with /usr/bin/time -v build/bin/zelkor2k-cli backtest
// --from 20150103 --to 20261231 --program-folder /tmp/zelkor-returns-bench/)

#include "backtest/return_figures.h"
#include "backtest/returns_backtest.h"
#include "store/jvdata_store.h"
#include "support/recording_prompt.h"
#include "support/season_store.h"
#include "support/silent_progress.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <stdexcept>

namespace {

using namespace zelkor;

constexpr int kFirstDate = 20150103;

std::string storePath() {
    static const std::string path = [] {
        const std::string folder =
            (std::filesystem::temp_directory_path() / "zelkor-returns-bench").string() + "/";
        const std::string store = jvStorePath(folder);
        if (!std::filesystem::exists(store)) {
            test::JvdSeasonPlan plan;
            plan.firstDate = kFirstDate;
            plan.days = 960;
            plan.coursesPerDay = 3;
            plan.horses = 12000;
            plan.stages = false;
            if (!test::importRecords(test::seasonRecords(plan), store))
                throw std::runtime_error("cannot make the store");
        }
        return store;
    }();
    return path;
}

void backtestYears(benchmark::State& state, int years) {
    const std::string store = storePath();
    ReturnsBacktest backtest;
    for (auto _ : state) {
        test::RecordingPrompt prompt;
        test::SilentProgress progress;
        if (!backtestStoreReturns(store, kFirstDate, kFirstDate + years * 10000, backtest, prompt,
                                  progress))
            state.SkipWithError("the store could not be read");
        const ReturnFigures figures = returnFigures(backtest.races);
        benchmark::DoNotOptimize(figures);
    }
    state.counters["races"] = static_cast<double>(backtest.races.size());
}

void BM_ReturnsOneYear(benchmark::State& state) {
    backtestYears(state, 1);
}
BENCHMARK(BM_ReturnsOneYear)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ReturnsTenYears(benchmark::State& state) {
    backtestYears(state, 12);
}
BENCHMARK(BM_ReturnsTenYears)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
