#pragma once

#include "backtest/random_tickets.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zelkor {

// A random number generator whose output is the same with every compiler
// and library (splitmix64), so a fixed seed repeats a run exactly.
class PortableRandom {
  public:
    explicit PortableRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // The two halves of next(), high half first.
    std::uint32_t next32() {
        if (haveHalf_) {
            haveHalf_ = false;
            return half_;
        }
        const std::uint64_t x = next();
        half_ = static_cast<std::uint32_t>(x);
        haveHalf_ = true;
        return static_cast<std::uint32_t>(x >> 32);
    }

    // Uniform in [0, n) for 0 < n < 2^32, without modulo bias: multiply and
    // shift; the few low parts that would favour some results are drawn
    // again (the division is needed only near them).
    std::uint32_t below(std::uint32_t n) {
        std::uint64_t m = static_cast<std::uint64_t>(next32()) * n;
        auto low = static_cast<std::uint32_t>(m);
        if (low < n) {
            const std::uint32_t threshold = static_cast<std::uint32_t>(-n) % n;
            while (low < threshold) {
                m = static_cast<std::uint64_t>(next32()) * n;
                low = static_cast<std::uint32_t>(m);
            }
        }
        return static_cast<std::uint32_t>(m >> 32);
    }

  private:
    std::uint64_t state_;
    std::uint32_t half_ = 0;
    bool haveHalf_ = false;
};

inline constexpr int kBootstrapResamples = 2000;
inline constexpr std::uint64_t kBootstrapSeed = 20001;

struct RateInterval {
    double low = 0;
    double high = 0;
};

// The 95 % interval of return ÷ stake over `races`, from resampling the
// races with replacement (the tickets of one race are not independent):
// the 2.5th and 97.5th percentiles of the resampled rates. Every call
// starts from the same seed, so the same races give the same interval.
// Nothing without races or stake.
std::optional<RateInterval> bootstrapRateInterval(std::span<const RaceTake> races,
                                                  int resamples = kBootstrapResamples,
                                                  std::uint64_t seed = kBootstrapSeed);

// The intervals of several lines of tickets over the same races (each
// line one take per race, in the same order): the races are drawn once for
// all of them, and each interval equals the one of its line alone.
std::vector<std::optional<RateInterval>>
bootstrapRateIntervals(std::span<const std::span<const RaceTake>> lines,
                       int resamples = kBootstrapResamples, std::uint64_t seed = kBootstrapSeed);

} // namespace zelkor
