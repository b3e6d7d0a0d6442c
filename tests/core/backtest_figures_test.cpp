#include "core/backtest_figures.h"
#include "support/backtest_races.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using test::twoBacktestRaces;

void expectCount(const HitCount& count, int hits, int trials, const char* what) {
    EXPECT_EQ(count.hits, hits) << what;
    EXPECT_EQ(count.trials, trials) << what;
}

TEST(BacktestFigures, CountsPicksAndBaselinesOfHandMadeRaces) {
    const std::vector<BacktestRace> races = twoBacktestRaces();
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
    const std::vector<BacktestRace> races = twoBacktestRaces();
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
    race.runners = {test::backtestRunner(1, 1, 1, 1, 0), test::backtestRunner(2, 2, 2, 2, 0),
                    test::backtestRunner(3, 3, 1, 3, 0), test::backtestRunner(4, 4, 2, 4, 0, true)};
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
