#include "core/prediction_file.h"
#include "core/report.h"
#include "core/scoring.h"
#include "jvdata/jvdata_layouts.h"
#include "race/race_loader.h"
#include "store/jvdata_store.h"
#include "store/store_race_source.h"
#include "support/jvdata_generator.h"
#include "support/recording_prompt.h"
#include "support/silent_progress.h"
#include "support/temp_folder.h"
#include "text/format.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace test;

JvdRace raceOn(int date, const char* course, int raceNo, char kind = '7') {
    JvdRace r;
    r.kind = kind;
    r.key = {date / 10000, date % 10000, course, 1, 1, raceNo};
    r.name = "テスト特別";
    return r;
}

JvdRunner runner(int horseNo, const char* id, int finish, int abnormal = 0) {
    JvdRunner s;
    s.horseNo = horseNo;
    s.bracket = horseNo;
    s.horseId = id;
    s.finish = finish;
    s.abnormal = abnormal;
    s.age = 4;
    s.time = 1345 + finish;
    s.corners = {0, 3, 2, finish};
    s.winOdds = 30 + horseNo;
    s.popularity = horseNo;
    return s;
}

constexpr const char* kA = "2021100001";
constexpr const char* kC = "2021100003";
constexpr const char* kD = "2021100004";

// Horse A's career and one race day (2025-03-01) with a result race holding
// a scratch and a dead heat, a card race with odds, a cancelled race, a race
// of Thursday entries and a local race.
std::string records() {
    std::string out;
    const auto add = [&out](const JvdRace& race, std::vector<JvdRunner> runners) {
        out += jvdFramed(jvdRecord(race));
        for (const JvdRunner& s : runners)
            out += jvdFramed(jvdRecord(race, s));
    };
    JvdRace past = raceOn(20250105, "06", 5);
    past.track = 17;
    past.conditions = {0, 0, 10, 10, 5}; // age 4: slot 2
    add(past, {runner(2, kA, 3)});
    JvdRace local = raceOn(20250120, "44", 3, 'A');
    local.track = 24;
    local.distance = 2000;
    add(local, {runner(1, kA, 1)});
    JvdRace overseas = raceOn(20250202, "A8", 1, 'B');
    overseas.track = 18;
    overseas.distance = 2400;
    JvdRunner abroad = runner(4, kA, 5);
    abroad.margin = "K  ";
    abroad.timeDiff = "+012";
    add(overseas, {abroad});
    add(raceOn(20250210, "06", 4), {runner(3, kA, 0, 1)});   // scratched
    add(raceOn(20250216, "06", 7, '9'), {runner(3, kA, 0)}); // cancelled
    add(raceOn(20250308, "06", 1), {runner(3, kA, 1)});      // after the day

    JvdRace result = raceOn(20250301, "06", 2);
    result.grade = 'L';
    JvdRunner deadHeat = runner(4, kD, 2);
    deadHeat.margin = "D  ";
    deadHeat.apprentice = 4;
    add(result, {runner(1, kA, 2), runner(2, "2021100002", 0, 1), runner(3, kC, 1), deadHeat});
    JvdRace card = raceOn(20250301, "06", 1, '2');
    add(card, {runner(1, kA, 0), runner(2, kC, 0)});
    JvdOdds odds;
    odds.kind = '3';
    odds.key = card.key;
    odds.win = {{1, "0123", 2}, {2, "****", 0}};
    out += jvdFramed(jvdRecord(odds));
    add(raceOn(20250301, "05", 11, '9'), {runner(1, kC, 0)});
    JvdRunner entry = runner(0, kD, 0);
    entry.bracket = 0;
    add(raceOn(20250301, "06", 3, '1'), {entry});
    add(raceOn(20250301, "44", 1, 'A'), {runner(1, kC, 1)});

    JvdHorse a;
    a.horseId = kA;
    a.name = "エーホース";
    a.birthDate = 20210401;
    out += jvdFramed(jvdRecord(a));
    return out;
}

// A store holding `file` (by default the records above), opened on 2025-03-01.
struct Day {
    TempFolder folder{"jvday"};
    RecordingPrompt prompt;
    SilentProgress progress;
    std::string store = jvStorePath(folder.path());
    ImportSummary summary;
    std::unique_ptr<RaceSource> source;
    explicit Day(std::string file = {}) {
        if (file.empty())
            std::ofstream(file = folder.file("day.jvd"), std::ios::binary) << records();
        EXPECT_TRUE(importJvData({file}, store, summary, prompt, progress));
        if (auto opened = openStoreDay(store, 20250301))
            source = std::move(*opened);
    }
};

