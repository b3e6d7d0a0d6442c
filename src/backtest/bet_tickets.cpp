#include "backtest/bet_tickets.h"

#include <algorithm>

namespace zelkor {

std::vector<Ticket> programTickets(const PredictionResult& result,
                                   std::span<const int> horseNumbers) {
    const int n = static_cast<int>(std::min<size_t>(horseNumbers.size(), kMaxRunners));
    auto real = [&](int k) {
        return k >= 1 && k <= n ? horseNumbers[static_cast<size_t>(k - 1)] : 0;
    };
    std::vector<Ticket> tickets;
    const int darkHorses = std::clamp(result.darkHorseCount, 0, n);
    for (int position = 1; position <= darkHorses; ++position)
        if (const int horse = real(result.horseAt(position)); horse > 0)
            tickets.push_back({BetType::Place, {horse, 0}});
    const int pairs = std::clamp(result.quinellaCount, 0, kMaxQuinellaPairs);
    for (int i = 0; i < pairs; ++i) {
        const auto& pair = result.quinellaPairs[static_cast<size_t>(i)];
        const int a = real(pair[0]);
        const int b = real(pair[1]);
        if (a > 0 && b > 0 && a != b)
            tickets.push_back({BetType::Quinella, {std::min(a, b), std::max(a, b)}});
    }
    return tickets;
}

} // namespace zelkor
