#pragma once

#include "chances/race_history.h"

#include <span>
#include <vector>

namespace zelkor {

// A runner whose expected return of a 100-yen ticket reaches this is worth a bet.
inline constexpr double kDefaultValueThreshold = 1.10;

// Fewer races with a winner than this before a day give no chances.
inline constexpr int kMinimumHistoryRaces = 200;

// A fitted model: the weights of the runners' features, the weights of the
// second logit on ln(model chance) and ln(market chance), and the place
// discount; with the period and the races it was fitted on.
struct ChanceModel {
    int fromDate = 0, toDate = 0;
    int races = 0;
    int featureVersion = kChanceFeatureVersion;
    std::vector<double> weights;
    std::vector<double> market; // empty: the history had no odds
    double discount = 1.0;
    friend bool operator==(const ChanceModel&, const ChanceModel&) = default;
};

// Fits on `history` (oldest first). The features are fitted on the older
// two thirds first, so the market weights and the discount are fitted on
// chances the features did not see; then on all races. False when fewer
// than kMinimumHistoryRaces races have a winner.
bool fitChanceModel(std::span<const RaceSample> history, ChanceModel& model);

struct RunnerChance {
    double win = 0;
    double place = 0;
};

// The chances of the starters of `race` (by its runners): the win chances
// add up to 1, the place chances to the places paid. Without odds for every
// runner the model's own chances stand.
std::vector<RunnerChance> predictRace(const ChanceModel& model, const RaceSample& race);

// The market's chances: 1/odds over the race's sum (empty without odds).
std::vector<double> marketChances(const RaceSample& race);

} // namespace zelkor
