#include "backtest/random_tickets.h"

#include <algorithm>
#include <vector>

namespace zelkor {

RaceTake randomTicketsExpectation(const RacePayouts& payouts, BetType type,
                                  std::span<const int> starters, int count) {
    // Every ticket one could buy, settled once.
    std::vector<Settlement> all;
    if (type == BetType::Place)
        for (int horse : starters)
            all.push_back(settleTicket(payouts, type, std::span<const int>(&horse, 1)));
    else
        for (size_t i = 0; i < starters.size(); ++i)
            for (size_t j = i + 1; j < starters.size(); ++j) {
                const int pair[] = {starters[i], starters[j]};
                all.push_back(settleTicket(payouts, type, pair));
            }
    RaceTake take;
    const int choices = static_cast<int>(all.size());
    const int k = std::clamp(count, 0, choices);
    if (k == 0 || !all.front().bought)
        return take;
    double returned = 0;
    int hits = 0;
    for (const Settlement& s : all) {
        returned += s.ret;
        hits += s.hit ? 1 : 0;
    }
    // k distinct tickets drawn uniformly: each one is any of the choices
    // with the same chance, so the sums are k times the means.
    take.tickets = k;
    take.stake = static_cast<double>(k) * kTicketStake;
    take.ret = k * returned / choices;
    take.hitTickets = static_cast<double>(k) * hits / choices;
    // No hit among the k: all drawn from the choices that miss.
    double noHit = 1;
    for (int i = 0; i < k; ++i)
        noHit *= static_cast<double>(choices - hits - i) / (choices - i);
    take.hitRace = 1 - std::max(0.0, noHit);
    return take;
}

} // namespace zelkor
