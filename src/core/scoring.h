#pragma once

#include "core/race_sheet.h"

namespace zelkor {

// Scores every runner of the sheet (dark-horse degree, 穴度), ranks them,
// decides the dark horses and the quinella pairs, and stores everything in
// sheet.result (reportMode back to 0). Works on any stored values: indices
// outside their lists only change the score, never the memory touched.
void scoreRace(RaceSheet& sheet);

// Dark-horse degree of horse `horse` in the race of `sheet`.
int runnerScore(const RaceSheet& sheet, int horse);

// Position of runner `horse` in the ranking of `result` (1 the first), 0
// when it is not among the first `runnerCount`.
int rankOf(const PredictionResult& result, int horse, int runnerCount);

// Score difference to the top score within which a runner still counts as
// a dark horse.
inline constexpr int kCloseToTop = 5;

// The thresholds of the points formula, on the stored indices.
// A favourite (win odds up to 7.0) is never a dark horse: its score is 0.
inline constexpr int kFavouriteOddsBand = 6;
// Odds bands above the favourites up to this one (up to 10.0) cost points,
// longer odds earn them.
inline constexpr int kMiddleOddsBand = 9;
// A partner of the dark horses in the quinella pairs has win odds up to 8.0.
inline constexpr int kPartnerOddsBand = 7;

} // namespace zelkor
