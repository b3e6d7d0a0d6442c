#pragma once

#include "chances/race_history.h"
#include "core/result.h"

#include <span>
#include <vector>

namespace zelkor {

// A runner whose expected return of a 100-yen ticket reaches this is worth a bet.
inline constexpr double kDefaultValueThreshold = 1.10;

// Fewer races with a winner than this before a day give no chances.
inline constexpr int kMinimumHistoryRaces = 200;

// A model learns from the races of the last three years before its day: the
// runners and the public of today resemble those of recent years more, and
// fitting a month of a long store's backtest stays a matter of seconds.
inline constexpr int kTrainingYears = 3;
// The first date (YYYYMMDD) a model for the races from `date` on learns from.
constexpr int trainingStart(int date) {
    return date - kTrainingYears * 10000;
}

// The weights of the second logit: on ln(model chance), ln(market chance)
// and its square / 10.
inline constexpr int kMarketWeights = 3;

// A fitted model: the weights of the runners' features, the weights of the
// second logit, and the weights of the strengths that fill the later places
// (see placeStrengths); with the period and the races it was fitted on.
struct ChanceModel {
    int fromDate = 0, toDate = 0;
    int races = 0;
    int featureVersion = kChanceFeatureVersion;
    std::vector<double> weights;
    std::vector<double> market;               // empty: the history had no odds
    std::vector<double> place{1.0, 0.0, 0.0}; // on the win chances alone
    std::vector<double> placeMarket;          // with the place pool too; empty: no pool seen
    friend bool operator==(const ChanceModel&, const ChanceModel&) = default;
};

// Fits on `history` (oldest first). The features are fitted on the older
// two thirds first, so the market weights and the place weights are fitted on
// chances the features did not see; then on all races. Only the races from
// trainingStart of the day after the last one count. Fails, telling nobody,
// when fewer than kMinimumHistoryRaces races have a winner: the message
// says how many there are and how many it takes.
Result<ChanceModel> fitChanceModel(std::span<const RaceSample> history);

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

// Each runner's part of the place pool as its lower place odds tell it: a
// place pays 1 + what is left of the pool over the tickets on the horse, so
// the part goes as 1 / (odds − 1). Empty without place odds for every runner.
std::vector<double> placePoolShares(const RaceSample& race);

} // namespace zelkor
