#include "core/trainer_intent.h"

#include <gtest/gtest.h>
#include <limits>

namespace zelkor {
namespace {

constexpr PastRunKind kRace = PastRunKind::Race;
constexpr PastRunKind kRested = PastRunKind::Rested;
constexpr PastRunKind kNotRun = PastRunKind::NotRun;
constexpr PastRunKind kAccident = PastRunKind::Accident;
constexpr int kHandicap = 2;

// What differs from the plain sheet below; every default is the plain value.
struct Run {
    PastRunKind kind = kRace;
    int finish = 5;     // sixth
    int popularity = 4; // fifth favourite
    int distance = 10;
    int raceClass = 2; // today's class
    int weight = 20;   // same as today
    int timeDiff = 10; // 1.0 s behind
};
struct Changes {
    int oddsBand = 10; // a long shot
    int aptitude = 10;
    int distance = 10; // 2000 m
    int weightRule = 1;
    Run prev{};
    Run last{};
};

// A ＧⅢ race whose horse 1 raced twice without anything remarkable; plain,
// it gets code 30.
RaceSheet sheetOf(const Changes& s) {
    RaceSheet sheet;
    sheet.grade = 2;
    sheet.distance = s.distance;
    sheet.weightRule = s.weightRule;
    RunnerEntry& r = sheet.runner(1);
    r.oddsBand = s.oddsBand;
    r.weight = 20;
    r.aptitudeDistance = s.aptitude;
    for (int i : {kRunBeforeLast, kLastRun}) {
        const Run& from = i == kLastRun ? s.last : s.prev;
        r.pastRuns[static_cast<size_t>(i)] = {.kind = from.kind,
                                              .finish = from.finish,
                                              .popularity = from.popularity,
                                              .distance = from.distance,
                                              .raceClass = from.raceClass,
                                              .weight = from.weight,
                                              .timeDiff = from.timeDiff};
    }
    return sheet;
}

RaceSheet plainSheet() {
    return sheetOf({});
}

RunnerEntry& horse1(RaceSheet& sheet) {
    return sheet.runner(1);
}
PastRun& lastRun(RaceSheet& sheet) {
    return sheet.runner(1).pastRuns[kLastRun];
}

int code(const RaceSheet& sheet) {
    return intentCode(sheet, 1);
}

TEST(IntentCode, PlainLongShotGetsThirty) {
    RaceSheet sheet = plainSheet();
    EXPECT_EQ(code(sheet), 30);
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "→");
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Remark),
              "この馬は走るかどうかわからんからなぁ・・・。");
}

TEST(IntentCode, OddsBandsDecideFirst) {
    RaceSheet sheet = plainSheet();
    // Every later rule would fire too: heavy weight, 大 time difference.
    lastRun(sheet).weight = 10;
    lastRun(sheet).timeDiff = 21;
    const int expected[] = {1, 1, 2, 2, 2, 3, 3};
    for (int band = 0; band <= 6; ++band) {
        horse1(sheet).oddsBand = band;
        EXPECT_EQ(code(sheet), expected[band]) << "band " << band;
    }
    horse1(sheet).oddsBand = 7;
    EXPECT_EQ(code(sheet), 25);
}

TEST(IntentCode, FavouriteThatRacedOnceOrTwiceGetsOne) {
    for (int band : {0, 1}) {
        for (int restedRun : {-1, kRunBeforeLast, kLastRun}) {
            RaceSheet sheet = plainSheet();
            horse1(sheet).oddsBand = band;
            if (restedRun >= 0)
                horse1(sheet).pastRuns[static_cast<size_t>(restedRun)].kind = kRested;
            EXPECT_EQ(code(sheet), 1);
            EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "↑");
            EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Remark),
                      "完璧な仕上がりで、レースが楽しみだ。");
        }
    }
}

TEST(IntentCode, NoRaceInEitherRunGivesThirtyOneWhateverTheOdds) {
    for (int band : {0, 3, 6, 10, 14}) {
        for (PastRunKind kind : {kRested, kNotRun, kAccident}) {
            const RaceSheet sheet =
                sheetOf({.oddsBand = band, .prev = {.kind = kind}, .last = {.kind = kRested}});
            EXPECT_EQ(code(sheet), 31) << band << " " << listIndex(kind);
            EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "→");
            EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Remark), "");
        }
    }
    EXPECT_EQ(intentRemark(31), "");
}

