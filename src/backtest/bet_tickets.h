#pragma once

#include "core/payouts.h"
#include "core/race_sheet.h"

#include <array>
#include <span>
#include <vector>

namespace zelkor {

// A 100-yen ticket: a place ticket on one horse or a quinella ticket on two
// (lower number first), by the horse numbers the runners really carry.
struct Ticket {
    BetType type = BetType::Place;
    std::array<int, 2> numbers{};

    std::span<const int> combination() const {
        return {numbers.data(), type == BetType::Place || type == BetType::Win ? 1u : 2u};
    }
    friend bool operator==(const Ticket&, const Ticket&) = default;
};

// The bets view shows the pairs as bracket quinella in fields of 8 or fewer,
// where that bet is not sold (it needs 9 or more starters): the same pairs
// are bought as quinella.
inline bool pairsShownAsBracket(int runnerCount) {
    return runnerCount <= 8;
}

// The tickets the prediction proposes: place on each dark horse (ranking
// positions 1..K), then each proposed pair as quinella. `horseNumbers[k - 1]`
// is the real horse number of sheet runner k; there is one per runner.
std::vector<Ticket> programTickets(const PredictionResult& result,
                                   std::span<const int> horseNumbers);

} // namespace zelkor
