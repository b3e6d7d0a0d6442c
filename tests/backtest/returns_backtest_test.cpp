#include "backtest/returns_backtest.h"
#include "jvdata/jvdata_layouts.h"
#include "race/race_loader.h"
#include "store/jvdata_store.h"
#include "store/store_period_source.h"
#include "support/recording_prompt.h"
#include "support/season_store.h"
#include "support/silent_progress.h"
#include "support/temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace test;

ReturnsBacktest backtestOf(const std::string& store, int from, int to) {
    ReturnsBacktest backtest;
    RecordingPrompt prompt;
    SilentProgress progress;
    EXPECT_TRUE(backtestStoreReturns(store, from, to, backtest, prompt, progress));
    return backtest;
}

// A store in `folder` of the season `plan` makes, whose days go to `stats`.
std::string seasonStore(const TempFolder& folder, const JvdSeasonPlan& plan,
                        JvdSeasonStats& stats) {
    const std::string store = folder.file("jvdata.sqlite3");
    EXPECT_TRUE(importRecords(seasonRecords(plan, &stats), store));
    return store;
}

// What was predicted of a race: every runner's score and rank, every ticket.
std::string predictionOf(const ReturnRace& race) {
    std::string out = race.id.courseCode + std::to_string(race.id.raceNumber) + ":";
    for (const ReturnRunner& r : race.runners)
        out += " " + std::to_string(r.horseNumber) + "=" + std::to_string(r.score) + "/" +
               std::to_string(r.rank);
    for (const SettledTicket& t : race.tickets)
        out +=
            " " + std::to_string(t.ticket.numbers[0]) + "-" + std::to_string(t.ticket.numbers[1]);
    return out;
}

TEST(ReturnsBacktest, RecordsOnOrAfterTheRaceDayDoNotChangeItsPrediction) {
    JvdSeasonStats stats;
    const std::string records =
        seasonRecords({.days = 6, .coursesPerDay = 1, .horses = 80}, &stats);
    ASSERT_GE(stats.dates.size(), 4u);
    const int day = stats.dates[3];
    TempFolder folder("returns");
    ASSERT_TRUE(importRecords(records, folder.file("a/jvdata.sqlite3")));
    // Later races vanish; the day's own results and payouts change, its
    // final odds stay.
    ASSERT_TRUE(importRecords(records, folder.file("b/jvdata.sqlite3"), [&](std::string rec) {
        const std::string type = rec.substr(0, 2);
        if (type == "UM")
            return rec;
        const int date = std::stoi(rec.substr(jvlayout::kYear.offset, 8));
        if (date > day)
            return std::string();
        if (date == day && type == "SE")
            rec.replace(jvlayout::se::kFinish.offset, 2, "01");
        if (date == day && type == "HR")
            rec.replace(jvlayout::hr::kPlace.slots.offset + 2, 9, "000000990");
        return rec;
    }));
    const auto before = backtestOf(folder.file("a/jvdata.sqlite3"), day, day).races;
    const auto after = backtestOf(folder.file("b/jvdata.sqlite3"), day, day).races;
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(predictionOf(before[i]), predictionOf(after[i]));
}

