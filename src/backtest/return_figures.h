#pragma once

#include "backtest/bootstrap.h"
#include "backtest/return_race.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace zelkor {

// What a line of tickets did over a set of races. A race counts when it
// has at least one ticket of the line.
struct ReturnGroup {
    int races = 0;
    int tickets = 0;
    double stake = 0;
    double ret = 0;
    double hitTickets = 0;
    double hitRaces = 0;
    std::optional<double> rate;           // return ÷ stake; none without stake
    std::optional<RateInterval> interval; // 95 %, bootstrap over the races
};

// The ways the races are split, with the key of each race and the label of
// a key on the page (CP932).
struct ReturnSplit {
    const char* key;  // JSON key
    const char* name; // label
    std::string (*keyOf)(const ReturnRace&);
    std::string (*labelOf)(const std::string& key);
};
std::span<const ReturnSplit> returnSplits();

// The groups of one split, keys in their natural order.
using SplitGroups = std::vector<std::pair<std::string, ReturnGroup>>;

// The lines of the figures in the order they are shown: label (CP932),
// JSON key and the take of a race.
struct ReturnLineInfo {
    const char* label;
    const char* key;
    RaceTake (*take)(const ReturnRace&);
};
// total, place, quinella
std::span<const ReturnLineInfo> programLines();
// favouriteWin, favouritePlace, everyStarterPlace, randomPlace, randomQuinella
std::span<const ReturnLineInfo> baselineLines();

struct ReturnFigures {
    int races = 0;
    std::vector<ReturnGroup> program;   // as programLines()
    std::vector<ReturnGroup> baselines; // as baselineLines()
    std::vector<SplitGroups> splits;    // as returnSplits(), each of the program's total
    int longestLosingRun = 0;           // races in a row whose tickets hit nothing
    double largestDrawdown = 0;         // yen, from a peak of the profit (starting at 0)
    int zeroTiedRunners = 0;
    int zeroTiedRaces = 0;
};

// The group of one line's takes, a take a race that has tickets of it.
ReturnGroup returnGroupOf(std::span<const RaceTake> takes);

// Every figure over `races` (in date, racecourse, race number order).
ReturnFigures returnFigures(std::span<const ReturnRace> races);

} // namespace zelkor
