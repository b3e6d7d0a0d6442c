#pragma once

#include "race/horse_record.h"
#include "race/race_card.h"

#include <array>

namespace zelkor {

// What a runner's past says, as numbers of about unit scale. A change of
// what they mean or how they are made raises the version, so a model kept
// in the store under another version is fitted again, never misread.
inline constexpr int kChanceFeatureVersion = 4;
inline constexpr int kChanceFeatureCount = 12;
using ChanceFeatures = std::array<double, kChanceFeatureCount>;

// Days since the epoch of a date (year, month × 100 + day); 0 for a date
// that is none.
long daysOf(int year, int monthDay);

// The share of races won over the year before a race by the runner's jockey
// and by its trainer.
struct PeopleForm {
    double jockey = 0, trainer = 0;
};

// The features of `runner` of `card` with its horse as it stood before the
// race (runs dated before it, newest first), the formula's `score` and the
// form of its jockey and trainer.
ChanceFeatures chanceFeaturesOf(const JvRaceCard& card, const JvRunner& runner,
                                const JvHorseRecord& horse, int score, PeopleForm people);

} // namespace zelkor
