#pragma once

#include "backtest/return_figures.h"

#include <span>
#include <string>

namespace zelkor {

// The cumulative profit (return − stake) race after race of the program's
// tickets and of every baseline, as an inline SVG: one line each, told apart
// by colour, dash and marker shape, the vertical axis scaled to the lowest
// and highest profit drawn (0 always shown), the months named below.
std::string profitChart(std::span<const ReturnRace> races);

} // namespace zelkor
