#pragma once

#include <span>
#include <vector>

namespace zelkor {

// One race for a conditional logit: a row of `width` numbers per runner
// (row-major) and the runner that won.
struct LogitRace {
    std::vector<double> rows;
    int winner = 0;
};

// The weights that maximise the likelihood of the winners, each runner's
// chance exp(x·w) / Σ exp(x·w) over its race, less ridge/2 · |w|²; by
// Newton's method, so the same races give the same weights.
std::vector<double> fitConditionalLogit(std::span<const LogitRace> races, int width, double ridge);

// The chances of the runners of one race under `weights` (they add up to 1).
std::vector<double> logitChances(std::span<const double> rows, std::span<const double> weights);

} // namespace zelkor
