#include "chances/chance_quality.h"
#include "chances/day_chances.h"
#include "chances/place_chances.h"
#include "jvdata/jvdata_layouts.h"
#include "support/recording_prompt.h"
#include "support/season_store.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <numeric>

namespace zelkor {
namespace {

using namespace test;

// A season of a betting market over horses of planted abilities.
JvdSeasonPlan marketSeason(int publicNoise, double longShotBias) {
    JvdSeasonPlan plan;
    plan.days = 24;
    plan.coursesPerDay = 3;
    plan.horses = 500;
    plan.market = true;
    plan.placeOdds = true;
    plan.publicNoise = publicNoise;
    plan.longShotBias = longShotBias;
    plan.seed = 7;
    return plan;
}

// Fitted on the races before the last third of the season's days, judged
// on the rest: odds that are the truth cannot be beaten (a gain would be a
// leak or overfitting); a public that over-bets long shots can.
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
            seasonRecords(marketSeason(c.publicNoise, c.longShotBias), &stats);
        TempFolder folder("chances");
        const std::string store = folder.file("jvdata.sqlite3");
        ASSERT_TRUE(importRecords(records, store));
        const int cut = stats.dates[stats.dates.size() * 2 / 3];
        RecordingPrompt prompt;
        std::vector<RaceSample> history, later;
        ASSERT_TRUE(readRaceSamples(store, 0, cut - 1, history, prompt));
        ASSERT_TRUE(readRaceSamples(store, cut, stats.dates.back(), later, prompt));
        ChanceModel model;
        ASSERT_TRUE(fitChanceModel(history, model));
        QualityTally tally;
        for (const RaceSample& race : later)
            tally.add(model, race);
        const ChanceQuality q = tally.quality();
        ASSERT_GT(q.races, 200);
        // The value strategy's place tickets against one on every starter.
        PlaceTake value, every;
        for (const PredictedRace& race : tally.races())
            for (auto [sum, take] : {std::pair{&value, race.value}, {&every, race.everyStarter}})
                std::tie(sum->stake, sum->ret) =
                    std::pair(sum->stake + take.stake, sum->ret + take.ret);
        ASSERT_GT(value.stake, 0);
        if (c.beatsMarket) {
            EXPECT_LT(q.modelLogLoss, q.marketLogLoss - 0.02);
            EXPECT_GT(value.ret * every.stake, every.ret * value.stake);
        } else {
            EXPECT_GT(q.modelLogLoss, q.marketLogLoss - 0.005);
        }
        for (const RaceSample& race : later) {
            double win = 0, place = 0;
            for (const RunnerChance& chance : predictRace(model, race)) {
                win += chance.win;
                place += chance.place;
            }
            EXPECT_NEAR(win, 1.0, 1e-9);
            EXPECT_NEAR(place, placesPaid(static_cast<int>(race.runners.size())), 1e-9);
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
        if (rec.substr(0, 2) == "UM")
            return rec;
        const int date = std::stoi(rec.substr(jvlayout::kYear.offset, 8));
        if (date > day)
            return std::string();
        if (date == day && rec.substr(0, 2) == "SE")
            rec.replace(jvlayout::se::kFinish.offset, 2, "01");
        return rec;
    }));
    RecordingPrompt prompt;
    DayValues a, b;
    ASSERT_TRUE(valuesOfDay(folder.file("a/jvdata.sqlite3"), day, 1.1, a, prompt));
    ASSERT_TRUE(valuesOfDay(folder.file("b/jvdata.sqlite3"), day, 1.1, b, prompt));
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
        const bool dropped = rec.substr(0, 2) != "UM" &&
                             std::stoi(rec.substr(jvlayout::kYear.offset, 8)) == stats.dates[5];
        return dropped ? std::string() : rec;
    }));
    ASSERT_TRUE(valuesOfDay(c, day, 1.1, b, prompt));
    EXPECT_NE(a.model, b.model);
    ASSERT_TRUE(importRecords(records, c));
    ASSERT_TRUE(valuesOfDay(c, day, 1.1, b, prompt));
    EXPECT_EQ(a.model, b.model);
    ASSERT_TRUE(runSqlAsAnotherProgram(c, "UPDATE chance_models SET feature_version = 0, numbers = "
                                          "'0 0 0 0 0 0 0 0 0 0 0 0 | | 1 0 | '"));
    ASSERT_TRUE(valuesOfDay(c, day, 1.1, b, prompt));
    EXPECT_EQ(a.model, b.model);
    ASSERT_TRUE(valuesOfDay(c, day, 1.1, b, prompt)); // the kept model, read back exactly
    EXPECT_EQ(a.model, b.model);
    // Too little history: one message that says how many races it takes.
    prompt.entries.clear();
    EXPECT_FALSE(valuesOfDay(folder.file("a/jvdata.sqlite3"), stats.dates[2], 1.1, a, prompt));
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_NE(prompt.entries[0].text.find("200"), std::string::npos);
}

} // namespace
} // namespace zelkor
