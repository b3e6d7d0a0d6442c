#include "backtest/bootstrap.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace zelkor {

namespace {

// Lines resampled together at most: their sums stay in registers.
constexpr size_t kMaxWidth = 8;

// The resampled rates of `W` lines whose stakes and returns lie side by
// side per race in `takes`. Each sum adds its races in the order drawn, as
// one line alone would.
template <size_t W>
void resample(const std::vector<double>& takes, std::uint32_t n, int resamples,
              PortableRandom& random, std::span<std::vector<double>> rates) {
    for (int b = 0; b < resamples; ++b) {
        std::array<double, 2 * W> sums{};
        for (std::uint32_t i = 0; i < n; ++i) {
            const double* take = &takes[2 * W * random.below(n)];
            for (size_t k = 0; k < 2 * W; ++k)
                sums[k] += take[k];
        }
        for (size_t l = 0; l < W; ++l)
            if (sums[2 * l] > 0)
                rates[l].push_back(sums[2 * l + 1] / sums[2 * l]);
    }
}

template <size_t... W> constexpr auto resamplers(std::index_sequence<W...>) {
    using Resampler = void (*)(const std::vector<double>&, std::uint32_t, int, PortableRandom&,
                               std::span<std::vector<double>>);
    return std::array<Resampler, sizeof...(W)>{resample<W + 1>...};
}

// The rates of up to kMaxWidth lines over the same `n` races.
void resampleLines(std::span<const std::span<const RaceTake>> lines, std::uint32_t n, int resamples,
                   std::uint64_t seed, std::span<std::vector<double>> rates) {
    const size_t width = lines.size();
    std::vector<double> takes;
    takes.reserve(2 * width * n);
    for (size_t i = 0; i < n; ++i)
        for (std::span<const RaceTake> line : lines) {
            takes.push_back(line[i].stake);
            takes.push_back(line[i].ret);
        }
    PortableRandom random(seed);
    static constexpr auto kResamplers = resamplers(std::make_index_sequence<kMaxWidth>());
    kResamplers[width - 1](takes, n, resamples, random, rates);
}

} // namespace

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
    std::vector<std::vector<double>> rates(width);
    // Every group of lines draws from the same seed, so it draws the same
    // races as the others.
    for (size_t first = 0; first < width; first += kMaxWidth) {
        const size_t count = std::min(kMaxWidth, width - first);
        resampleLines(lines.subspan(first, count), n, resamples, seed,
                      std::span(rates).subspan(first, count));
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