TEST(IntentCode, WeightAgainstTheLastRunInWholeKilogramsTowardZero) {
    // The last run's weight index against today's 20, in steps of 0.5 kg:
    // 1.5 kg counts as 1, 2.5 kg as 2; heavier today points down.
    const std::pair<int, int> cases[] = {{0, 25},  {10, 25}, {11, 24}, {12, 24}, {14, 23}, {15, 22},
                                         {16, 22}, {17, 30}, {23, 30}, {24, 35}, {25, 35}, {26, 34},
                                         {28, 33}, {29, 33}, {30, 32}, {34, 32}};
    for (auto [weight, expected] : cases) {
        RaceSheet sheet = plainSheet();
        lastRun(sheet).weight = weight;
        EXPECT_EQ(code(sheet), expected) << weight;
        EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark) == "↓", weight < 17) << weight;
    }
}

// Rows that share a setup but for one value show where a rule's edge lies.
TEST(IntentCode, RulesInTheirOrder) {
    constexpr int H = kHandicap;
    struct Case {
        const char* what;
        Changes changes;
        int expected;
        const char* mark = nullptr;
        const char* remark = nullptr;
    };
    const Case cases[] = {
        {"back from rest at its best distance", {.oddsBand = 7, .last = {.kind = kRested}}, 7, "→"},
        // Another best distance: no code 7; the fallback is 30, or 20 with a
        // best distance 800 m or more longer.
        {"rested, other distance", {.oddsBand = 7, .aptitude = 11, .last = {.kind = kRested}}, 30},
        {"rested, far longer", {.oddsBand = 7, .aptitude = 18, .last = {.kind = kRested}}, 20},
        {"rested, 700 m longer", {.oddsBand = 7, .aptitude = 17, .last = {.kind = kRested}}, 30},
        {"code 7 needs the last run missing", {.oddsBand = 7, .prev = {.kind = kRested}}, 30},

        {"close in both, lighter today",
         {.prev = {.timeDiff = 5}, .last = {.weight = 30, .timeDiff = 0}},
         4},
        {"0.6 s behind is not close",
         {.prev = {.timeDiff = 6}, .last = {.weight = 30, .timeDiff = 0}},
         32},
        // The last run is the reference for the weight, else the one before.
        {"lighter than two runs ago", {.aptitude = 11, .prev = {.weight = 30}}, 30},
        {"reference falls back",
         {.aptitude = 11, .prev = {.weight = 30}, .last = {.kind = kRested}},
         32},

        // Handicap, ninth last time: the weight index steps of 0.5 kg decide.
        {"handicap 6 kg lighter", {.weightRule = H, .last = {.finish = 8, .weight = 32}}, 8},
        {"handicap 5 kg lighter", {.weightRule = H, .last = {.finish = 8, .weight = 30}}, 8},
        {"handicap 4 kg lighter",
         {.weightRule = H, .last = {.finish = 8, .weight = 28}},
         9,
         "↑",
         "ハンデ戦だから、前走より４kgも軽くなった。これも前走わざと大敗したせいだろう。"},
        {"handicap 3 kg lighter", {.weightRule = H, .last = {.finish = 8, .weight = 26}}, 16},
        {"handicap 2 kg lighter", {.weightRule = H, .last = {.finish = 8, .weight = 24}}, 17},
        {"handicap 1 kg lighter, no weight rule",
         {.weightRule = H, .last = {.finish = 8, .popularity = 2, .weight = 22}},
         14},
        {"handicap 2 kg heavier", {.weightRule = H, .last = {.finish = 8, .weight = 16}}, 22},
        // Lighter after a good run falls through to the general tests; the
        // plain lighter-today codes belong to other races only.
        {"handicap lighter after a fifth",
         {.weightRule = H, .last = {.finish = 4, .weight = 28}},
         30},
        {"handicap lighter from a higher class",
         {.weightRule = H, .last = {.finish = 4, .raceClass = 1, .weight = 28}},
         5},
        {"handicap lighter, eighth is no beating",
         {.distance = 8, .weightRule = H, .last = {.finish = 7, .distance = 12, .weight = 28}},
         12},
        {"handicap 5 kg lighter after a third",
         {.weightRule = H, .last = {.finish = 2, .popularity = 2, .weight = 30}},
         10},

        {"weight rules before the general tests",
         {.last = {.finish = 0, .raceClass = 5, .weight = 14}},
         23},
        {"higher class outside a handicap",
         {.last = {.raceClass = 1}},
         5,
         "↑",
         "前走は上のクラスで出走させて気合を入れさせた。これならいい結果が出せそうだ。"},
        {"higher class even when heavier today", {.last = {.raceClass = 1, .weight = 10}}, 5},
        {"a weight drop beats the higher class", {.last = {.raceClass = 1, .weight = 26}}, 34},

        {"long run before a short race", {.distance = 8}, 12},
        // A handicap keeps the class test for the general tests.
        {"long run, but also a higher class",
         {.distance = 8, .weightRule = H, .last = {.raceClass = 1}},
         5},
        {"beaten favourite", {.last = {.finish = 8, .popularity = 2}}, 14},
        {"beaten favourite after a long run",
         {.distance = 8, .last = {.finish = 9, .popularity = 0}},
         12},
        {"fourth favourite beaten far",
         {.last = {.finish = 8, .popularity = 3, .timeDiff = 21}},
         19},
        {"placed in this class", {.last = {.finish = 2}}, 10},
        {"beaten but close", {.last = {.finish = 8, .timeDiff = 5}}, 15},
        {"beaten far", {.last = {.timeDiff = 21}}, 19},
        {"too long today", {.aptitude = 10, .distance = 18}, 21},
        {"too long today, but the run was short", {.distance = 18, .last = {.distance = 9}}, 30},
        {"far behind beats too long", {.distance = 18, .last = {.timeDiff = 21}}, 19},
        {"won in a lower class", {.last = {.finish = 0, .raceClass = 5}}, 26},
        {"second in a lower class", {.last = {.finish = 1, .raceClass = 5}}, 27},
        {"third in a lower class", {.last = {.finish = 2, .raceClass = 5}}, 30},

        // Both ran and nothing fired.
        {"second two runs ago in this class", {.prev = {.finish = 1}}, 10},
        {"second two runs ago in a lower class", {.prev = {.finish = 1, .raceClass = 3}}, 30},
        {"twelfth or worse twice, never far behind in sum",
         {.prev = {.finish = 11, .timeDiff = 3}, .last = {.finish = 12, .timeDiff = 6}},
         11,
         "↓"},
        {"the sum reaches 10",
         {.prev = {.finish = 11, .timeDiff = 3}, .last = {.finish = 12, .timeDiff = 7}},
         30},
        {"eleventh is not enough",
         {.prev = {.finish = 10, .timeDiff = 3}, .last = {.finish = 12, .timeDiff = 6}},
         30},
        {"best distance far longer", {.aptitude = 18}, 20, "↓"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RaceSheet sheet = sheetOf(c.changes);
        EXPECT_EQ(code(sheet), c.expected);
        if (c.mark) {
            EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), c.mark);
        }
        if (c.remark) {
            EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Remark), c.remark);
        }
    }
}

