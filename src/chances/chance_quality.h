#pragma once

#include "chances/chance_model.h"

#include <span>

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

ChanceQuality chanceQuality(const ChanceModel& model, std::span<const RaceSample> races);

} // namespace zelkor
