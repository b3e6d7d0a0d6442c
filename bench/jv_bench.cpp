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
#include "support/jv_generator.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace zelkor;

constexpr int kRaces = 36;
constexpr int kHorses = 20000;

class SilentPrompt : public UserPrompt {
  public:
    void showMessage(const std::string&, const std::string&) override { ++messages; }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    int messages = 0;
};

// The generated day, written once for all benchmarks and removed at exit.
class RaceDayFiles {
  public:
    RaceDayFiles() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zelkor-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        folder_ = pattern + "/";
        test::JvRaceDay day = test::makeJvRaceDay(kRaces, kHorses, 7);
        if (!test::writeJvRaceCard(raceCard(), day.races) ||
            !test::writeJvHorseFile(folder_ + "JracUmaj.dat", day.horses))
            throw std::runtime_error("cannot write the race day");
    }
    ~RaceDayFiles() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string raceCard() const { return folder_ + "JracDen1.dat"; }
    const std::string& folder() const { return folder_; }

  private:
    std::string folder_;
};

const RaceDayFiles& files() {
    static const RaceDayFiles day;
    return day;
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
