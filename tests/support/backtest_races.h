#pragma once

// Hand-made races with known outcomes for the figures and the report page:
// a turf race up to 1600 m and a dirt race over 2200 m whose every count is
// worked out in the figures test.

#include "backtest/backtest_figures.h"

#include <string>
#include <vector>

namespace zelkor::test {

inline BacktestRunner backtestRunner(int horse, int rank, int finish, int popularity, int odds,
                                     int abnormal = 0) {
    BacktestRunner r;
    r.horseId = "20000000" + std::to_string(10 + horse);
    r.horseNumber = horse;
    r.rank = rank;
    r.finish = finish;
    r.popularity = popularity;
    r.oddsEstimate = odds;
    r.abnormal = abnormal;
    return r;
}

inline std::vector<BacktestRace> twoBacktestRaces() {
    BacktestRace turf;
    turf.id = {2025, 1102, "06", 5, 7, 10};
    turf.fieldSize = 10;
    turf.surface = 0;
    turf.distanceMetres = 1400;
    turf.distanceBand = 0;
    turf.darkHorseCount = 2;
    turf.quinellaPairs = {{1, 3}, {2, 3}};
    turf.runners = {backtestRunner(1, 1, 3, 5, 150), backtestRunner(2, 2, 1, 1, 80),
                    backtestRunner(3, 3, 2, 2, 300), backtestRunner(4, 4, 7, 3, 300)};
    BacktestRace dirt;
    dirt.id = {2025, 1120, "06", 5, 1, 9};
    dirt.fieldSize = 6;
    dirt.surface = 1;
    dirt.distanceMetres = 2400;
    dirt.distanceBand = 2;
    dirt.darkHorseCount = 1;
    dirt.runners = {backtestRunner(1, 2, 1, 2, 120), backtestRunner(2, 1, 5, 3, 500),
                    backtestRunner(3, 3, 2, 4, 90), backtestRunner(4, 4, 3, 6, 100, 4)};
    return {turf, dirt};
}

} // namespace zelkor::test
