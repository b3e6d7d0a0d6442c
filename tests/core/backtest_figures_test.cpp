#include "core/backtest_figures.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

BacktestRunner runner(int horse, int rank, int finish, int popularity, int odds,
                      bool abnormal = false) {
    BacktestRunner r;
    r.horseNumber = horse;
    r.rank = rank;
    r.finish = finish;
    r.popularity = popularity;
    r.oddsEstimate = odds;
    r.abnormal = abnormal;
    return r;
}

// Two races whose every count is worked out by hand below.
std::vector<BacktestRace> twoRaces() {
    BacktestRace turf;
    turf.fieldSize = 10;
    turf.surface = 0;
    turf.distanceBand = 0;
    turf.darkHorseCount = 2;
    turf.quinellaPairs = {{1, 3}, {2, 3}};
    turf.runners = {runner(1, 1, 3, 5, 150), runner(2, 2, 1, 1, 80), runner(3, 3, 2, 2, 300),
                    runner(4, 4, 7, 3, 300)};
    BacktestRace dirt;
    dirt.fieldSize = 6;
    dirt.surface = 1;
    dirt.distanceBand = 2;
    dirt.darkHorseCount = 1;
    dirt.runners = {runner(1, 2, 1, 2, 120), runner(2, 1, 5, 3, 500), runner(3, 3, 2, 4, 90),
                    runner(4, 4, 3, 6, 100, true)};
    return {turf, dirt};
}

void expectCount(const HitCount& count, int hits, int trials, const char* what) {
    EXPECT_EQ(count.hits, hits) << what;
    EXPECT_EQ(count.trials, trials) << what;
}

TEST(BacktestFigures, CountsPicksAndBaselinesOfHandMadeRaces) {
    const std::vector<BacktestRace> races = twoRaces();
    const BacktestFigures f = backtestFigures(races);
    EXPECT_EQ(f.races, 2);
    expectCount(f.topPlace, 1, 2, "top place");
    expectCount(f.topWin, 0, 2, "top win");
    expectCount(f.darkPlace, 2, 3, "dark horse place");
    expectCount(f.darkWin, 1, 3, "dark horse win");
    expectCount(f.rankPlace[0], 1, 2, "rank 1 place");
    expectCount(f.rankPlace[1], 2, 2, "rank 2 place");
    expectCount(f.rankWin[1], 2, 2, "rank 2 win");
    expectCount(f.rankPlace[2], 2, 2, "rank 3 place");
    expectCount(f.rankWin[2], 0, 2, "rank 3 win");
    // Seventh, and third but abnormal: neither is placed.
    expectCount(f.rankPlace[3], 0, 2, "rank 4 place");
    expectCount(f.rankPlace[4], 0, 0, "rank 5 place");
    expectCount(f.quinellaPairs, 1, 2, "pairs");
    expectCount(f.quinellaRaces, 1, 1, "races with pairs"); // the dirt race has none
    expectCount(f.placeBetRaces, 1, 2, "place bets");
    // The dirt race has no favourite present, so it is not counted.
    expectCount(f.favouritePlace, 1, 1, "favourite place");
    expectCount(f.favouriteWin, 1, 1, "favourite win");
    // A tie on the highest estimate goes to the lower horse number (3, second).
    expectCount(f.longshotPlace, 1, 2, "longshot place");
    expectCount(f.longshotWin, 0, 2, "longshot win");
    EXPECT_DOUBLE_EQ(f.chancePlace, (3.0 / 10 + 3.0 / 6) / 2);
    EXPECT_DOUBLE_EQ(f.chanceWin, (1.0 / 10 + 1.0 / 6) / 2);
}

TEST(BacktestFigures, GroupsSplitBySurfaceAndDistanceBand) {
    const std::vector<BacktestRace> races = twoRaces();
    const std::vector<BacktestFigures> groups = groupFigures(races);
    ASSERT_EQ(groups.size(), backtestGroups().size());
    const int expected[] = {2, 1, 1, 1, 0, 1};
    for (size_t g = 0; g < groups.size(); ++g)
        EXPECT_EQ(groups[g].races, expected[g]) << backtestGroups()[g].key;
    expectCount(groups[2].topPlace, 0, 1, "dirt top place");
    EXPECT_DOUBLE_EQ(groups[2].chancePlace, 0.5);
    EXPECT_EQ(groups[4].chancePlace, 0); // no race: no division by zero
}

TEST(QuinellaHit, FirstTwoFinishersOrADeadHeatForFirst) {
    BacktestRace race;
    race.runners = {runner(1, 1, 1, 1, 0), runner(2, 2, 2, 2, 0), runner(3, 3, 1, 3, 0),
                    runner(4, 4, 2, 4, 0, true)};
    EXPECT_TRUE(quinellaHit(race, {1, 2}));
    EXPECT_TRUE(quinellaHit(race, {1, 3}));  // dead heat for first
    EXPECT_FALSE(quinellaHit(race, {1, 4})); // second but abnormal
    EXPECT_FALSE(quinellaHit(race, {2, 4}));
    EXPECT_FALSE(quinellaHit(race, {1, 1}));
    EXPECT_FALSE(quinellaHit(race, {1, 9})); // a horse not present
}

TEST(WilsonInterval, KnownValuesAndTheEdges) {
    Interval half = wilsonInterval({5, 10});
    EXPECT_NEAR(half.low, 0.236590, 1e-6);
    EXPECT_NEAR(half.high, 0.763410, 1e-6);
    Interval none = wilsonInterval({0, 10});
    EXPECT_DOUBLE_EQ(none.low, 0);
    EXPECT_NEAR(none.high, 0.277540, 1e-6);
    Interval all = wilsonInterval({10, 10});
    EXPECT_NEAR(all.low, 0.722460, 1e-6);
    EXPECT_DOUBLE_EQ(all.high, 1);
    Interval big = wilsonInterval({300, 1000});
    EXPECT_NEAR(big.low, 0.272406, 1e-6);
    EXPECT_NEAR(big.high, 0.329124, 1e-6);
    Interval empty = wilsonInterval({0, 0});
    EXPECT_EQ(empty.low, 0);
    EXPECT_EQ(empty.high, 1);
}

} // namespace
} // namespace zelkor
