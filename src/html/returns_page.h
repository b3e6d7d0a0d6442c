#pragma once

#include "backtest/return_figures.h"
#include "backtest/returns_backtest.h"
#include "chances/chance_quality.h"
#include "core/ports.h"
#include "core/result.h"

#include <string>

namespace zelkor {

// Where the report goes: programFolder + "HTML/ZelReturns.html".
std::string returnsPagePath(const std::string& programFolder);

// The value strategy's place tickets, and a place ticket on every starter
// of the same settled races, over the races the chances were walked
// forward on; each with its interval like the other lines.
struct ValueLines {
    ReturnGroup value, everyStarter;
};
ValueLines valueLines(std::span<const PredictedRace> races);

// The report page of the settled bets: the period and the races used, the
// figures of the program's tickets beside the baselines with their
// intervals, the cumulative profit over time as a chart, the splits, the
// losing run and drawdown, and how it was done; with `chances`, the value
// strategy, the chances' quality beside the market's and their reliability.
std::string returnsPage(const ReturnsBacktest& backtest, const ReturnFigures& figures,
                        const WalkForwardQuality* chances = nullptr);

// Writes the page to `path` and opens it through `shell` when one is given.
// Fails, with nothing opened and nothing told, when it cannot be written.
Outcome writeReturnsPage(const std::string& path, const ReturnsBacktest& backtest,
                         const ReturnFigures& figures, Shell* shell,
                         const WalkForwardQuality* chances = nullptr);

} // namespace zelkor
