#include "core/race_sheet.h"
#include "core/scoring.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace zelkor {
namespace {

// The race and runner of the worked example: ＧⅢ over 1600 m, a four-year-old
// colt front-runner carrying 56.0 kg, best at 1600 m.
RaceSheet workedExample(int oddsBand) {
    RaceSheet sheet;
    sheet.grade = 2;
    sheet.distance = 6;
    RunnerEntry& r = sheet.runner(1);
    r.sex = Sex::Colt;
    r.age = 2;
    r.weight = 20;
    r.runningStyle = RunningStyle::FrontRunner;
    r.aptitudeDistance = 6;
    r.oddsBand = oddsBand;
    // Both raced; fields not named keep their reset values.
    r.pastRuns[kRunBeforeLast] = {
        .finish = 5, .fieldSize = 10, .popularity = 2, .raceClass = 4, .weight = 22, .timeDiff = 8};
    r.pastRuns[kLastRun] = {.finish = 8,
                            .fieldSize = 12,
                            .popularity = 3,
                            .distance = 6,
                            .raceClass = 3,
                            .weight = 24,
                            .timeDiff = 10};
    return sheet;
}

TEST(RunnerScore, WorkedExampleInEveryOddsBand) {
    // A favourite always scores 0; every band of 7.1..10.0 gives the same 268
    // and every band above 10.0 the same 318.
    const int expected[] = {0, 0, 0, 0, 0, 0, 0, 268, 268, 268, 318, 318, 318, 318, 318};
    for (int band = 0; band < 15; ++band)
        EXPECT_EQ(runnerScore(workedExample(band), 1), expected[band]) << band;
}

TEST(RunnerScore, RunsNotRacedGiveFixedPointsWhateverTheirOtherFields) {
    RaceSheet sheet = workedExample(10);
    RaceSheet rested = sheet;
    rested.runner(1).pastRuns[kLastRun].kind = PastRunKind::Rested; // 放牧
    // The last run gave 101; resting gives 90 regardless of its fields.
    EXPECT_EQ(runnerScore(rested, 1), 318 - 101 + 90);
    rested.runner(1).pastRuns[kLastRun].finish = 17;
    rested.runner(1).pastRuns[kLastRun].timeDiff = 21;
    EXPECT_EQ(runnerScore(rested, 1), 318 - 101 + 90);

    RaceSheet neither = sheet;
    neither.runner(1).pastRuns[kRunBeforeLast].kind = PastRunKind::Accident; // ｱｸｼﾃﾞﾝﾄ
    neither.runner(1).pastRuns[kLastRun].kind = PastRunKind::NotRun;         // 未出走
    EXPECT_EQ(runnerScore(neither, 1), 170 + 118 + 40);
}

TEST(RunnerScore, RunningStyleAtShortDistances) {
    RaceSheet sheet = workedExample(10);
    RunnerEntry& r = sheet.runner(1);
    r.pastRuns[kRunBeforeLast].kind = PastRunKind::Rested;
    r.pastRuns[kLastRun].kind = PastRunKind::Rested;
    auto styleBonus = [&](int distance, RunningStyle style) {
        sheet.distance = distance;
        r.aptitudeDistance = distance;
        r.runningStyle = style;
        int withStyle = runnerScore(sheet, 1);
        r.runningStyle = RunningStyle::Closer; // 差し gets nothing anywhere
        return withStyle - runnerScore(sheet, 1);
    };
    EXPECT_EQ(styleBonus(4, RunningStyle::FrontRunner), 20); // 1400 m
    EXPECT_EQ(styleBonus(4, RunningStyle::Stalker), 5);
    EXPECT_EQ(styleBonus(5, RunningStyle::FrontRunner), 10); // 1500 m
    EXPECT_EQ(styleBonus(5, RunningStyle::Stalker), 0);
    EXPECT_EQ(styleBonus(0, RunningStyle::FrontRunner), 20);
    EXPECT_EQ(styleBonus(4, RunningStyle::DeepCloser), 0);
}

TEST(RunnerScore, SexAgeAndDistanceAptitude) {
    RaceSheet sheet = workedExample(10);
    RunnerEntry& r = sheet.runner(1);
    auto delta = [&](auto change) {
        RunnerEntry saved = r;
        int before = runnerScore(sheet, 1);
        change();
        int after = runnerScore(sheet, 1);
        r = saved;
        return after - before;
    };
    EXPECT_EQ(delta([&] { r.sex = Sex::Filly; }), -10);  // 牝
    EXPECT_EQ(delta([&] { r.sex = Sex::Gelding; }), -4); // せん gets 6 instead of 10
    const int agePoints[] = {17, 19, 20, 19, 16, 15, 0, 0, 0};
    for (int age = 0; age < 9; ++age)
        EXPECT_EQ(delta([&] { r.age = age; }), agePoints[age] - 20) << age;
    EXPECT_EQ(delta([&] { r.aptitudeDistance = 10; }), -12);
    EXPECT_EQ(delta([&] { r.aptitudeDistance = 2; }), -12);
    // Carrying more today than last time costs nothing.
    EXPECT_EQ(delta([&] { r.weight = 30; }), -8);
    EXPECT_EQ(delta([&] { r.weight = 24; }), -8);
    EXPECT_EQ(delta([&] { r.weight = 23; }), -6);
}

TEST(RunnerScore, StepDownInDistanceCountsOnlyWhenTodayIsShorterThan2000m) {
    RaceSheet sheet = workedExample(10);
    sheet.runner(1).pastRuns[kRunBeforeLast].distance = 14;
    EXPECT_EQ(runnerScore(sheet, 1), 318 + 4);
    sheet.runner(1).pastRuns[kRunBeforeLast].distance = 9; // under 2000 m: nothing
    EXPECT_EQ(runnerScore(sheet, 1), 318 - 4);
    sheet.runner(1).pastRuns[kLastRun].distance = 12;
    EXPECT_EQ(runnerScore(sheet, 1), 318 - 4 + 6);
    sheet.distance = 10; // today 2000 m: no step-down; aptitude 6 now 4 away
    sheet.runner(1).pastRuns[kRunBeforeLast].distance = 14;
    EXPECT_EQ(runnerScore(sheet, 1), 318 - 4 - 12);
}

// A race at 2000 m where runner `h` is tuned to score exactly `score`
// (119..224) through the time differences of its two runs.
void setScore(RaceSheet& sheet, int h, int score) {
    RunnerEntry& r = sheet.runner(h);
    r.sex = Sex::Filly;
    r.age = 6;
    r.runningStyle = RunningStyle::Closer;
    r.aptitudeDistance = sheet.distance;
    r.oddsBand = 10;
    for (PastRun& run : r.pastRuns)
        run = {.distance = 9, .raceClass = 9, .weight = r.weight}; // won, first favourite
    for (int t1 = 0; t1 <= 21; ++t1)
        for (int t0 = 0; t0 <= 21; ++t0)
            if (224 - 2 * t0 - 3 * t1 == score) {
                r.pastRuns[kRunBeforeLast].timeDiff = t0;
                r.pastRuns[kLastRun].timeDiff = t1;
                ASSERT_EQ(runnerScore(sheet, h), score);
                return;
            }
    FAIL() << "no runner scores " << score;
}

RaceSheet raceWithScores(const std::vector<int>& scores) {
    RaceSheet sheet;
    sheet.grade = 0;
    sheet.distance = 10;
    sheet.runnerCount = static_cast<int>(scores.size());
    for (size_t i = 0; i < scores.size(); ++i)
        setScore(sheet, static_cast<int>(i) + 1, scores[i]);
    return sheet;
}

std::vector<int> ranking(const RaceSheet& sheet) {
    std::vector<int> horses;
    for (int position = 1; position <= sheet.usableRunnerCount(); ++position)
        horses.push_back(sheet.result.horseAt(position));
    return horses;
}

std::vector<std::array<int, 2>> pairs(const RaceSheet& sheet) {
    return {sheet.result.quinellaPairs.begin(),
            sheet.result.quinellaPairs.begin() + sheet.result.quinellaCount};
}

TEST(ScoreRace, RanksByScoreWithTiesToTheLowerHorseNumber) {
    RaceSheet sheet = raceWithScores({150, 200, 180, 200, 150, 210});
    sheet.result.reportMode = ReportMode::Trainer;
    scoreRace(sheet);
    EXPECT_EQ(ranking(sheet), (std::vector<int>{6, 2, 4, 3, 1, 5}));
    EXPECT_EQ(sheet.result.score(3), 180);
    EXPECT_EQ(sheet.result.darkHorseCount, 1);
    EXPECT_EQ(sheet.result.reportMode, ReportMode::DarkHorses);
}

TEST(ScoreRace, DarkHorsesAreThoseWithinFiveOfTheTopScore) {
    struct Case {
        std::vector<int> scores;
        int k;
    };
    const Case cases[] = {
        {{200, 197, 190, 180}, 2},
        {{200, 194, 193, 150}, 1},
        // 194 is six below the top: closeness is measured from the top,
        // not from the runner ranked just above.
        {{200, 196, 195, 194}, 3},
        {{200, 195, 150, 150}, 2}, // exactly five is close
        {{195, 200, 199, 196, 190, 201}, 4},
        {{180, 180, 180, 180}, 4},
    };
    for (const Case& c : cases) {
        RaceSheet sheet = raceWithScores(c.scores);
        scoreRace(sheet);
        EXPECT_EQ(sheet.result.darkHorseCount, c.k) << ::testing::PrintToString(c.scores);
    }
}

TEST(ScoreRace, PairsDarkHorsesWithPartnersThenWithEachOtherUpToEight) {
    // Dark horses by rank: 5, 7, 2. Partners (win odds up to 8.0, not dark
    // horses): 1 and 4 in horse-number order. Horses 3 and 6 are long shots.
    RaceSheet sheet = raceWithScores({150, 205, 150, 150, 210, 150, 206});
    sheet.runner(1).oddsBand = 7; // 7.1～8.0 is still a partner
    sheet.runner(4).oddsBand = 2;
    sheet.runner(3).oddsBand = 8; // 8.1～9.0 is not
    scoreRace(sheet);
    EXPECT_EQ(ranking(sheet), (std::vector<int>{5, 7, 2, 6, 1, 3, 4}));
    EXPECT_EQ(sheet.result.darkHorseCount, 3);
    using P = std::array<int, 2>;
    EXPECT_EQ(pairs(sheet),
              (std::vector<P>{{1, 5}, {4, 5}, {1, 7}, {4, 7}, {1, 2}, {2, 4}, {5, 7}, {2, 5}}));
    // The third pair of dark horses, (2, 7), fell to the limit.
}

TEST(ScoreRace, NoPartnersAndASingleDarkHorseGiveNoPairs) {
    RaceSheet sheet = raceWithScores({150, 205, 150, 150});
    scoreRace(sheet);
    EXPECT_EQ(sheet.result.darkHorseCount, 1);
    EXPECT_EQ(sheet.result.quinellaCount, 0);
}

TEST(ScoreRace, AllFavouritesRace) {
    for (int n : {4, 9, 18}) {
        RaceSheet sheet;
        sheet.runnerCount = n;
        for (int h = 1; h <= n; ++h)
            sheet.runner(h).oddsBand = h % 7;
        scoreRace(sheet);
        std::vector<int> expected;
        for (int h = 1; h <= n; ++h) {
            expected.push_back(h);
            EXPECT_EQ(sheet.result.score(h), 0);
        }
        EXPECT_EQ(ranking(sheet), expected);
        EXPECT_EQ(sheet.result.darkHorseCount, n);
        using P = std::array<int, 2>;
        if (n == 4)
            EXPECT_EQ(pairs(sheet),
                      (std::vector<P>{{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}));
        else
            EXPECT_EQ(
                pairs(sheet),
                (std::vector<P>{{1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8}, {1, 9}}));
    }
}

TEST(ScoreRace, EveryRunnerIsRankedOnceEvenWithNegativeScores) {
    RaceSheet sheet;
    sheet.runnerCount = 5;
    for (int h = 1; h <= 5; ++h) {
        RunnerEntry& r = sheet.runner(h);
        r.oddsBand = 8;
        r.aptitudeDistance = 36 + h; // far from today's distance
        r.sex = Sex::Filly;
        r.age = 7;
        r.runningStyle = RunningStyle::DeepCloser;
        for (PastRun& run : r.pastRuns)
            run = {.distance = 0, .raceClass = 30, .timeDiff = 21};
    }
    scoreRace(sheet);
    EXPECT_LT(sheet.result.score(1), 0);
    EXPECT_EQ(ranking(sheet), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(ScoreRace, OverwritesTheWholeResult) {
    RaceSheet sheet = raceWithScores({150, 205, 150, 150, 150, 150, 150, 150});
    sheet.result.quinellaCount = 8;
    sheet.result.quinellaPairs.fill({9, 9});
    for (int position = 1; position <= kMaxRunners; ++position)
        sheet.result.setHorseAt(position, 17);
    scoreRace(sheet);
    EXPECT_EQ(sheet.result.quinellaCount, 0);
    EXPECT_EQ(sheet.result.quinellaPairs[0], (std::array<int, 2>{0, 0}));
    EXPECT_EQ(sheet.result.horseAt(9), 0);
}

TEST(ScoreRace, ValuesOutsideTheirListsNeverReachOutsideTheSheet) {
    RaceSheet sheet;
    sheet.runnerCount = 40; // only 18 slots exist
    sheet.grade = std::numeric_limits<int>::max();
    sheet.distance = std::numeric_limits<int>::min();
    for (int h = 1; h <= kMaxRunners; ++h) {
        RunnerEntry& r = sheet.runner(h);
        r.oddsBand = 12;
        r.age = std::numeric_limits<int>::max();
        r.sex = static_cast<Sex>(-1);
        r.weight = std::numeric_limits<int>::min();
        r.aptitudeDistance = std::numeric_limits<int>::max();
        r.pastRuns[kLastRun].weight = std::numeric_limits<int>::max();
        r.pastRuns[kLastRun].finish = std::numeric_limits<int>::max();
        r.pastRuns[kRunBeforeLast].popularity = std::numeric_limits<int>::min();
    }
    scoreRace(sheet);
    EXPECT_EQ(sheet.result.horseAt(1), 1);
    EXPECT_EQ(sheet.result.horseAt(kMaxRunners), kMaxRunners);
    EXPECT_EQ(sheet.result.darkHorseCount, kMaxRunners);
    EXPECT_EQ(sheet.result.score(1), std::numeric_limits<int>::max());

    sheet.runnerCount = -2;
    scoreRace(sheet);
    EXPECT_EQ(sheet.result.darkHorseCount, 0);
    EXPECT_EQ(sheet.result.quinellaCount, 0);
}

} // namespace
} // namespace zelkor