TEST(StoreRaceSource, DatesAndTheRacesOfADay) {
    Day day;
    const Result<std::vector<StoreDate>> read = readStoreDates(day.store);
    ASSERT_TRUE(read);
    const std::vector<StoreDate>& dates = *read;
    ASSERT_EQ(dates.size(), 5u); // local and overseas days are no race days
    EXPECT_EQ(dates[0].date, 20250308);
    EXPECT_EQ(dates[1].date, 20250301);
    EXPECT_EQ(dates[1].races, 4);
    ASSERT_TRUE(day.source);
    ASSERT_EQ(day.source->raceCount(day.prompt), 4);
    const struct {
        const char* course;
        int raceNo;
        bool cancelled, entriesOnly;
    } expected[] = {{"05", 11, true, false},
                    {"06", 1, false, false},
                    {"06", 2, false, false},
                    {"06", 3, false, true}};
    for (int i = 0; i < 4; ++i) {
        JvRaceCard card;
        ASSERT_TRUE(day.source->readRace(card, i + 1, day.prompt));
        EXPECT_EQ(card.courseCode, expected[i].course);
        EXPECT_EQ(card.raceNumber, expected[i].raceNo);
        EXPECT_EQ(card.cancelled, expected[i].cancelled);
        EXPECT_EQ(card.entriesOnly, expected[i].entriesOnly);
    }
    EXPECT_EQ(openStoreDay(day.store, 20250120).message(), // only a local race
              "2025年1月20日のレースはJV-Dataの保存ファイルにありません。\r\n"
              "その日のJV-Dataを取り込んでから開いてください。");
}

TEST(StoreRaceSource, RaceCardKeepsRealNumbersAndOdds) {
    Day day;
    JvRaceCard card;
    ASSERT_TRUE(day.source->readRace(card, 3, day.prompt));
    EXPECT_EQ(card.raceName, "テスト特別");
    EXPECT_EQ(card.gradeText, "リステッド");
    EXPECT_EQ(card.conditionTexts[1], "1勝クラス");
    EXPECT_EQ(card.prizeMoney[0], 10000);
    ASSERT_EQ(card.runnerCount, 3);
    EXPECT_EQ((std::vector<int>{card.runners[0].horseNumber, card.runners[1].horseNumber,
                                card.runners[2].horseNumber}),
              (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(card.runners[1].horseId, kC);
    EXPECT_EQ(card.runners[0].horseName, "テストホース");
    EXPECT_EQ(card.runners[2].apprenticeCode, 4);
    EXPECT_EQ(card.runners[2].winOdds, 34); // final odds of a race with results
    EXPECT_EQ(card.runners[2].popularity, 4);
    ASSERT_TRUE(day.source->readRace(card, 2, day.prompt));
    EXPECT_EQ(card.runners[0].winOdds, 123); // the newest O1 before results
    EXPECT_EQ(card.runners[1].winOdds, 0);   // "****": no odds
}

TEST(StoreRaceSource, AScratchLeavesTheRealNumbersOnEveryView) {
    Day day;
    JvRaceCard card;
    ASSERT_TRUE(day.source->readRace(card, 3, day.prompt));
    RaceSheet sheet;
    loadJvRace(sheet, card, *day.source, day.prompt);
    EXPECT_EQ(runnerLabel(sheet), "白 1枠 1番 ");
    sheet.currentRunner = 3;
    EXPECT_EQ(runnerLabel(sheet), "青 4枠 4番 ");
    scoreRace(sheet);
    std::vector<std::string> shown = resultLines(sheet).brackets;
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::string>{"1枠 1番", "3枠 3番", "4枠 4番"}));
    sheet.result.reportMode = ReportMode::Trainer;
    EXPECT_NE(buildReportText(sheet, 0).find(
                  format(" %d番 ", sheet.shownNumber(sheet.result.horseAt(1)))),
              std::string::npos);
    // The prediction file cannot hold the gap: its runners are 1..n, and
    // the user is told so; read back, the numbers are the slots again.
    TempFolder folder("renumbered");
    const size_t notes = day.prompt.entries.size();
    ASSERT_TRUE(writePredictionFile(sheet, folder.file("race.zel"), day.prompt));
    EXPECT_EQ(day.prompt.entries.size(), notes + 1);
    ASSERT_TRUE(readPredictionFile(sheet, folder.file("race.zel"), day.prompt));
    EXPECT_FALSE(sheet.renumbered());
}

