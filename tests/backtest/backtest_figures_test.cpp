#include "backtest/backtest_figures.h"
#include "support/backtest_races.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using test::twoBacktestRaces;

// (races, hit races, tickets, hit tickets)
using Counted = std::array<int, 4>;
Counted counted(const TicketCount& c) {
    return {c.races, c.hitRaces, c.tickets, c.hitTickets};
}

TEST(BacktestFigures, CountsPicksAndBaselinesOfHandMadeRaces) {
    const std::vector<BacktestRace> races = twoBacktestRaces();
    const BacktestFigures f = backtestFigures(races);
    EXPECT_EQ(f.races, 2);
    EXPECT_EQ(counted(f.topPlace), (Counted{2, 1, 2, 1}));
    EXPECT_EQ(counted(f.topWin), (Counted{2, 0, 2, 0}));
    EXPECT_EQ(counted(f.darkPlace), (Counted{2, 1, 3, 2}));
    EXPECT_EQ(counted(f.darkWin), (Counted{2, 1, 3, 1}));
    EXPECT_EQ(counted(f.rankPlace[0]), (Counted{2, 1, 2, 1}));
    EXPECT_EQ(counted(f.rankWin[1]), (Counted{2, 2, 2, 2}));
    // Second in the dirt race of six: placed.
    EXPECT_EQ(counted(f.rankPlace[2]), (Counted{2, 2, 2, 2}));
    // Seventh; the other did not finish and is no trial.
    EXPECT_EQ(counted(f.rankPlace[3]), (Counted{1, 0, 1, 0}));
    EXPECT_EQ(counted(f.rankPlace[4]), (Counted{0, 0, 0, 0}));
    EXPECT_EQ(counted(f.quinella), (Counted{1, 1, 2, 1})); // the dirt race has no pairs
    // The dirt race has no favourite present.
    EXPECT_EQ(counted(f.favouritePlace), (Counted{1, 1, 1, 1}));
    // A tie on the highest estimate goes to the lower horse number (3, second).
    EXPECT_EQ(counted(f.longshotPlace), (Counted{2, 1, 2, 1}));
    EXPECT_EQ(counted(f.longshotWin), (Counted{2, 0, 2, 0}));
    EXPECT_DOUBLE_EQ(*f.chancePlace, (3.0 / 10 + 2.0 / 6) / 2);
    EXPECT_DOUBLE_EQ(*f.chanceWin, (1.0 / 10 + 1.0 / 6) / 2);
}

// One race of `fieldSize` whose runners are given.
BacktestRace raceOf(int fieldSize, std::vector<BacktestRunner> runners, int darkHorses = 1,
                    std::vector<std::array<int, 2>> pairs = {}) {
    BacktestRace race;
    race.fieldSize = fieldSize;
    race.darkHorseCount = darkHorses;
    race.quinellaPairs = std::move(pairs);
    race.runners = std::move(runners);
    return race;
}

