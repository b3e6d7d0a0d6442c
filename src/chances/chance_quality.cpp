#include "chances/chance_quality.h"

#include <cmath>

namespace zelkor {

namespace {

double brierOf(const std::vector<double>& chances, size_t winner) {
    double sum = 0;
    for (size_t i = 0; i < chances.size(); ++i) {
        const double miss = chances[i] - (i == winner ? 1.0 : 0.0);
        sum += miss * miss;
    }
    return sum;
}

} // namespace

ChanceQuality chanceQuality(const ChanceModel& model, std::span<const RaceSample> races) {
    ChanceQuality q;
    for (const RaceSample& race : races) {
        const int winner = race.winner();
        const std::vector<double> market = marketChances(race);
        if (winner < 0 || market.empty())
            continue;
        const auto w = static_cast<size_t>(winner);
        std::vector<double> own;
        for (const RunnerChance& c : predictRace(model, race))
            own.push_back(c.win);
        q.modelLogLoss -= std::log(std::max(own[w], 1e-12));
        q.marketLogLoss -= std::log(std::max(market[w], 1e-12));
        q.modelBrier += brierOf(own, w);
        q.marketBrier += brierOf(market, w);
        ++q.races;
    }
    if (q.races > 0) {
        q.modelLogLoss /= q.races;
        q.marketLogLoss /= q.races;
        q.modelBrier /= q.races;
        q.marketBrier /= q.races;
    }
    return q;
}

} // namespace zelkor
