#include "backtest/return_figures.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

// A race on `monthDay` of 2025 whose place tickets cost `stake` and brought
// `ret` back.
ReturnRace race(int monthDay, int trackCode, int metres, double stake, double ret) {
    ReturnRace r;
    r.id = {2025, monthDay, "05", 1, 1, 1};
    r.trackCode = trackCode;
    r.distanceMetres = metres;
    r.grade = 5;
    r.takes[static_cast<size_t>(ReturnLine::Place)] = {static_cast<int>(stake / 100), stake, ret,
                                                       ret > 0 ? 1.0 : 0.0, ret > 0 ? 1.0 : 0.0};
    r.runners = {{1, "a", 0, 1, 1, 20, 1}, {2, "b", 0, 2, 2, 30, 2}, {3, "c", 50, 3, 3, 90, 3}};
    return r;
}

TEST(ReturnFigures, RunsDrawdownSplitsAndTies) {
    // Profit: -200, -400, +100, -100, -300: the peak of 100 falls to -300.
    const std::vector<ReturnRace> races = {
        race(105, 17, 1600, 200, 0), race(112, 24, 1800, 200, 0), race(201, 17, 2400, 200, 700),
        race(202, 53, 3000, 200, 0), race(203, 24, 1200, 200, 0),
    };
    const ReturnFigures f = returnFigures(races);
    EXPECT_EQ(f.races, 5);
    EXPECT_EQ(f.longestLosingRun, 2);
    EXPECT_DOUBLE_EQ(f.largestDrawdown, 400);
    EXPECT_EQ(f.zeroTiedRunners, 10);
    EXPECT_EQ(f.zeroTiedRaces, 5);
    const ReturnGroup& total = f.program[0];
    EXPECT_EQ(total.races, 5);
    EXPECT_EQ(total.tickets, 10);
    EXPECT_DOUBLE_EQ(*total.rate, 0.7);
    EXPECT_FALSE(f.program[2].rate) << "no quinella tickets: nothing to divide";
    auto keys = [&](size_t split) {
        std::string out;
        for (const auto& [key, group] : f.splits[split])
            out += key + "=" + std::to_string(group.races) + " ";
        return out;
    };
    EXPECT_EQ(keys(0), "202501=2 202502=3 ");
    EXPECT_EQ(keys(2), "dirt=2 jumps=1 turf=2 ");
    EXPECT_EQ(keys(3), "upTo1600m=2 from1601To2200m=1 from2201m=2 ");
}

} // namespace
} // namespace zelkor
