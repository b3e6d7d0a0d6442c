#include "core/bootstrap.h"

#include <algorithm>
#include <vector>

namespace zelkor {

std::uint64_t PortableRandom::next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::uint32_t PortableRandom::below(std::uint32_t n) {
    // Multiply-and-shift, rejecting the few low parts that would favour
    // some results.
    const std::uint32_t threshold = static_cast<std::uint32_t>(-n) % n;
    for (;;) {
        const std::uint64_t m = (next() >> 32) * static_cast<std::uint64_t>(n);
        if (static_cast<std::uint32_t>(m) >= threshold)
            return static_cast<std::uint32_t>(m >> 32);
    }
}

std::optional<RateInterval> bootstrapRateInterval(std::span<const RaceTake> races, int resamples,
                                                  std::uint64_t seed) {
    double stake = 0;
    for (const RaceTake& race : races)
        stake += race.stake;
    if (races.empty() || stake <= 0 || resamples <= 0 || races.size() >= (1ULL << 32))
        return std::nullopt;
    const auto n = static_cast<std::uint32_t>(races.size());
    PortableRandom random(seed);
    std::vector<double> rates;
    rates.reserve(static_cast<size_t>(resamples));
    for (int b = 0; b < resamples; ++b) {
        double s = 0, r = 0;
        for (std::uint32_t i = 0; i < n; ++i) {
            const RaceTake& race = races[random.below(n)];
            s += race.stake;
            r += race.ret;
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
