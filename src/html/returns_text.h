#pragma once

#include "backtest/return_figures.h"

#include <span>
#include <string>
#include <vector>

namespace zelkor {

// How the returns page puts its figures into words (CP932).

// Yen with thousands separators: "-150,000円".
std::string yenText(double yen);
// "2025年1月" for the month key "202501"; other keys as they are.
std::string monthText(const std::string& key);
// "2025年1月5日 中山11R".
std::string raceText(const PastRaceId& id);

// The reading of the result, above the tables: what the 回収率 of the
// program's tickets was, whether its 95 % interval says profit, loss or
// cannot tell, and how the dark horses' place tickets compare with random
// ones of the same number.
std::string resultReading(const ReturnFigures& f);

// One sentence for every figure of the main table (the program's lines and
// the baselines) that one race alone moves by more than ten points: the
// race, and the figure without it.
std::vector<std::string> singleRaceNotes(std::span<const ReturnRace> races, const ReturnFigures& f);

} // namespace zelkor