TEST(IntentCode, FollowsTheSheetWithoutANewPrediction) {
    RaceSheet sheet = plainSheet();
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "→");
    horse1(sheet).oddsBand = 0;
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "↑");
}

TEST(IntentCode, ExtremeStoredValuesAreHandled) {
    RaceSheet sheet = plainSheet();
    horse1(sheet).weight = std::numeric_limits<int>::min();
    lastRun(sheet).weight = std::numeric_limits<int>::max();
    EXPECT_EQ(code(sheet), 32);
    horse1(sheet).aptitudeDistance = std::numeric_limits<int>::max();
    sheet.distance = std::numeric_limits<int>::min();
    EXPECT_NE(code(sheet), 0);
    // Horse numbers outside the field read a reset runner.
    EXPECT_NE(intentCode(sheet, 0), 0);
    EXPECT_NE(intentCode(sheet, 99), 0);
}

TEST(IntentTables, CodesOutsideTheTableHaveNoText) {
    for (int code : {-1, 0, 13, 18, 28, 29, 36, 1000}) {
        EXPECT_EQ(intentMark(code), "") << code;
        EXPECT_EQ(intentRemark(code), "") << code;
    }
    int withRemark = 0;
    for (int code = 1; code <= 35; ++code) {
        if (!intentMark(code).empty())
            withRemark += intentRemark(code).empty() ? 0 : 1;
    }
    EXPECT_EQ(withRemark, 30); // every chosen code but 31
    EXPECT_EQ(intentRemark(6),
              "前走は上のクラスで出走させて気合を入れさせた。さらにハンデ戦だから斤量も軽くなった。"
              "これならいい結果が出せそうだ。");
}

} // namespace
} // namespace zelkor
