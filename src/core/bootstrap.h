#pragma once

#include "core/random_tickets.h"

#include <cstdint>
#include <optional>
#include <span>

namespace zelkor {

// A random number generator whose output is the same with every compiler
// and library (splitmix64), so a fixed seed repeats a run exactly.
class PortableRandom {
  public:
    explicit PortableRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // Uniform in [0, n) for 0 < n < 2^32, without modulo bias.
    std::uint32_t below(std::uint32_t n);

  private:
    std::uint64_t state_;
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

} // namespace zelkor