TEST(StoreRaceSource, HorseAsItStoodBeforeTheRace) {
    Day day;
    JvRaceCard card;
    ASSERT_TRUE(day.source->readRace(card, 3, day.prompt));
    JvHorseRecord horse;
    ASSERT_TRUE(day.source->readHorse(horse, card, 1, day.prompt));
    EXPECT_EQ(horse.name, "テストホース"); // the race's SE, not the later UM name
    EXPECT_EQ(horse.birthYear, 2021);
    EXPECT_EQ(horse.age, 4);
    EXPECT_EQ(horse.sire, "テストチチ");
    EXPECT_EQ(horse.damDam, "ハハノハハ");
    EXPECT_EQ(horse.breeder, "山田牧場");
    EXPECT_EQ(horse.earnings, 1500);
    EXPECT_EQ(horse.oddsEstimate, 31);
    // Overseas, local and JRA runs; the scratched, cancelled and later ones are none.
    EXPECT_EQ(horse.pastRuns[0].course(), "A8");
    EXPECT_EQ(horse.pastRuns[1].course(), "44");
    EXPECT_EQ(horse.pastRuns[2].course(), "06");
    EXPECT_FALSE(horse.pastRuns[3].present());
    EXPECT_EQ(horse.pastRunDetails[0].marginCode, "K__");
    EXPECT_EQ(otherTimeOf(horse.pastRuns[0]), 1338); // 1:35.0 - 1.2 s
    EXPECT_EQ(runCorner(horse.pastRuns[0], 0), 7);   // no 1st corner
    EXPECT_EQ(runCorner(horse.pastRuns[0], 3), 5);
    EXPECT_EQ(horse.pastRuns[2].conditionCode, 10);
    EXPECT_EQ(horse.pastRunDetails[2].raceName, "テスト特別");
    EXPECT_EQ(horse.bandCounts[0][0][2], 1); // turf ≤1600, 3rd
    EXPECT_EQ(horse.bandCounts[1][1][0], 1); // dirt 2000, 1st
    EXPECT_EQ(horse.bandCounts[0][2][3], 1); // turf 2400, 5th
}

TEST(StoreRaceSource, HistoryKeepsTheFiveNewestRunsAndCountsEvery) {
    HorseHistory history;
    for (int i = 1; i <= 7; ++i) { // turf 1600 m
        const JvdRace race = raceOn(20250105, "05", i);
        history.addNewer(jvdRecord(race, runner(1, "2021100001", i)), jvdRecord(race));
    }
    JvHorseRecord newest;
    history.copyNewest(newest);
    for (size_t k = 0; k < newest.pastRuns.size(); ++k)
        EXPECT_EQ(newest.pastRuns[k].raceNumber, 7 - static_cast<int>(k));
    EXPECT_EQ(history.counts[0][0], (std::array<int, 4>{1, 1, 1, 4}));
}

TEST(StoreRaceSource, BothUmLengthsGiveTheSameHorse) {
    JvdHorse h;
    JvdRace race;
    const std::string se = jvdRecord(race, JvdRunner{});
    JvHorseRecord current, old;
    horseFromRecords(current, horseOriginOf(jvdRecord(h)), se, {}, 0);
    h.before2023 = true;
    horseFromRecords(old, horseOriginOf(jvdRecord(h)), se, {}, 0);
    EXPECT_EQ(old, current);
    EXPECT_EQ(current.birthplace, "日高町");
    EXPECT_EQ(current.owner, "鈴木花子");
    EXPECT_EQ(current.prizeTotal, 2300);
}

// The bundled season imports without a rejected record, and every race of
// every day reads with every runner's horse without a message.
TEST(StoreRaceSource, SampleSeasonLoadsCleanly) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    Day sample(std::string(root) + "/resources/sample/JV-Data_sample.dat");
    EXPECT_TRUE(sample.summary.rejected.empty());
    const Result<std::vector<StoreDate>> dates = readStoreDates(sample.store);
    ASSERT_TRUE(dates);
    ASSERT_EQ(dates->size(), 12u);
    int loadable = 0, withHistory = 0;
    for (const StoreDate& date : *dates) {
        auto opened = openStoreDay(sample.store, date.date);
        ASSERT_TRUE(opened) << opened.message();
        RaceSource* source = opened->get();
        ASSERT_EQ(source->raceCount(sample.prompt), date.races);
        for (int r = 1; r <= date.races; ++r) {
            JvRaceCard card;
            ASSERT_TRUE(source->readRace(card, r, sample.prompt));
            if (!raceLoadable(card))
                continue;
            ++loadable;
            for (int k = 1; k <= card.runnerCount; ++k) {
                JvHorseRecord horse;
                ASSERT_TRUE(source->readHorse(horse, card, k, sample.prompt));
                withHistory += horse.pastRuns[0].present();
            }
        }
    }
    EXPECT_TRUE(sample.prompt.entries.empty());
    EXPECT_GT(loadable, 250);
    EXPECT_GT(withHistory, 2000);
}

} // namespace
} // namespace zelkor
