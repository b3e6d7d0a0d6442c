// The backtest over every past race of a horse file of 100,000 horses whose
// histories share races (about 288 MB): reading the file, rebuilding the
// races and predicting each as it stood before it was run, beside reading
// the file's bytes alone as `cat` does.
//
// Run: build/bench/backtest_bench   (the data is written to a temporary folder)
//      build/bench/backtest_bench --write-horse-file PATH   writes the file
//      only, for a whole-process comparison of `zelkor2k-cli backtest PATH`
//      with `cat PATH`.

#include "backtest/backtest.h"
#include "core/ports.h"
#include "race_day_files.h"
#include "support/jv_generator.h"
#include "support/silent_progress.h"
#include "support/temp_folder.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

using namespace zelkor;

using NoProgress = test::SilentProgress;

constexpr int kBacktestHorses = 100000;

bool writeSeason(const std::string& path, int* runs = nullptr) {
    const test::JvPastSeason season = test::makeJvPastSeason(kBacktestHorses, 9.0, 11);
    if (runs != nullptr)
        for (const test::JvHorseData& horse : season.horses)
            *runs += static_cast<int>(horse.runs.size());
    return test::writeJvHorseFile(path, season.horses);
}

// The horse file, written once and removed at exit.
class SeasonFile {
  public:
    SeasonFile() : folder_("zelkor-backtest") {
        if (!writeSeason(path(), &runs_))
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

// The floor: the file's bytes read in the blocks `cat` uses.
void BM_ReadBytesLikeCat(benchmark::State& state) {
    const SeasonFile& file = season();
    std::string buffer(128 * 1024, '\0');
    for (auto _ : state) {
        std::FILE* in = std::fopen(file.path().c_str(), "rb");
        size_t total = 0;
        for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
            total += n;
        std::fclose(in);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadBytesLikeCat)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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

// Reading the horses alone.
void BM_ReadPastHorses(benchmark::State& state) {
    const SeasonFile& file = season();
    bench::SilentPrompt prompt;
    PastHorses horses;
    for (auto _ : state) {
        if (!readPastHorses(file.path(), horses))
            state.SkipWithError("the horse file could not be read");
        benchmark::DoNotOptimize(horses);
    }
}
BENCHMARK(BM_ReadPastHorses)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Rebuilding and predicting alone, the horses already read.
void BM_BacktestHorsesRead(benchmark::State& state) {
    const SeasonFile& file = season();
    bench::SilentPrompt prompt;
    NoProgress progress;
    PastHorses horses;
    if (!readPastHorses(file.path(), horses))
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
    if (!backtestHorseFile(file.path(), {}, backtest, prompt, progress))
        state.SkipWithError("the horse file could not be read");
    for (auto _ : state)
        benchmark::DoNotOptimize(groupFigures(backtest.races));
}
BENCHMARK(BM_BacktestFigures)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-horse-file") == 0) {
        if (!writeSeason(argv[2])) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
