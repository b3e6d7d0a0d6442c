// Runs the built zelkor2k-cli value over a generated store as a user would.

#include "cli_run.h"
#include "store/jvdata_store.h"
#include "support/season_store.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace zelkor {
namespace {

class ValueCommand : public cli_test::ProgramFolderTest {};

TEST_F(ValueCommand, ChancesAndReturnsOfARaceOrWhyThereAreNone) {
    // 288 races before February.
    const test::JvdSeasonPlan plan{
        .days = 12, .coursesPerDay = 3, .horses = 400, .market = true, .placeOdds = true};
    test::JvdSeasonStats stats;
    ASSERT_TRUE(test::importRecords(test::seasonRecords(plan, &stats),
                                    jvStorePath(program_.string() + "/")));
    const std::string last = std::to_string(stats.dates.back());
    const cli_test::Outcome r = run({"value", "--date", last, "--race", "3", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json out = nlohmann::json::parse(r.out);
    EXPECT_GE(out["model"]["races"].get<int>(), 200);
    ASSERT_EQ(out["races"].size(), 3u); // the third race of each course
    double win = 0;
    for (const auto& runner : out["races"][0]["runners"]) {
        win += runner["winChance"].get<double>();
        EXPECT_NEAR(runner["placeReturn"].get<double>(),
                    runner["placeChance"].get<double>() * runner["placeOddsLow"].get<double>(),
                    1e-3);
        EXPECT_EQ(runner["value"].get<bool>(), runner["winReturn"].get<double>() >= 1.1 ||
                                                   runner["placeReturn"].get<double>() >= 1.1);
    }
    EXPECT_NEAR(win, 1.0, 1e-5);

    // The backtest judges the model, walk forward, on the same kind of races.
    const cli_test::Outcome b = run({"backtest", "--from", last, "--to", last, "--json"});
    ASSERT_EQ(b.status, 0) << b.err;
    const nlohmann::json backtest = nlohmann::json::parse(b.out);
    EXPECT_GE(backtest["logLoss"]["races"].get<int>(), 20);
    size_t binned = 0, runners = 0;
    for (const auto& bin : backtest["calibration"])
        binned += bin["runners"].get<size_t>();
    for (const auto& race : backtest["races"])
        for (const auto& runner : race["runners"])
            runners += runner.contains("placeChance") ? 1 : 0;
    EXPECT_EQ(binned, runners);
    EXPECT_TRUE(backtest["value"]["everyStarterPlace"].contains("low"));
    // predict of a race of the store carries the same chances.
    const cli_test::Outcome p = run({"predict", "--date", last, "--race", "3", "--json"});
    ASSERT_EQ(p.status, 0) << p.err;
    const nlohmann::json predicted = nlohmann::json::parse(p.out);
    EXPECT_EQ(predicted["chanceModel"], out["model"]);
    EXPECT_EQ(predicted["runners"][0]["winChance"], out["races"][0]["runners"][0]["winChance"]);

    const cli_test::Outcome early = run({"value", "--date", std::to_string(stats.dates[1])});
    EXPECT_EQ(early.status, 1);
    EXPECT_NE(early.err.find(cli_test::u8(u8"200 件以上のレースが必要です")), std::string::npos)
        << early.err;
    EXPECT_EQ(run({"value", "--date", "2025011"}).status, 1);
}

} // namespace
} // namespace zelkor
