#pragma once

#include "chances/chance_model.h"
#include "core/result.h"

#include <array>
#include <span>
#include <string>
#include <vector>

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

// Place tickets of 100 yen in one race, settled with its payouts.
struct PlaceTake {
    int tickets = 0, hits = 0;
    long long stake = 0, ret = 0;
};

// A race as the walk forward predicted it: the chances by horse number,
// and a place ticket on every runner whose place return reaches the
// threshold (see RunnerValue) beside a place ticket on every starter.
struct PredictedRace {
    long long key = 0;
    std::vector<int> horseNumbers;
    std::vector<RunnerChance> chances;
    bool settled = false;
    PlaceTake value, everyStarter;
};

// Adds up the quality of predicted races one by one.
class QualityTally {
  public:
    explicit QualityTally(double threshold = kDefaultValueThreshold) : threshold_(threshold) {}
    // `race` predicted by `model`; a race without a result adds nothing.
    void add(const ChanceModel& model, const RaceSample& race);
    ChanceQuality quality() const;
    Calibration calibration() const;
    // The races added with a result, in the order they were added.
    const std::vector<PredictedRace>& races() const { return races_; }

  private:
    double threshold_;
    std::vector<PredictedRace> races_;
    ChanceQuality sums_;
    Calibration bins_{};
};

ChanceQuality chanceQuality(const ChanceModel& model, std::span<const RaceSample> races);

// The quality of the races from `fromDate` to `toDate` of the store, walk
// forward: each month's races by a model fitted on the races before the
// month (no chances for a month with too little history before it).
// `progress` goes to 100 over the reading and the months. Fails after a
// message when the store cannot be read, or after a note when the user
// cancelled (between race days and months).
struct WalkForwardQuality {
    double threshold = kDefaultValueThreshold;
    ChanceQuality quality;
    Calibration calibration{};
    std::vector<PredictedRace> races;
};
Outcome walkForwardQuality(const std::string& storePath, int fromDate, int toDate, double threshold,
                           WalkForwardQuality& out, UserPrompt& prompt, ProgressSink& progress);

} // namespace zelkor
