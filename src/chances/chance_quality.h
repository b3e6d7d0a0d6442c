#pragma once

#include "chances/chance_model.h"
#include "core/result.h"

#include <array>
#include <span>
#include <string>

namespace zelkor {

// How well the model's win chances and the market's foretold the winners of
// races it was not fitted on: the mean over races of −ln (chance of the
// winner) and of Σ (chance − won)². Only races with a single winner and
// odds for every runner count.
struct ChanceQuality {
    double modelLogLoss = 0, marketLogLoss = 0;
    double modelBrier = 0, marketBrier = 0;
    int races = 0;
};

// Place chances against what happened: the runners whose place chance lies
// in [low, high), their mean place chance and the share that placed.
struct CalibrationBin {
    double low = 0, high = 0;
    int runners = 0;
    double predicted = 0, observed = 0;
};
inline constexpr int kCalibrationBins = 10;
using Calibration = std::array<CalibrationBin, kCalibrationBins>;

// A place ticket of 100 yen on every value runner (see RunnerValue),
// settled with the race's payouts; beside it the baseline of a place ticket
// on every starter of the same races.
struct ValueBets {
    int races = 0; // settled races predicted
    int tickets = 0;
    long long stake = 0, ret = 0;
    long long everyStake = 0, everyRet = 0;
};

// Adds up the quality of predicted races one by one.
class QualityTally {
  public:
    explicit QualityTally(double threshold = kDefaultValueThreshold) : threshold_(threshold) {}
    // `race` predicted by `model`; a race without a result adds nothing.
    void add(const ChanceModel& model, const RaceSample& race);
    ChanceQuality quality() const;
    Calibration calibration() const;
    const ValueBets& valueBets() const { return bets_; }

  private:
    void bet(const ChanceModel& model, const RaceSample& race);

    double threshold_;
    ValueBets bets_;
    ChanceQuality sums_;
    Calibration bins_{};
};

ChanceQuality chanceQuality(const ChanceModel& model, std::span<const RaceSample> races);

// The quality of the races from `fromDate` to `toDate` of the store, walk
// forward: each month's races by a model fitted on the races before the
// month (no chances for a month with too little history before it). Fails
// after a message when the store cannot be read.
struct WalkForwardQuality {
    ChanceQuality quality;
    Calibration calibration{};
    ValueBets value;
};
Outcome walkForwardQuality(const std::string& storePath, int fromDate, int toDate,
                           WalkForwardQuality& out, UserPrompt& prompt);

} // namespace zelkor