TEST(BacktestFigures, WhatCountsAsATrialAndAHit) {
    using test::backtestRunner;
    struct Case {
        const char* what;
        BacktestRace race;
        TicketCount BacktestFigures::*figure;
        Counted expected;
    };
    const Case cases[] = {
        {"third of seven is not placed",
         raceOf(7, {backtestRunner(1, 1, 3, 1, 0)}),
         &BacktestFigures::topPlace,
         {1, 0, 1, 0}},
        {"third of eight is placed",
         raceOf(8, {backtestRunner(1, 1, 3, 1, 0)}),
         &BacktestFigures::topPlace,
         {1, 1, 1, 1}},
        {"a scratched pick is no trial",
         raceOf(8, {backtestRunner(1, 1, 0, 1, 0, 1)}),
         &BacktestFigures::topPlace,
         {0, 0, 0, 0}},
        {"a favourite that did not finish is no trial",
         raceOf(8, {backtestRunner(1, 1, 0, 1, 0, 4)}),
         &BacktestFigures::favouritePlace,
         {0, 0, 0, 0}},
        {"a horse placed lower keeps its place",
         raceOf(8, {backtestRunner(1, 1, 2, 1, 0, 7)}),
         &BacktestFigures::topPlace,
         {1, 1, 1, 1}},
        {"dark horses: the race is the trial",
         raceOf(10,
                {backtestRunner(1, 1, 1, 1, 0), backtestRunner(2, 2, 3, 2, 0),
                 backtestRunner(3, 3, 9, 3, 0)},
                3),
         &BacktestFigures::darkPlace,
         {1, 1, 3, 2}},
        {"a pair with a scratched horse is no ticket",
         raceOf(10,
                {backtestRunner(1, 1, 1, 1, 0), backtestRunner(2, 2, 2, 2, 0),
                 backtestRunner(3, 3, 0, 3, 0, 2)},
                1, {{1, 2}, {1, 3}}),
         &BacktestFigures::quinella,
         {1, 1, 1, 1}},
        {"a pair of numbers no field has is still found",
         raceOf(10, {backtestRunner(40, 1, 1, 1, 0), backtestRunner(41, 2, 2, 2, 0)}, 1,
                {{40, 41}}),
         &BacktestFigures::quinella,
         {1, 1, 1, 1}},
        {"a dead heat for first: any two of the first three hit, a horse with itself not",
         raceOf(10,
                {backtestRunner(1, 1, 1, 1, 0), backtestRunner(2, 2, 2, 2, 0),
                 backtestRunner(3, 3, 1, 3, 0)},
                1, {{1, 3}, {1, 2}, {2, 3}, {1, 1}, {1, 9}}),
         &BacktestFigures::quinella,
         {1, 1, 4, 3}},
        {"of two runners with one rank the first is the pick",
         raceOf(10, {backtestRunner(1, 1, 5, 1, 0), backtestRunner(2, 1, 1, 2, 0)}),
         &BacktestFigures::topWin,
         {1, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        const std::vector<BacktestRace> races = {c.race};
        EXPECT_EQ(counted(backtestFigures(races).*c.figure), c.expected) << c.what;
    }
}

TEST(BacktestFigures, GroupsSplitBySurfaceAndDistanceBand) {
    const std::vector<BacktestRace> races = twoBacktestRaces();
    const std::vector<BacktestFigures> groups = groupFigures(races);
    ASSERT_EQ(groups.size(), backtestGroups().size());
    const int expected[] = {2, 1, 1, 1, 0, 1};
    for (size_t g = 0; g < groups.size(); ++g)
        EXPECT_EQ(groups[g].races, expected[g]) << backtestGroups()[g].key;
    EXPECT_EQ(counted(groups[2].topPlace), (Counted{1, 0, 1, 0}));
    EXPECT_DOUBLE_EQ(*groups[2].chancePlace, 2.0 / 6);
    // A group without races has no rates at all, not rates of 0.
    EXPECT_FALSE(groups[4].chancePlace);
    EXPECT_FALSE(groups[4].topPlace.rate());
}

TEST(WilsonInterval, KnownValuesAndTheEdges) {
    struct Case {
        int hits, trials;
        double low, high; // to six places; the edges 0 and 1 exactly
    };
    const Case cases[] = {{5, 10, 0.236590, 0.763410},
                          {0, 10, 0, 0.277540},
                          {10, 10, 0.722460, 1},
                          {300, 1000, 0.272406, 0.329124},
                          {0, 0, 0, 1}};
    const auto near = [](double bound) { return bound == 0 || bound == 1 ? 0 : 1e-6; };
    for (const Case& c : cases) {
        const Interval i = wilsonInterval(c.hits, c.trials);
        EXPECT_NEAR(i.low, c.low, near(c.low)) << c.hits << "/" << c.trials;
        EXPECT_NEAR(i.high, c.high, near(c.high)) << c.hits << "/" << c.trials;
    }
}

} // namespace
} // namespace zelkor
