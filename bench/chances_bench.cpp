// The chance model over a generated ten-year store with a betting market
// (960 race days of three courses, 34,560 races): reading every race as it
// stood before it was run and fitting the model on all of them; then the
// chances of the last day with the model kept in the store; the last year
// walked forward with monthly refits.
//
// Run: build/bench/chances_bench   (the store is made once in the temporary
// folder, "zelkor-chances-bench/", and kept for later runs and for timing
// the whole command with /usr/bin/time -v build/bin/zelkor2k-cli value
// --date <last day> --program-folder /tmp/zelkor-chances-bench/)

#include "chances/chance_quality.h"
#include "chances/day_chances.h"
#include "store/jvdata_store.h"
#include "support/recording_prompt.h"
#include "support/season_store.h"
#include "support/silent_progress.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

using namespace zelkor;

struct BenchStore {
    std::string path;
    int lastDate = 0;
};

// The store is generated once; later runs read its last day from it, so they
// neither spend the time nor hold the memory of generating it again.
const BenchStore& benchStore() {
    static const BenchStore store = [] {
        const std::string folder =
            (std::filesystem::temp_directory_path() / "zelkor-chances-bench").string() + "/";
        BenchStore made{jvStorePath(folder), 0};
        if (!std::filesystem::exists(made.path)) {
            test::JvdSeasonPlan plan;
            plan.firstDate = 20150103;
            plan.days = 960;
            plan.coursesPerDay = 3;
            plan.horses = 12000;
            plan.stages = false;
            plan.market = true;
            plan.placeOdds = true;
            if (!test::importRecords(test::seasonRecords(plan), made.path))
                throw std::runtime_error("cannot make the store");
        }
        const Result<std::vector<StoreDate>> dates = readStoreDates(made.path);
        if (!dates || dates->empty())
            throw std::runtime_error("cannot read the store's days");
        for (const StoreDate& day : *dates)
            made.lastDate = std::max(made.lastDate, day.date);
        return made;
    }();
    return store;
}

// The peak resident memory of what runs between the two calls, in MB.
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
double peakMemoryMb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

void BM_FitTenYears(benchmark::State& state) {
    const BenchStore& store = benchStore();
    size_t races = 0;
    resetPeakMemory();
    for (auto _ : state) {
        test::RecordingPrompt prompt;
        test::SilentProgress progress;
        std::vector<RaceSample> history;
        if (!readRaceSamples(store.path, 0, store.lastDate - 1, history, prompt, progress) ||
            !fitChanceModel(history))
            state.SkipWithError("the model could not be fitted");
        races = history.size();
    }
    state.counters["races"] = static_cast<double>(races);
    state.counters["peakMB"] = peakMemoryMb();
}
BENCHMARK(BM_FitTenYears)->Unit(benchmark::kSecond)->Iterations(1);

void BM_DayWithKeptModel(benchmark::State& state) {
    const BenchStore& store = benchStore();
    test::SilentProgress progress;
    // Keeps the model.
    Result<DayValues> day =
        valuesOfDay(store.path, store.lastDate, kDefaultValueThreshold, progress);
    if (!day)
        state.SkipWithError("the store could not be read");
    for (auto _ : state) {
        day = valuesOfDay(store.path, store.lastDate, kDefaultValueThreshold, progress);
        if (!day)
            state.SkipWithError("no chances for the day");
    }
    state.counters["races"] = day ? static_cast<double>(day->races.size()) : 0;
}
BENCHMARK(BM_DayWithKeptModel)->Unit(benchmark::kMillisecond);

// The chances of the store's last year as the returns backtest judges them:
// walk forward, the model fitted again at the start of every month.
void BM_WalkForwardYear(benchmark::State& state) {
    const BenchStore& store = benchStore();
    WalkForwardQuality year;
    resetPeakMemory();
    for (auto _ : state) {
        test::RecordingPrompt prompt;
        test::SilentProgress progress;
        if (!walkForwardQuality(store.path, store.lastDate - 10000, store.lastDate,
                                kDefaultValueThreshold, year, prompt, progress))
            state.SkipWithError("the store could not be read");
    }
    state.counters["races"] = static_cast<double>(year.races.size());
    state.counters["peakMB"] = peakMemoryMb();
}
BENCHMARK(BM_WalkForwardYear)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
