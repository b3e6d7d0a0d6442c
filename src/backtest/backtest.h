#pragma once

#include "archive/past_horses.h"
#include "backtest/backtest_figures.h"
#include "backtest/past_races.h"
#include "core/ports.h"
#include "core/result.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// The backtest of the formula over the past races of a horse file: each
// race rebuilt as it stood before it was run, scored and ranked as a
// prediction is, beside its real finishing order.
struct Backtest {
    std::string horseFilePath;
    int horses = 0;
    PastRaceSet dropped; // the counts of the races left out (no races kept here)
    std::vector<BacktestRace> races;
};

// Predicts every kept past race of `horses`. `progress` goes from `from` to
// 100 over the races.
Backtest backtestHorses(std::span<const PastHorse> horses, const PastRaceRules& rules,
                        ProgressSink& progress, int from = 0);

// Reads the horse file and backtests it into `backtest`. Fails after the
// reader's message when the file cannot be read, or after a note when the
// user cancelled.
Outcome backtestHorseFile(const std::string& horseFilePath, const PastRaceRules& rules,
                          Backtest& backtest, UserPrompt& prompt, ProgressSink& progress);

// When the user has cancelled (`progress.cancelled()`): a note that the
// backtest was cancelled, and true. Both backtests stop on it between races.
bool backtestCancelled(const ProgressSink& progress, UserPrompt& prompt);

// "除いたレース: n (…)" with the count of every reason (CP932, no line end).
std::string droppedRacesText(const PastRaceSet& dropped, const PastRaceRules& rules);

// How past races are rebuilt and judged, one sentence a line (CP932), for
// the report page and the command's help.
std::span<const std::string_view> backtestRules();

// One rebuilt race predicted: scored and ranked by the formula, the dark
// horses and quinella pairs taken as a prediction takes them.
BacktestRace predictPastRace(const PastRace& race, std::span<const PastHorse> horses,
                             RaceSheet& sheet);

} // namespace zelkor
