#pragma once

#include "race/horse_record.h"
#include "race/race_card.h"

#include <array>

namespace zelkor {

// What a runner's past says, as numbers of about unit scale. A change of
// what they mean or how they are made raises the version, so a model kept
// in the store under another version is fitted again, never misread.
inline constexpr int kChanceFeatureVersion = 1;
inline constexpr int kChanceFeatureCount = 10;
using ChanceFeatures = std::array<double, kChanceFeatureCount>;

// The features of runner `slot` of `card` with its horse as it stood before
// the race (runs dated before it, newest first) and the formula's `score`.
ChanceFeatures chanceFeaturesOf(const JvRaceCard& card, int slot, const JvHorseRecord& horse,
                                int score);

} // namespace zelkor
