#pragma once

#include "backtest/backtest_figures.h"
#include "backtest/bet_tickets.h"
#include "backtest/random_tickets.h"
#include "core/payouts.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace zelkor {

// The lines of tickets settled in every race: the program's two bet types,
// then the baselines bought on exactly the same races.
enum class ReturnLine {
    Place,
    Quinella,
    FavouriteWin,
    FavouritePlace,
    EveryStarterPlace,
    RandomPlace,
    RandomQuinella,
};
inline constexpr int kReturnLineCount = 7;
inline constexpr int kFirstBaseline = static_cast<int>(ReturnLine::FavouriteWin);

struct ReturnRunner {
    int horseNumber = 0;
    std::string horseId;
    int score = 0;
    int rank = 0;   // ranking position, 1 the highest score
    int finish = 0; // official finishing position, 0 none
    int odds = 0;   // final win odds × 10, 0 none
    int popularity = 0;
};

struct SettledTicket {
    Ticket ticket;
    Settlement settlement;
};

// One race of the period, predicted as it stood before it was run and
// settled with its payouts.
struct ReturnRace {
    PastRaceId id;
    int trackCode = 0;
    int distanceMetres = 0;
    int grade = 0;                     // the race sheet's class index
    std::string className;             // its class row; empty: the sheet's class
    bool pairsShownAsBracket = false;  // the bets view names the pairs 枠連
    std::vector<ReturnRunner> runners; // by horse number
    std::vector<SettledTicket> tickets;
    std::array<RaceTake, kReturnLineCount> takes{};

    const RaceTake& take(ReturnLine line) const { return takes[static_cast<size_t>(line)]; }
    // The program's tickets of both types together.
    RaceTake total() const;
    // Runners ranked among others with the same score of 0: their order is
    // only their horse numbers.
    int zeroTiedRunners() const;
};

// The favourite: popularity 1, the lowest horse number when several are.
const ReturnRunner* favouriteOf(const ReturnRace& race);

// Settles the program's `tickets` and every baseline of the race against
// its payouts (tickets of a type that was not sold are left out).
void settleRace(ReturnRace& race, std::span<const Ticket> tickets, const RacePayouts& payouts);

} // namespace zelkor
