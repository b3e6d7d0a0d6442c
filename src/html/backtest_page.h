#pragma once

#include "backtest/backtest.h"
#include "core/ports.h"
#include "core/result.h"

#include <string>

namespace zelkor {

// Where the backtest report goes: programFolder + "HTML/ZelBacktest.html".
std::string backtestPagePath(const std::string& programFolder);

// The report page of a backtest: how many races were used and left out,
// the rules of the rebuilding, the chart of the place rate by ranking
// position against the baselines, and the tables of every group.
std::string backtestPage(const Backtest& backtest, const PastRaceRules& rules);

// Writes the page to `path` and opens it through `shell`. Fails, with
// nothing opened and `prompt` told, when it cannot be written.
Outcome writeBacktestPage(const std::string& path, const Backtest& backtest,
                          const PastRaceRules& rules, UserPrompt& prompt, Shell& shell);

} // namespace zelkor
