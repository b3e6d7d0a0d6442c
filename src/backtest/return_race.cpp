#include "backtest/return_race.h"

#include <algorithm>

namespace zelkor {
namespace {

void add(RaceTake& take, const Settlement& s) {
    if (!s.bought)
        return;
    ++take.tickets;
    take.stake += s.stake;
    take.ret += s.ret;
    if (s.hit) {
        take.hitTickets += 1;
        take.hitRace = 1;
    }
}

RaceTake& takeOf(ReturnRace& race, ReturnLine line) {
    return race.takes[static_cast<size_t>(line)];
}

} // namespace

RaceTake ReturnRace::total() const {
    const RaceTake& a = take(ReturnLine::Place);
    const RaceTake& b = take(ReturnLine::Quinella);
    return {a.tickets + b.tickets, a.stake + b.stake, a.ret + b.ret, a.hitTickets + b.hitTickets,
            std::max(a.hitRace, b.hitRace)};
}

int ReturnRace::zeroTiedRunners() const {
    const auto zeros = std::count_if(runners.begin(), runners.end(),
                                     [](const ReturnRunner& r) { return r.score == 0; });
    return zeros >= 2 ? static_cast<int>(zeros) : 0;
}

const ReturnRunner* favouriteOf(const ReturnRace& race) {
    const ReturnRunner* best = nullptr;
    for (const ReturnRunner& r : race.runners)
        if (r.popularity == 1 && (best == nullptr || r.horseNumber < best->horseNumber))
            best = &r;
    return best;
}

void settleRace(ReturnRace& race, std::span<const Ticket> tickets, const RacePayouts& payouts) {
    race.tickets.clear();
    race.takes = {};
    for (const Ticket& ticket : tickets) {
        const Settlement s = settleTicket(payouts, ticket.type, ticket.combination());
        if (!s.bought)
            continue;
        race.tickets.push_back({ticket, s});
        add(takeOf(race, ticket.type == BetType::Place ? ReturnLine::Place : ReturnLine::Quinella),
            s);
    }
    if (const ReturnRunner* favourite = favouriteOf(race)) {
        const int horse[] = {favourite->horseNumber};
        add(takeOf(race, ReturnLine::FavouriteWin), settleTicket(payouts, BetType::Win, horse));
        add(takeOf(race, ReturnLine::FavouritePlace), settleTicket(payouts, BetType::Place, horse));
    }
    std::vector<int> starters;
    for (const ReturnRunner& r : race.runners) {
        starters.push_back(r.horseNumber);
        const int horse[] = {r.horseNumber};
        add(takeOf(race, ReturnLine::EveryStarterPlace),
            settleTicket(payouts, BetType::Place, horse));
    }
    takeOf(race, ReturnLine::RandomPlace) = randomTicketsExpectation(
        payouts, BetType::Place, starters, race.take(ReturnLine::Place).tickets);
    takeOf(race, ReturnLine::RandomQuinella) = randomTicketsExpectation(
        payouts, BetType::Quinella, starters, race.take(ReturnLine::Quinella).tickets);
}

} // namespace zelkor
