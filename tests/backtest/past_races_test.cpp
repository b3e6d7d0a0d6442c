// Past races rebuilt from the runs of a horse file, and each runner as it
// stood before the race.

#include "backtest/backtest.h"
#include "backtest/past_races.h"
#include "core/scoring.h"
#include "race/race_loader.h"
#include "support/jv_generator.h"
#include "support/jv_test_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

namespace zelkor {
namespace {

using test::JvHorseData;
using test::JvRunData;

// The horses as the reader gives them, through a written file.
PastHorses readBack(const std::vector<JvHorseData>& horses) {
    test::JvTestDir dir;
    const std::string path = dir.file("JracUmaj.dat");
    EXPECT_TRUE(test::writeJvHorseFile(path, horses));
    PastHorses entries;
    EXPECT_TRUE(readPastHorses(path, entries));
    return entries;
}

using RaceKey = std::tuple<int, int, std::string, int, int, int>;
RaceKey keyOf(const JvRunData& run) {
    return {run.year, run.monthDay, run.courseCode, run.meeting, run.meetingDay, run.raceNumber};
}
RaceKey keyOf(const PastRaceId& id) {
    return {id.year, id.monthDay, id.courseCode, id.meeting, id.meetingDay, id.raceNumber};
}

// (horse id, horse number, finish, popularity, abnormal) of a runner.
using RunnerFacts = std::tuple<std::string, int, int, int, bool>;

// What each race of the season should rebuild to: its runners whose record
// still holds the race (the oldest runs fall off the five kept); whether
// each of them shows two runs before it or its whole career; whether the
// favourite is among them.
struct ExpectedRace {
    int fieldSize = 0;
    std::vector<RunnerFacts> runners;
    bool histories = true;
    bool favourite = false;
};
std::map<RaceKey, ExpectedRace> expectedRaces(const test::JvPastSeason& season) {
    std::map<RaceKey, ExpectedRace> expected;
    for (const test::JvSeasonRace& race : season.races) {
        ExpectedRace out{race.card.fieldSize, {}, true, false};
        for (const test::JvSeasonRunner& r : race.runners) {
            const JvHorseData& horse = season.horses[static_cast<size_t>(r.horse)];
            for (size_t slot = 0; slot < horse.runs.size(); ++slot)
                if (keyOf(horse.runs[slot]) == keyOf(race.card)) {
                    out.runners.emplace_back(horse.id, r.horseNumber, r.finish, r.popularity,
                                             r.abnormal);
                    out.histories =
                        out.histories && (horse.runs.size() < 5 || horse.runs.size() - slot > 2);
                    out.favourite = out.favourite || r.popularity == 1;
                }
        }
        if (!out.runners.empty())
            expected[keyOf(race.card)] = out;
    }
    return expected;
}

std::vector<RunnerFacts> rebuiltRunners(const PastRace& race, const PastHorses& horses) {
    std::vector<RunnerFacts> facts;
    for (const PastRaceRunner& r : race.runners) {
        const JvPastRun& run = horses[r.horse].runs[r.slot];
        facts.emplace_back(horses[r.horse].horseId(), run.horseNumber, run.finish, run.popularity,
                           run.abnormal != 0);
    }
    return facts;
}

TEST(PastRaces, TheSeasonsRacesComeBackWithTheirRunnersAndOutcomes) {
    const test::JvPastSeason season = test::makeJvPastSeason(400, 6.0, 5);
    const PastHorses horses = readBack(season.horses);
    const auto expected = expectedRaces(season);

    // Every race with a runner left, but those whose runners or favourite
    // cannot be judged.
    const PastRaceSet all = rebuildPastRaces(horses, {1, 0});
    size_t judged = 0;
    for (const auto& [key, race] : expected)
        judged += race.histories && race.favourite ? 1 : 0;
    EXPECT_EQ(all.races.size(), judged);
    EXPECT_EQ(all.races.size() + static_cast<size_t>(all.dropped()), expected.size());
    for (const PastRace& race : all.races) {
        auto it = expected.find(keyOf(race.id));
        ASSERT_NE(it, expected.end());
        EXPECT_EQ(race.fieldSize, it->second.fieldSize);
        EXPECT_EQ(rebuiltRunners(race, horses), it->second.runners);
    }

    // The default rules keep exactly the races with 5 runners and 80 % of
    // the field present, and count the others by their first reason.
    const PastRaceSet kept = rebuildPastRaces(horses, {});
    size_t keep = 0;
    int few = 0, share = 0, history = 0, favourite = 0;
    for (const auto& [key, race] : expected) {
        const int present = static_cast<int>(race.runners.size());
        if (present < 5)
            ++few;
        else if (present * 100 < 80 * race.fieldSize)
            ++share;
        else if (!race.histories)
            ++history;
        else if (!race.favourite)
            ++favourite;
        else
            ++keep;
    }
    EXPECT_EQ(kept.races.size(), keep);
    EXPECT_EQ(kept.droppedFewRunners, few);
    EXPECT_EQ(kept.droppedLowShare, share);
    EXPECT_EQ(kept.droppedInconsistent, 0);
    EXPECT_EQ(kept.droppedShortHistory, history);
    EXPECT_EQ(kept.droppedNoFavourite, favourite);
    EXPECT_GT(history, 0);
    EXPECT_GT(all.droppedNoFavourite, 0);
    EXPECT_GT(keep, 50u);
    EXPECT_GT(share, 0);
}

// A run of a hand-made race: identity by race number, the rest as given.
JvRunData runIn(int raceNumber, int monthDay, int fieldSize, int horseNumber, int finish,
                int popularity = 1) {
    JvRunData run;
    run.year = 2025;
    run.monthDay = monthDay;
    run.raceNumber = raceNumber;
    run.fieldSize = fieldSize;
    run.horseNumber = horseNumber;
    run.finish = finish;
    run.popularity = popularity;
    return run;
}

JvHorseData horseWith(int n, std::vector<JvRunData> runs) {
    JvHorseData horse;
    horse.id = test::jvHorseIdFor(n);
    horse.runs = std::move(runs);
    return horse;
}

// Race 1: 5 of 6 present. Race 2: 4 of 4. Race 3: 5 of 8. Race 4: two
// horses with number 2. Race 5: field sizes 6 and 7.
std::vector<JvHorseData> droppingHorses() {
    std::vector<JvHorseData> horses;
    for (int h = 1; h <= 5; ++h) {
        std::vector<JvRunData> runs = {runIn(1, 1010, 6, h, h), runIn(3, 1001, 8, h, h)};
        if (h <= 4)
            runs.insert(runs.begin() + 1, runIn(2, 1005, 4, h, h));
        horses.push_back(horseWith(h, runs));
    }
    for (int h = 6; h <= 10; ++h)
        horses.push_back(horseWith(h, {runIn(4, 920, 8, h == 8 ? 2 : h - 5, h - 5),
                                       runIn(5, 910, h == 10 ? 7 : 6, h - 5, h - 5)}));
    return horses;
}

TEST(PastRaces, RacesAreDroppedByTheirReason) {
    const PastHorses horses = readBack(droppingHorses());
    const PastRaceSet set = rebuildPastRaces(horses, {});
    ASSERT_EQ(set.races.size(), 1u);
    EXPECT_EQ(set.races[0].id.raceNumber, 1);
    EXPECT_EQ(set.races[0].runners.size(), 5u);
    EXPECT_EQ(set.droppedFewRunners, 1);
    EXPECT_EQ(set.droppedLowShare, 1);
    EXPECT_EQ(set.droppedInconsistent, 2);

    const PastRaceSet loose = rebuildPastRaces(horses, {4, 60});
    ASSERT_EQ(loose.races.size(), 3u);
    EXPECT_EQ(loose.dropped(), 2);
    // Date order: race 3 (1001), race 2 (1005), race 1 (1010).
    EXPECT_EQ(loose.races[0].id.raceNumber, 3);
    EXPECT_EQ(loose.races[1].id.raceNumber, 2);
    EXPECT_EQ(loose.races[2].id.raceNumber, 1);
    // 5 of 6 is 83 %: dropped when 85 % is asked for.
    EXPECT_EQ(rebuildPastRaces(horses, {5, 85}).droppedLowShare, 2);
}

TEST(PastRaces, ARaceTwiceInOneRecordCountsOnce) {
    std::vector<JvHorseData> horses;
    for (int h = 1; h <= 5; ++h)
        horses.push_back(horseWith(h, {runIn(1, 1010, 5, h, h)}));
    horses[0].runs.push_back(horses[0].runs[0]);
    const PastRaceSet set = rebuildPastRaces(readBack(horses), {});
    ASSERT_EQ(set.races.size(), 1u);
    EXPECT_EQ(set.races[0].runners.size(), 5u);
    EXPECT_EQ(set.races[0].runners[0].slot, 0u);
}

// A full record (five runs) with the given race dates, newest first.
PastHorse horseRunOn(std::initializer_list<int> monthDays) {
    PastHorse horse;
    for (int monthDay : monthDays) {
        JvPastRun& run = horse.runs[static_cast<size_t>(horse.runCount++)];
        run.read = true;
        run.courseCode = {'0', '5'};
        run.year = 2025;
        run.monthDay = monthDay;
    }
    return horse;
}

std::vector<int> datesBefore(const PastHorse& horse, size_t slot) {
    std::vector<int> dates;
    const RunsBefore before = runsBefore(horse, slot);
    for (const JvPastRun& run : before.span())
        dates.push_back(run.monthDay);
    return dates;
}

TEST(RunsBefore, TheSlotsAfterTheRaceDatedBeforeItEvenPastARunOutOfOrder) {
    const PastHorse disordered = horseRunOn({1201, 1101, 1001, 1015, 901});
    EXPECT_EQ(datesBefore(disordered, 0), (std::vector<int>{1101, 1001, 1015, 901}));
    // 1015 is not before 1001: skipped, and 901 after it still counts.
    EXPECT_EQ(datesBefore(disordered, 2), std::vector<int>{901});
    EXPECT_EQ(datesBefore(disordered, 4), std::vector<int>{});
    EXPECT_EQ(datesBefore(disordered, 9), std::vector<int>{});
    // A run on the race's own day is not before it.
    EXPECT_EQ(datesBefore(horseRunOn({1201, 1101, 1101, 1001, 901}), 1),
              (std::vector<int>{1001, 901}));
    PastHorse shortRecord = disordered;
    shortRecord.runCount = 2; // the end of the runs
    EXPECT_EQ(datesBefore(shortRecord, 0), std::vector<int>{1101});
}

// Race 5 on 1101 of five horses, each record holding `runs` runs with the
// race in `slot` (later runs before it, earlier ones after); `favourite`:
// one of them is popularity 1.
std::vector<JvHorseData> raceInSlot(size_t slot, size_t runs, bool favourite) {
    std::vector<JvHorseData> horses;
    for (int h = 1; h <= 5; ++h) {
        std::vector<JvRunData> record;
        for (size_t s = 0; s < runs; ++s)
            record.push_back(
                s == slot
                    ? runIn(5, 1101, 5, h, h, favourite ? h : h + 1)
                    : runIn(20 + h, 1101 + 100 * (static_cast<int>(slot) - static_cast<int>(s)), 10,
                            1, 1));
        horses.push_back(horseWith(h, record));
    }
    return horses;
}

TEST(PastRaces, RacesWhoseRunnersOrBaselinesCannotBeJudgedAreDropped) {
    struct Case {
        const char* what;
        std::vector<JvHorseData> horses;
        size_t kept;
        int shortHistory;
        int noFavourite;
    };
    const Case cases[] = {
        {"two runs before in a full record", raceInSlot(2, 5, true), 1, 0, 0},
        {"one run before in a full record: older runs fell off", raceInSlot(3, 5, true), 0, 1, 0},
        {"one run before and the whole career shown", raceInSlot(3, 4, true), 1, 0, 0},
        {"the favourite is not present", raceInSlot(2, 5, false), 0, 0, 1},
    };
    for (const Case& c : cases) {
        const PastRaceSet set = rebuildPastRaces(readBack(c.horses), {});
        EXPECT_EQ(set.races.size(), c.kept) << c.what;
        EXPECT_EQ(set.droppedShortHistory, c.shortHistory) << c.what;
        EXPECT_EQ(set.droppedNoFavourite, c.noFavourite) << c.what;
    }
}

TEST(BandCountsOf, PlacesOfNormalRunsByDistanceBand) {
    std::array<JvPastRun, 5> runs{};
    const int metres[] = {1600, 1601, 2200, 2201, 1200};
    const int finish[] = {1, 2, 7, 3, 1};
    for (size_t i = 0; i < runs.size(); ++i) {
        runs[i].distanceMetres = static_cast<std::int16_t>(metres[i]);
        runs[i].finish = static_cast<std::int8_t>(finish[i]);
    }
    runs[4].abnormal = 1;
    const JvBandCounts counts = bandCountsOf(runs);
    JvBandCounts expected{};
    expected[0][0][0] = 1;
    expected[0][1][1] = 1;
    expected[0][1][3] = 1;
    expected[0][2][2] = 1;
    EXPECT_EQ(counts, expected);
    // One win up to 1600 m counts before the places: 1400 m.
    EXPECT_EQ(aptitudeMetresOf(counts), 1400);
}

// A race of five horses, each with two runs before it and one after it.
std::vector<JvHorseData> fieldWithHistory() {
    std::vector<JvHorseData> horses;
    for (int h = 1; h <= 5; ++h) {
        JvRunData later = runIn(9, 1201, 12, h, 6 - h, h);
        JvRunData race = runIn(5, 1101, 5, h, h, 6 - h);
        race.distanceMetres = 1400;
        race.trackCode = 24;
        race.gradeCode = "C";
        race.weightCarried = 540 + 5 * h;
        JvRunData before = runIn(3, 1001, 10, h, h + 2, h);
        before.distanceMetres = 1200 + 200 * h;
        before.corners = {h, h, h, h};
        JvRunData earlier = runIn(1, 901, 10, h, 2 * h, 1);
        earlier.corners = {2 * h, 2 * h, 2 * h, 2 * h};
        JvHorseData horse = horseWith(h, {later, race, before, earlier});
        horse.birthYear = 2020 + h % 2;
        horse.sexCode = h % 3 + 1;
        horses.push_back(horse);
    }
    return horses;
}

// Race 5 of `data` as rebuilt, beside the horses it was rebuilt from.
struct RaceFive {
    PastHorses horses;
    PastRace race;
};
RaceFive raceFiveOf(const std::vector<JvHorseData>& data) {
    PastHorses horses = readBack(data);
    for (const PastRace& race : rebuildPastRaces(horses, {}).races)
        if (race.id.raceNumber == 5)
            return {std::move(horses), race};
    throw std::runtime_error("race 5 not rebuilt");
}

TEST(LoadPastRace, EachRunnerIsMadeFromItsRunsBeforeTheRace) {
    const auto [horses, race] = raceFiveOf(fieldWithHistory());
    RaceSheet sheet;
    sheet.runnerCount = 12;
    const PastRaceField field = loadPastRace(sheet, race, horses);

    EXPECT_EQ(sheet.runnerCount, 5);
    EXPECT_EQ(sheet.distance, 4); // 1400 m
    EXPECT_EQ(sheet.surface, 1);  // track 24: dirt
    EXPECT_EQ(sheet.grade, 2);    // ＧⅢ
    EXPECT_EQ(sheet.ageLimit, 0);
    EXPECT_EQ(sheet.sexLimit, 0);
    EXPECT_EQ(sheet.weightRule, 0);

    long long total = 0;
    for (const PastHorse& horse : horses) {
        const RunsBefore before = runsBefore(horse, 1);
        total += strengthOf(before.span());
    }
    for (int k = 1; k <= 5; ++k) {
        const PastHorse& horse = horses[static_cast<size_t>(k - 1)];
        const RunsBefore before = runsBefore(horse, 1);
        const RunnerEntry& runner = sheet.runner(k);
        EXPECT_EQ(field[static_cast<size_t>(k - 1)].run, &horse.runs[1]);
        EXPECT_EQ(runner.weight, weightIndex(540 + 5 * k));
        EXPECT_EQ(runner.pastRuns[kLastRun], sheetPastRun(horse.runs[2]));
        EXPECT_EQ(runner.pastRuns[kRunBeforeLast], sheetPastRun(horse.runs[3]));
        EXPECT_EQ(runner.age, 2025 - horse.birthYear - 2); // the race's year
        EXPECT_EQ(listIndex(runner.sex), horse.sexCode - 1);
        EXPECT_EQ(runner.runningStyle, runningStyleOf(before.span()));
        EXPECT_EQ(runner.oddsBand, oddsBandOf(estimateOdds(total, strengthOf(before.span()))));
        // The best distance from the places before: the run before the race
        // (finish k + 2 at 1200 + 200k m) and the one before that.
        EXPECT_EQ(runner.aptitudeDistance,
                  distanceIndex(aptitudeMetresOf(bandCountsOf(before.span()))));
    }
    // The horses are older runners in the race run afterwards, so its
    // predictions differ.
    EXPECT_NE(sheet.runner(1).pastRuns[kLastRun], sheetPastRun(horses[0].runs[1]));
}

TEST(PredictPastRace, NothingAtOrAfterTheRaceChangesItsPrediction) {
    const auto [horses, race] = raceFiveOf(fieldWithHistory());
    RaceSheet sheet;
    const BacktestRace original = predictPastRace(race, horses, sheet);
    // Scores of 0 (favourites) would hide any change.
    ASSERT_TRUE(std::any_of(original.runners.begin(), original.runners.end(),
                            [](const BacktestRunner& r) { return r.score != 0; }));
    auto predictionOf = [](const BacktestRace& r) {
        std::vector<std::tuple<int, int, int>> out;
        for (const BacktestRunner& runner : r.runners)
            out.emplace_back(runner.horseNumber, runner.score, runner.rank);
        return std::make_tuple(out, r.darkHorseCount, r.quinellaPairs);
    };

    // The later race and the race's own result rewritten entirely.
    PastHorses changed = horses;
    for (PastHorse& horse : changed) {
        JvPastRun& later = horse.runs[0];
        later.finish = 1;
        later.distanceMetres = 3600;
        later.corners = {1, 1, 1, 1};
        later.gradeCode = 'A';
        later.abnormal = 1;
        JvPastRun& own = horse.runs[1];
        own.finish = 18 - own.finish;
        own.popularity = 1;
        own.corners = {18, 18, 18, 18};
        own.time = 2000;
        own.timeDiff = 99;
    }
    const BacktestRace again = predictPastRace(race, changed, sheet);
    EXPECT_EQ(predictionOf(again), predictionOf(original));
    EXPECT_NE(again.runners[0].finish, original.runners[0].finish);

    // A run before the race does count.
    PastHorses earlier = horses;
    earlier[4].runs[2].finish = 1;
    earlier[4].runs[2].timeDiff = 0;
    const BacktestRace differs = predictPastRace(race, earlier, sheet);
    EXPECT_NE(predictionOf(differs), predictionOf(original));
}

TEST(PredictPastRace, ScoresAsAPredictionAndReportsTheRacesOwnNumbers) {
    // The five horses are numbers 2 to 6 of a field of six.
    std::vector<JvHorseData> data = fieldWithHistory();
    const int numbers[] = {2, 3, 4, 5, 6};
    for (size_t h = 0; h < data.size(); ++h) {
        data[h].runs[1].fieldSize = 6;
        data[h].runs[1].horseNumber = numbers[h];
    }
    const auto [horses, race] = raceFiveOf(data);
    RaceSheet sheet;
    const BacktestRace out = predictPastRace(race, horses, sheet);
    RaceSheet expected;
    loadPastRace(expected, race, horses);
    scoreRace(expected);
    ASSERT_EQ(out.runners.size(), 5u);
    EXPECT_EQ(out.fieldSize, 6);
    EXPECT_EQ(out.surface, 1);
    EXPECT_EQ(out.distanceMetres, 1400);
    EXPECT_EQ(out.distanceBand, 0);
    EXPECT_EQ(out.darkHorseCount, expected.result.darkHorseCount);
    for (size_t k = 1; k <= 5; ++k) {
        const BacktestRunner& r = out.runners[k - 1];
        EXPECT_EQ(r.horseId, horses[k - 1].horseId());
        EXPECT_EQ(r.horseNumber, numbers[k - 1]);
        EXPECT_EQ(r.score, expected.result.score(k));
        EXPECT_EQ(expected.result.horseAt(r.rank), static_cast<int>(k));
    }
    ASSERT_EQ(out.quinellaPairs.size(), static_cast<size_t>(expected.result.quinellaCount));
    for (size_t i = 0; i < out.quinellaPairs.size(); ++i)
        EXPECT_EQ(out.quinellaPairs[i],
                  (std::array<int, 2>{numbers[expected.result.quinellaPairs[i][0] - 1],
                                      numbers[expected.result.quinellaPairs[i][1] - 1]}));
}

} // namespace
} // namespace zelkor
