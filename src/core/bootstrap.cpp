#include "core/bootstrap.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zelkor {

std::optional<RateInterval> bootstrapRateInterval(std::span<const RaceTake> races, int resamples,
                                                  std::uint64_t seed) {
    double stake = 0;
    for (const RaceTake& race : races)
        stake += race.stake;
    if (races.empty() || stake <= 0 || resamples <= 0 || races.size() >= (1ULL << 32))
        return std::nullopt;
    const auto n = static_cast<std::uint32_t>(races.size());
    // Stake and return side by side: the resampling reads nothing else.
    std::vector<std::array<double, 2>> takes;
    takes.reserve(n);
    for (const RaceTake& race : races)
        takes.push_back({race.stake, race.ret});
    PortableRandom random(seed);
    std::vector<double> rates;
    rates.reserve(static_cast<size_t>(resamples));
    for (int b = 0; b < resamples; ++b) {
        double s = 0, r = 0;
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::array<double, 2>& take = takes[random.below(n)];
            s += take[0];
            r += take[1];
        }
        if (s > 0)
            rates.push_back(r / s);
    }
    if (rates.empty())
        return std::nullopt;
    std::sort(rates.begin(), rates.end());
    const size_t last = rates.size() - 1;
    const auto at = [&](double q) {
        return rates[std::min(last, static_cast<size_t>(q * last + 0.5))];
    };
    return RateInterval{at(0.025), at(0.975)};
}

} // namespace zelkor
