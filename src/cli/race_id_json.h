#pragma once

#include "backtest/backtest_figures.h"
#include "cli/json_output.h"

namespace zelkor::cli {

// The fields that name a race in the backtests' JSON: year, monthDay,
// courseCode, meeting, meetingDay, raceNumber, in that order. The caller
// adds its own fields after them.
Json raceIdJson(const PastRaceId& id);

} // namespace zelkor::cli
