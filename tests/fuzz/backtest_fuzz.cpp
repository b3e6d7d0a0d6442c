// The backtest over a hostile horse file: it ends, every race found is
// either used or dropped, and every rate and interval is a share.

#include "archive/horse_file.h"
#include "backtest/backtest.h"
#include "fuzz_support.h"

#include <set>
#include <tuple>
#include <vector>

namespace {

using namespace zelkor;

bool isShare(double value) {
    return value >= 0 && value <= 1;
}

void checkCount(const TicketCount& count) {
    ZELKOR_FUZZ_CHECK(count.hitRaces >= 0 && count.hitRaces <= count.races);
    ZELKOR_FUZZ_CHECK(count.hitTickets >= count.hitRaces && count.hitTickets <= count.tickets);
    ZELKOR_FUZZ_CHECK(count.tickets >= count.races);
    if (const std::optional<double> rate = count.rate()) {
        const Interval interval = raceInterval(count);
        ZELKOR_FUZZ_CHECK(isShare(*rate) && isShare(interval.low) && isShare(interval.high));
        ZELKOR_FUZZ_CHECK(interval.low <= *rate + 1e-9 && *rate <= interval.high + 1e-9);
    }
}

void checkFigures(const BacktestFigures& f) {
    for (const BacktestRow& row : backtestRows())
        checkCount(f.*row.count);
    for (size_t p = 0; p < f.rankPlace.size(); ++p) {
        checkCount(f.rankPlace[p]);
        checkCount(f.rankWin[p]);
    }
    ZELKOR_FUZZ_CHECK(f.chancePlace.has_value() == (f.races > 0));
    ZELKOR_FUZZ_CHECK(!f.chancePlace || isShare(*f.chancePlace));
    ZELKOR_FUZZ_CHECK(!f.chanceWin || isShare(*f.chanceWin));
}

// The distinct races the present runs name, each horse's repeats once.
size_t racesFound(const PastHorses& horses) {
    std::set<std::tuple<int, int, std::string_view, int, int, int>> races;
    for (const PastHorse& horse : horses)
        for (const JvPastRun& run : horse.presentRuns())
            races.emplace(run.year, run.monthDay, run.course(), run.meeting, run.meetingDay,
                          run.raceNumber);
    return races.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string path = fuzz::scratchFile("JracUmaj.dat", fuzz::bytesOf(data, size));
    PastHorses horses;
    const Outcome read = readPastHorses(path, horses);
    ZELKOR_FUZZ_CHECK(read.ok() == holdsWholeHorseRecords(size));
    ZELKOR_FUZZ_CHECK(read.ok() == read.message().empty());
    if (!read)
        return 0;
    const size_t found = racesFound(horses);
    // The default rules and the loosest, which keep the most races.
    for (const PastRaceRules& rules : {PastRaceRules{}, PastRaceRules{1, 0}}) {
        fuzz::NoProgress progress;
        const Backtest backtest = backtestHorses(horses, rules, progress);
        ZELKOR_FUZZ_CHECK(backtest.races.size() + static_cast<size_t>(backtest.dropped.dropped()) ==
                          found);
        for (const BacktestFigures& figures : groupFigures(backtest.races))
            checkFigures(figures);
    }
    return 0;
}
