#pragma once

#include "backtest/return_figures.h"
#include "backtest/returns_backtest.h"
#include "core/ports.h"
#include "core/result.h"

#include <string>

namespace zelkor {

// Where the report goes: programFolder + "HTML/ZelReturns.html".
std::string returnsPagePath(const std::string& programFolder);

// The report page of the settled bets: the period and the races used, the
// figures of the program's tickets beside the baselines with their
// intervals, the cumulative profit over time as a chart, the splits, the
// losing run and drawdown, and how it was done.
std::string returnsPage(const ReturnsBacktest& backtest, const ReturnFigures& figures);

// Writes the page to `path` and opens it through `shell` when one is given.
// Fails, with nothing opened and nothing told, when it cannot be written.
Outcome writeReturnsPage(const std::string& path, const ReturnsBacktest& backtest,
                         const ReturnFigures& figures, Shell* shell);

} // namespace zelkor