// Every race of the period is settled or counted by why it was left out; a
// horse still a Thursday entry once its race has a card is no runner, and
// the import counts it.
TEST(ReturnsBacktest, EveryRaceLeftOutIsCountedByReason) {
    std::string records;
    const auto add = [&records](int raceNo, char kind, bool payouts, int runners, int thursday) {
        JvdRace race;
        race.kind = kind;
        race.key.raceNo = raceNo;
        records += jvdFramed(jvdRecord(race));
        for (int k = 1; k <= runners + thursday; ++k) {
            JvdRunner s;
            s.kind = k > runners ? '1' : 0;
            s.horseNo = k > runners ? 0 : k;
            s.finish = s.horseNo;
            s.horseId = std::to_string(2022100000 + raceNo * 20 + k);
            records += jvdFramed(jvdRecord(race, s));
        }
        JvdPayouts pay;
        pay.key = race.key;
        records += payouts ? jvdFramed(jvdRecord(pay)) : "";
    };
    add(1, '7', true, 3, 0);  // settled
    add(2, '7', false, 3, 0); // no payouts
    add(3, '2', true, 3, 0);  // no final results
    add(4, '7', true, 0, 1);  // no runner
    add(5, '7', true, 3, 1);  // settled with three runners
    TempFolder folder("leftout");
    std::ofstream(folder.file("day.jvd"), std::ios::binary) << records;
    RecordingPrompt prompt;
    SilentProgress progress;
    ImportSummary summary;
    const std::string store = folder.file("jvdata.sqlite3");
    ASSERT_TRUE(importJvData({folder.file("day.jvd")}, store, summary, prompt, progress));
    EXPECT_EQ(summary.uncardedEntries, 2);
    const ReturnsBacktest backtest = backtestOf(store, 20250105, 20250105);
    ASSERT_EQ(backtest.races.size(), 2u);
    EXPECT_EQ(backtest.races[1].runners.size(), 3u);
    EXPECT_EQ(backtest.racesFound, 5);
    EXPECT_EQ(leftOutRacesText(backtest),
              "除いたレース: 3 (JRAのレースでない 0、確定した成績がない 1、払戻がないか中止 1、"
              "出馬表未確定で読み込めない 1)");
}

TEST(StorePeriodSource, ReadsEveryRaceAndHorseAsTheDaySourceDoes) {
    JvdSeasonStats stats;
    TempFolder folder("period");
    const std::string store =
        seasonStore(folder, {.days = 4, .coursesPerDay = 2, .horses = 150}, stats);
    RecordingPrompt prompt;
    auto opened = StorePeriodSource::open(store, stats.dates[1], stats.dates.back());
    ASSERT_TRUE(opened) << opened.message();
    StorePeriodSource* period = opened->get();
    int races = 0;
    Result<bool> next = false;
    while ((next = period->nextDay()).valueOr(false)) {
        auto openedDay = openStoreDay(store, period->date());
        ASSERT_TRUE(openedDay) << openedDay.message();
        RaceSource* day = openedDay->get();
        ASSERT_EQ(period->raceCount(prompt), day->raceCount(prompt));
        for (int p = 1; p <= day->raceCount(prompt); ++p) {
            JvRaceCard a, b;
            ASSERT_EQ(period->readRace(a, p, prompt).ok(), day->readRace(b, p, prompt).ok());
            ASSERT_EQ(a, b) << period->date() << " race " << p;
            if (!raceLoadable(a))
                continue;
            RaceSheet sa, sb;
            loadJvRace(sa, a, *period, prompt);
            loadJvRace(sb, b, *day, prompt);
            EXPECT_EQ(sa.runners(), sb.runners()) << period->date() << " race " << p;
            ++races;
        }
    }
    EXPECT_TRUE(next) << next.message();
    EXPECT_FALSE(period->failed());
    EXPECT_GT(races, 30);
    EXPECT_TRUE(prompt.texts().empty());
}

// A store that fails under a period fails its next day once, with the
// store's message for the caller to tell; then there is no next day.
TEST(StorePeriodSource, ADamagedStoreFailsTheNextDayOnce) {
    JvdSeasonStats stats;
    TempFolder folder("period");
    const std::string store = seasonStore(folder, {.days = 2, .horses = 40}, stats);
    damageStoreTable(store, "ra");
    auto opened = StorePeriodSource::open(store, stats.dates[0], stats.dates.back());
    ASSERT_TRUE(opened) << opened.message();
    StorePeriodSource& period = **opened;
    EXPECT_EQ(period.nextDay().message(),
              "ファイル'" + store +
                  "'はJV-Dataの保存ファイルではないか、壊れています。\r\n"
                  "ファイルには手を付けていません。別の名前に変えてから、"
                  "JV-Dataを取り込み直してください。");
    EXPECT_TRUE(period.failed());
    const Result<bool> after = period.nextDay();
    EXPECT_TRUE(after.ok() && !*after);
}

} // namespace
} // namespace zelkor
