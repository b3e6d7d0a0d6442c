// Predict-all of a whole JRA-VAN race day: 36 races read from the race card,
// loaded against a horse file of 20,000 horses, scored and written as sports
// pages with the menu, bets summary and index, through the archive race
// source and through the reference source that rescans the files on every
// call; predict-all of a card of 2,000 races against 100,000 horses. The
// newspaper set of the day (edition with past results) is timed too, and
// three parts of predict-all alone: reading every race of the big card,
// building the day's sports pages, and writing 2,000 page files without
// building them.
//
// Run: build/bench/paper_bench   (the data is written to a temporary folder)
//      build/bench/paper_bench --write-race-day FOLDER RACES HORSES   writes
//      the race card and horse file only, for whole-process comparisons of
//      `zelkor2k-cli predict-all` and `paper` with `cat` of the two files.

#include "archive/archive_race_source.h"
#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/scoring.h"
#include "html/newspaper_set.h"
#include "html/predict_all.h"
#include "html/sports_page.h"
#include "race/race_loader.h"
#include "race_day_files.h"
#include "support/rescan_race_source.h"
#include "support/silent_progress.h"
#include "text/file_io.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <vector>

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

void removeSets(const RaceDayFolder& d) {
    std::error_code ec;
    std::filesystem::remove_all(d.folder() + "HTML", ec);
}

// Predicts every race of `d`, through a new source each run (a job).
template <class Source> void predictDay(const RaceDayFolder& d, benchmark::State& state) {
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
        Source source(d.raceCard(), d.folder());
        races = 0;
        const Result<PredictedDay> day =
            predictAll({source, settings, d.folder(), prompt, progress, shell}, std::tm{},
                       [&](const JvRaceCard&, RaceSheet&) { ++races; });
        if (!day)
            state.SkipWithError("predict-all wrote nothing");
        benchmark::DoNotOptimize(day);
    }
    state.counters["races"] = races;
    state.counters["messages"] = prompt.messages;
}

void BM_PredictAllArchiveSource(benchmark::State& state) {
    predictDay<ArchiveRaceSource>(bench::raceDay(), state);
}
BENCHMARK(BM_PredictAllArchiveSource)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Reference source: every race read skips the earlier lines again, every
// horse read searches the horse file from its start.
void BM_PredictAllRescanning(benchmark::State& state) {
    predictDay<test::RescanRaceSource>(bench::raceDay(), state);
}
BENCHMARK(BM_PredictAllRescanning)->Unit(benchmark::kMillisecond)->Iterations(1);

// 2,000 races against 100,000 horses.
void BM_PredictAllBigCard(benchmark::State& state) {
    predictDay<ArchiveRaceSource>(bench::bigRaceCard(), state);
}
BENCHMARK(BM_PredictAllBigCard)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The newspaper set of all 36 races in the edition with five past runs.
void BM_NewspaperSetArchiveSource(benchmark::State& state) {
    const RaceDayFolder& d = bench::raceDay();
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
        ArchiveRaceSource source(d.raceCard(), d.folder());
        if (!writeNewspaperSet({source, settings, d.folder(), prompt, progress, shell}, all))
            state.SkipWithError("the newspaper set wrote nothing");
    }
    state.counters["messages"] = prompt.messages;
}
BENCHMARK(BM_NewspaperSetArchiveSource)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The parts of predict-all without the horse file and the page files: every
// race of the big card read from the card ...
void BM_ReadEveryRace(benchmark::State& state) {
    const RaceDayFolder& d = bench::bigRaceCard();
    SilentPrompt prompt;
    ArchiveRaceSource source(d.raceCard(), d.folder());
    const int count = source.raceCount(prompt);
    JvRaceCard race;
    for (auto _ : state)
        for (int r = 1; r <= count; ++r)
            benchmark::DoNotOptimize(source.readRace(race, r, prompt));
    state.counters["races"] = count;
}
BENCHMARK(BM_ReadEveryRace)->Unit(benchmark::kMillisecond);

// ... and the sports pages of the day's races, loaded and scored once.
void BM_SportsPages(benchmark::State& state) {
    const RaceDayFolder& d = bench::raceDay();
    const AppSettings settings = defaultSettings();
    SilentPrompt prompt;
    ArchiveRaceSource source(d.raceCard(), d.folder());
    std::vector<RaceSheet> sheets;
    JvRaceCard race;
    for (int r = 1; r <= kRaces; ++r) {
        if (!source.readRace(race, r, prompt))
            continue;
        sheets.emplace_back();
        loadJvRace(sheets.back(), race, source, prompt);
        scoreRace(sheets.back());
    }
    size_t bytes = 0;
    for (auto _ : state)
        for (const RaceSheet& sheet : sheets)
            bytes += buildSportsPage(sheet, settings, d.folder(), std::tm{}).size();
    benchmark::DoNotOptimize(bytes);
    state.counters["pages"] = static_cast<double>(sheets.size());
}
BENCHMARK(BM_SportsPages)->Unit(benchmark::kMicrosecond);

// ... and the files of the big card's pages alone: 2,000 pages of 17 KB
// written into a fresh folder as predict-all writes them, with nothing built.
// What creating and filling the files costs the system, whatever the program
// does (TMPDIR=/dev/shm times it on tmpfs).
void BM_PageFilesAlone(benchmark::State& state) {
    std::string base = (std::filesystem::temp_directory_path() / "zelkor-pages-XXXXXX").string();
    if (::mkdtemp(base.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string page(17 * 1024, 'x');
    const std::string folder = base + "/set/";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        state.ResumeTiming();
        const PageFolder pages(folder);
        for (int p = 1; p <= 2000; ++p)
            if (!pages.write("Jvzel2026-0105_" + std::to_string(p) + "R.html", page))
                state.SkipWithError("a page was not written");
    }
    std::filesystem::remove_all(base);
}
BENCHMARK(BM_PageFilesAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--write-race-day") == 0) {
        std::string folder = argv[2];
        if (!folder.ends_with('/'))
            folder += '/';
        const int races = std::atoi(argv[3]);
        const int horses = std::atoi(argv[4]);
        if (races < 1 || horses < 1 || !zelkor::bench::writeRaceDay(folder, races, horses)) {
            std::fprintf(stderr, "cannot write a race day of %s races and %s horses into %s\n",
                         argv[3], argv[4], argv[2]);
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
