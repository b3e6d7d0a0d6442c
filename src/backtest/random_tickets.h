#pragma once

#include "core/payouts.h"

#include <span>

namespace zelkor {

// What a race brought back to a line of tickets; for random tickets the
// expectation over every possible choice, so the figures may be fractions.
struct RaceTake {
    int tickets = 0;
    double stake = 0;
    double ret = 0;
    double hitTickets = 0;
    double hitRace = 0; // 1 when any ticket hit (for random tickets: the probability)
};

// `count` distinct tickets of `type` (Place: one starter; Quinella: a pair
// of starters) chosen at random among all possible ones of the race, with
// the exact expected return: the mean over every choice, not a sample.
// Nothing when the type was not sold or no ticket is bought.
RaceTake randomTicketsExpectation(const RacePayouts& payouts, BetType type,
                                  std::span<const int> starters, int count);

} // namespace zelkor
