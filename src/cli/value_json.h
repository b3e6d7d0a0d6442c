#pragma once

#include "chances/day_chances.h"
#include "cli/json_output.h"

namespace zelkor::cli {

// A runner's chances and returns as value --json and predict --json give
// them: horseNumber, name, winChance, placeChance, winOdds, placeOddsLow,
// winReturn, placeReturn, value.
Json runnerValueJson(const RunnerValue& runner);

// The period and race count of the model the chances came from.
Json chanceModelJson(const ChanceModel& model);

} // namespace zelkor::cli
