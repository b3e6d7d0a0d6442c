// The JV-Data store at real scale: one year of generated records (3,456
// races, about 48,000 SE, 3,456 HR and O1, 60,000 UM; about 133 MB) and ten
// years of them. Measures the import, the dates of the store, a day's race
// list and loading one 18-runner race with every runner's history from the
// ten-year store; reports the store's size against the records' size.
//
// Run: build/bench/jvdata_bench   (data in a temporary folder, made once;
// ZELKOR_JVDATA_YEARS=N sets the larger store's years, default 10)

#include "core/ports.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "support/jvdata_generator.h"
#include "support/silent_progress.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace zelkor;
namespace fs = std::filesystem;

class QuietPrompt : public UserPrompt {
  public:
    void doShowMessage(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    bool doAskYesNo(const std::string&, const std::string&) override { return false; }
};

const fs::path& benchFolder() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / "zelkor-jvdata-bench";
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

int years() {
    const char* text = std::getenv("ZELKOR_JVDATA_YEARS");
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : 10;
}

// The records of `n` years (96 race days of 36 races a year), written once.
struct Records {
    std::string path;
    long long bytes = 0;
    std::vector<int> dates;
};
Records recordsOf(int n) {
    Records records;
    records.path = (benchFolder() / ("records-" + std::to_string(n) + "y.dat")).string();
    test::JvdSeasonPlan plan;
    plan.firstDate = 20150103;
    plan.days = 96 * n;
    plan.weeksBetween = 1;
    plan.coursesPerDay = 3;
    plan.horses = 12000;
    plan.umPerHorse = 5;
    plan.stages = false;
    std::error_code ec;
    std::ofstream out(records.path, std::ios::binary | std::ios::trunc);
    test::JvdSeasonStats stats = test::writeJvdSeason(out, plan);
    records.bytes = stats.bytes;
    records.dates = stats.dates;
    return records;
}

const Records& oneYear() {
    static const Records records = recordsOf(1);
    return records;
}

const Records& manyYears() {
    static const Records records = recordsOf(years());
    return records;
}

void removeStore(const std::string& store) {
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(store + suffix);
}

bool importInto(const Records& records, const std::string& store) {
    QuietPrompt prompt;
    test::SilentProgress progress;
    ImportSummary summary;
    return importJvData({records.path}, store, summary, prompt, progress).ok();
}

std::string manyYearStore() {
    static const std::string store = [] {
        const std::string path = (benchFolder() / "store-many" / "jvdata.sqlite3").string();
        removeStore(path);
        importInto(manyYears(), path);
        return path;
    }();
    return store;
}

// Bytes of the records the store keeps (the newest version of each key,
// line ends counted), the measure its size is held against.
double keptBytes(const std::string& store) {
    auto opened = JvStore::open(store, JvStore::Mode::Read);
    double bytes = 0;
    for (const char* table : {"ra", "se", "um", "hr", "o1"}) {
        if (!opened)
            break;
        StoreStatement sum =
            (*opened)->prepare((std::string("SELECT sum(length(rec) + 2) FROM ") + table).c_str());
        if (sum.step())
            bytes += static_cast<double>(sum.integer(0));
    }
    return bytes;
}

void reportSize(benchmark::State& state, const Records& records, const std::string& store) {
    const auto storeBytes = static_cast<double>(fs::file_size(store));
    const double kept = keptBytes(store);
    state.counters["readMB"] = static_cast<double>(records.bytes) / 1e6;
    state.counters["keptMB"] = kept / 1e6;
    state.counters["storeMB"] = storeBytes / 1e6;
    state.counters["storeRatio"] = storeBytes / kept;
}

// Each iteration imports the records into a new store.
void importAnew(benchmark::State& state, const Records& records, const std::string& store) {
    for (auto _ : state) {
        state.PauseTiming();
        removeStore(store);
        state.ResumeTiming();
        if (!importInto(records, store))
            state.SkipWithError("import failed");
    }
    reportSize(state, records, store);
}

void BM_ImportOneYear(benchmark::State& state) {
    importAnew(state, oneYear(), (benchFolder() / "store-1" / "jvdata.sqlite3").string());
}
BENCHMARK(BM_ImportOneYear)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ImportManyYears(benchmark::State& state) {
    const std::string store = (benchFolder() / "store-timed" / "jvdata.sqlite3").string();
    importAnew(state, manyYears(), store);
    state.counters["years"] = years();
    removeStore(store);
}
BENCHMARK(BM_ImportManyYears)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_StoreDates(benchmark::State& state) {
    const std::string store = manyYearStore();
    std::vector<StoreDate> dates;
    for (auto _ : state) {
        Result<std::vector<StoreDate>> read = readStoreDates(store);
        if (!read)
            state.SkipWithError("no dates");
        else
            dates = std::move(*read);
    }
    state.counters["dates"] = static_cast<double>(dates.size());
}
BENCHMARK(BM_StoreDates)->Unit(benchmark::kMillisecond);

// The race list of the last day: open the day and read every race.
void BM_DayRaceList(benchmark::State& state) {
    const std::string store = manyYearStore();
    QuietPrompt prompt;
    for (auto _ : state) {
        auto source = openStoreDay(store, manyYears().dates.back());
        const int races = source ? (*source)->raceCount(prompt) : 0;
        JvRaceCard card;
        for (int r = 1; r <= races; ++r)
            static_cast<void>((*source)->readRace(card, r, prompt));
        benchmark::DoNotOptimize(card);
    }
}
BENCHMARK(BM_DayRaceList)->Unit(benchmark::kMillisecond);

// One 18-runner race of the last day with every runner's horse and history.
void BM_LoadRaceWithHistories(benchmark::State& state) {
    const std::string store = manyYearStore();
    QuietPrompt prompt;
    auto opened = openStoreDay(store, manyYears().dates.back());
    RaceSource* source = opened ? opened->get() : nullptr;
    int position = 0;
    JvRaceCard card;
    for (int r = 1; source && r <= source->raceCount(prompt) && position == 0; ++r)
        if (source->readRace(card, r, prompt) && raceLoadable(card) && card.runnerCount == 18)
            position = r;
    if (position == 0) {
        state.SkipWithError("no 18-runner race");
        return;
    }
    int runs = 0;
    for (auto _ : state) {
        auto day = openStoreDay(store, manyYears().dates.back());
        static_cast<void>((*day)->readRace(card, position, prompt));
        runs = 0;
        for (int k = 1; k <= card.runnerCount; ++k) {
            JvHorseRecord horse;
            static_cast<void>((*day)->readHorse(horse, card, k, prompt));
            for (const JvPastRun& run : horse.pastRuns)
                runs += run.present();
        }
    }
    state.counters["pastRuns"] = runs;
}
BENCHMARK(BM_LoadRaceWithHistories)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
