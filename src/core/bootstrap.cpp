#include "core/bootstrap.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zelkor {

std::vector<std::optional<RateInterval>>
bootstrapRateIntervals(std::span<const std::span<const RaceTake>> lines, int resamples,
                       std::uint64_t seed) {
    std::vector<std::optional<RateInterval>> out(lines.size());
    const size_t races = lines.empty() ? 0 : lines.front().size();
    if (races == 0 || resamples <= 0 || races >= (1ULL << 32) ||
        std::any_of(lines.begin(), lines.end(),
                    [&](std::span<const RaceTake> line) { return line.size() != races; }))
        return out;
    const auto n = static_cast<std::uint32_t>(races);
    const size_t width = lines.size();
    // Stakes and returns of a race side by side: the resampling reads
    // nothing else.
    std::vector<double> takes;
    takes.reserve(2 * width * n);
    for (size_t i = 0; i < n; ++i)
        for (std::span<const RaceTake> line : lines) {
            takes.push_back(line[i].stake);
            takes.push_back(line[i].ret);
        }
    PortableRandom random(seed);
    std::vector<std::vector<double>> rates(width);
    std::vector<double> sums(2 * width);
    for (int b = 0; b < resamples; ++b) {
        std::fill(sums.begin(), sums.end(), 0.0);
        for (std::uint32_t i = 0; i < n; ++i) {
            const double* take = &takes[2 * width * random.below(n)];
            for (size_t k = 0; k < 2 * width; ++k)
                sums[k] += take[k];
        }
        for (size_t l = 0; l < width; ++l)
            if (sums[2 * l] > 0)
                rates[l].push_back(sums[2 * l + 1] / sums[2 * l]);
    }
    for (size_t l = 0; l < width; ++l) {
        std::vector<double>& r = rates[l];
        if (r.empty())
            continue;
        std::sort(r.begin(), r.end());
        const size_t last = r.size() - 1;
        const auto at = [&](double q) {
            return r[std::min(last, static_cast<size_t>(q * static_cast<double>(last) + 0.5))];
        };
        out[l] = RateInterval{at(0.025), at(0.975)};
    }
    return out;
}

std::optional<RateInterval> bootstrapRateInterval(std::span<const RaceTake> races, int resamples,
                                                  std::uint64_t seed) {
    const std::span<const RaceTake> lines[] = {races};
    return bootstrapRateIntervals(lines, resamples, seed).front();
}

} // namespace zelkor
