#include "chances/chance_quality.h"
#include "chances/day_chances.h"
#include "chances/place_chances.h"
#include "jvdata/jvdata_layouts.h"
#include "support/recording_prompt.h"
#include "support/season_store.h"
#include "support/silent_progress.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <numeric>
#include <tuple>

namespace zelkor {
namespace {

using namespace test;

// A season of a betting market over horses of planted abilities.
JvdSeasonPlan marketSeason(int publicNoise, double longShotBias, int days = 24) {
    JvdSeasonPlan plan;
    plan.days = days;
    plan.coursesPerDay = 3;
    plan.horses = 500;
    plan.stages = false;
    plan.market = true;
    plan.placeOdds = true;
    plan.publicNoise = publicNoise;
    plan.longShotBias = longShotBias;
    plan.seed = 7;
    return plan;
}

// Walked forward over seven months, as the backtest walks: odds that are the
// truth cannot be beaten (a gain would be a leak or overfitting) and show
// hardly a runner worth a bet; a public that over-bets long shots can be
// beaten, and the place tickets on its value runners, hundreds of them,
// return more than the stake and than a ticket on every starter.
TEST(Chances, LearnWhatTheOddsMissAndNoMore) {
    struct Case {
        const char* name;
        int publicNoise;
        double longShotBias;
        bool beatsMarket;
    };
    for (const Case& c :
         {Case{"odds are the truth", 0, 1.0, false}, Case{"long shots over-bet", 16, 0.6, true}}) {
        SCOPED_TRACE(c.name);
        JvdSeasonStats stats;
        const std::string records =
            seasonRecords(marketSeason(c.publicNoise, c.longShotBias, 64), &stats);
        TempFolder folder("chances");
        const std::string store = folder.file("jvdata.sqlite3");
        ASSERT_TRUE(importRecords(records, store));
        RecordingPrompt prompt;
        SilentProgress progress;
        WalkForwardQuality walked;
        // January is the first history.
        ASSERT_TRUE(walkForwardQuality(store, 20250201, stats.dates.back(), kDefaultValueThreshold,
                                       walked, prompt, progress));
        const ChanceQuality& q = walked.quality;
        ASSERT_GT(q.races, 1500);
        PlaceTake value, every;
        for (const PredictedRace& race : walked.races) {
            for (auto [sum, take] : {std::pair{&value, race.value}, {&every, race.everyStarter}})
                *sum = {sum->tickets + take.tickets, 0, sum->stake + take.stake,
                        sum->ret + take.ret};
            double win = 0, place = 0;
            for (const RunnerChance& chance : race.chances)
                std::tie(win, place) = std::pair(win + chance.win, place + chance.place);
            EXPECT_NEAR(win, 1.0, 1e-9);
            EXPECT_NEAR(place, placesPaid(static_cast<int>(race.chances.size())), 1e-9);
        }
        if (c.beatsMarket) {
            EXPECT_LT(q.modelLogLoss, q.marketLogLoss - 0.02);
            ASSERT_GT(value.tickets, 300);
            EXPECT_GT(value.ret, value.stake);
            EXPECT_GT(value.ret * every.stake, every.ret * value.stake);
        } else {
            EXPECT_GT(q.modelLogLoss, q.marketLogLoss - 0.005);
            EXPECT_LT(value.tickets * 100, every.tickets);
        }
        for (const CalibrationBin& bin : walked.calibration)
            if (bin.runners >= 500) {
                EXPECT_NEAR(bin.predicted, bin.observed, 0.03) << bin.low;
            }
    }
}

// A day's chances come from the races before it only: the races after it
// and its own results change nothing, and the same store gives the same
// numbers.
TEST(Chances, LaterRacesNeverChangeADaysChances) {
    JvdSeasonStats stats;
    const std::string records = seasonRecords(marketSeason(16, 0.6), &stats);
    const int day = stats.dates[stats.dates.size() - 4];
    TempFolder folder("chances");
    ASSERT_TRUE(importRecords(records, folder.file("a/jvdata.sqlite3")));
    ASSERT_TRUE(importRecords(records, folder.file("b/jvdata.sqlite3"), [&](std::string rec) {
        const int date = recordDate(rec);
        if (date > day)
            return std::string();
        if (date == day && rec.substr(0, 2) == "SE")
            rec.replace(jvlayout::se::kFinish.offset, 2, "01");
        return rec;
    }));
    SilentProgress progress;
    const auto valuesOf = [&](const std::string& store, int date) {
        Result<DayValues> values = valuesOfDay(store, date, 1.1, progress);
        EXPECT_TRUE(values) << values.message();
        return values.valueOr({});
    };
    const DayValues a = valuesOf(folder.file("a/jvdata.sqlite3"), day);
    DayValues b = valuesOf(folder.file("b/jvdata.sqlite3"), day);
    EXPECT_EQ(a.model, b.model);
    ASSERT_EQ(a.races.size(), b.races.size());
    int valued = 0;
    for (size_t r = 0; r < a.races.size(); ++r)
        for (size_t i = 0; i < a.races[r].runners.size(); ++i) {
            const RunnerValue& x = a.races[r].runners[i];
            const RunnerValue& y = b.races[r].runners[i];
            EXPECT_EQ(x.winChance, y.winChance);
            EXPECT_EQ(x.placeChance, y.placeChance);
            EXPECT_GT(x.placeOddsLow, 0);
            EXPECT_DOUBLE_EQ(x.placeReturn, x.placeChance * x.placeOddsLow / 10.0);
            valued += x.value ? 1 : 0;
        }
    EXPECT_GT(valued, 0);
    // A model kept without an earlier day is not used once that day is
    // imported, nor one kept under another feature version.
    const std::string c = folder.file("c/jvdata.sqlite3");
    ASSERT_TRUE(importRecords(records, c, [&](std::string rec) {
        return recordDate(rec) == stats.dates[5] ? std::string() : rec;
    }));
    EXPECT_NE(a.model, valuesOf(c, day).model);
    ASSERT_TRUE(importRecords(records, c));
    EXPECT_EQ(a.model, valuesOf(c, day).model);
    ASSERT_TRUE(runSqlAsAnotherProgram(c, "UPDATE chance_models SET feature_version = 0, numbers = "
                                          "'0 0 0 0 0 0 0 0 0 0 0 0 | | 1 0 | '"));
    EXPECT_EQ(a.model, valuesOf(c, day).model);
    EXPECT_EQ(a.model, valuesOf(c, day).model); // the kept model, read back exactly
    // Too little history, and a cancel: the failure says why, telling nobody.
    struct Cancelled : SilentProgress {
        bool cancelled() const override { return true; }
    } cancelled;
    for (auto [date, sink, why] : {std::tuple{stats.dates[2], &progress, "200 件以上"},
                                   {day, &cancelled, "キャンセルしました"}}) {
        const Result<DayValues> none =
            valuesOfDay(folder.file("a/jvdata.sqlite3"), date, 1.1, *sink);
        ASSERT_FALSE(none);
        EXPECT_NE(none.message().find(why), std::string::npos) << none.message();
    }
}

} // namespace
} // namespace zelkor
