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

// A race (ＧⅢ, 2000 m, 定量) whose horse 1 is a long shot that raced twice
// without anything remarkable: same class, sixth, fifth favourite, 1.0 s
// behind, same weight as today. It gets the plain code 30.
RaceSheet plainSheet() {
    RaceSheet sheet;
    sheet.grade = 2;
    sheet.distance = 10;
    sheet.weightRule = 1;
    RunnerEntry& r = sheet.runner(1);
    r.oddsBand = 10;
    r.weight = 20;
    r.aptitudeDistance = 10;
    for (PastRun& run : r.pastRuns) {
        run.kind = kRace;
        run.finish = 5;
        run.popularity = 4;
        run.distance = 10;
        run.raceClass = 2;
        run.weight = 20;
        run.timeDiff = 10;
    }
    return sheet;
}

RunnerEntry& horse1(RaceSheet& sheet) {
    return sheet.runner(1);
}
PastRun& prevRun(RaceSheet& sheet) {
    return sheet.runner(1).pastRuns[kRunBeforeLast];
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
            RaceSheet sheet = plainSheet();
            horse1(sheet).oddsBand = band;
            prevRun(sheet).kind = kind;
            lastRun(sheet).kind = kRested;
            EXPECT_EQ(code(sheet), 31) << band << " " << listIndex(kind);
            EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "→");
            EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Remark), "");
        }
    }
    EXPECT_EQ(intentRemark(31), "");
}

TEST(IntentCode, BackFromRestAtItsBestDistanceGetsSeven) {
    RaceSheet sheet = plainSheet();
    horse1(sheet).oddsBand = 7;
    lastRun(sheet).kind = kRested;
    EXPECT_EQ(code(sheet), 7);
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "→");

    // Another best distance: no code 7, and with one run missing the
    // fallback is 30 or, best distance 800 m or more longer, 20.
    horse1(sheet).aptitudeDistance = 11;
    EXPECT_EQ(code(sheet), 30);
    horse1(sheet).aptitudeDistance = 18;
    EXPECT_EQ(code(sheet), 20);
    horse1(sheet).aptitudeDistance = 17;
    EXPECT_EQ(code(sheet), 30);

    // Code 7 needs the last run to be missing.
    sheet = plainSheet();
    horse1(sheet).oddsBand = 7;
    prevRun(sheet).kind = kRested;
    EXPECT_EQ(code(sheet), 30);
}

TEST(IntentCode, CloseFinishesInBothRunsGiveFour) {
    RaceSheet sheet = plainSheet();
    prevRun(sheet).timeDiff = 5;
    lastRun(sheet).timeDiff = 0;
    lastRun(sheet).weight = 30; // lighter today: would be 32 otherwise
    EXPECT_EQ(code(sheet), 4);
    prevRun(sheet).timeDiff = 6;
    EXPECT_EQ(code(sheet), 32);
}

TEST(IntentCode, ReferenceRunIsTheLastRunOrElseTheOneBefore) {
    RaceSheet sheet = plainSheet();
    horse1(sheet).aptitudeDistance = 11; // no code 7 once the last run is missing
    prevRun(sheet).weight = 30;          // 5 kg lighter than then
    EXPECT_EQ(code(sheet), 30);          // the last run is the reference
    lastRun(sheet).kind = kRested;
    EXPECT_EQ(code(sheet), 32);
}

TEST(IntentCode, HandicapLighterAfterABeatingByWeight) {
    const std::pair<int, int> cases[] = {{12, 8}, {10, 8}, {8, 9}, {6, 16}, {4, 17}};
    for (auto [indexSteps, expected] : cases) {
        RaceSheet sheet = plainSheet();
        sheet.weightRule = kHandicap;
        lastRun(sheet).finish = 8; // ninth
        lastRun(sheet).weight = 20 + indexSteps;
        EXPECT_EQ(code(sheet), expected) << indexSteps;
    }
    RaceSheet sheet = plainSheet();
    sheet.weightRule = kHandicap;
    lastRun(sheet).finish = 8;
    lastRun(sheet).weight = 28;
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "↑");
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Remark),
              "ハンデ戦だから、前走より４kgも軽くなった。これも前走わざと大敗したせいだろう。");
}

TEST(IntentCode, HandicapLighterAfterAGoodRunFallsThroughToTheGeneralTests) {
    RaceSheet sheet = plainSheet();
    sheet.weightRule = kHandicap;
    lastRun(sheet).finish = 4; // fifth
    lastRun(sheet).weight = 28;
    EXPECT_EQ(code(sheet), 30);
    lastRun(sheet).raceClass = 1; // a higher class than today
    EXPECT_EQ(code(sheet), 5);
    lastRun(sheet).raceClass = 2;
    lastRun(sheet).finish = 7; // eighth is still not a beating
    lastRun(sheet).distance = 12;
    sheet.distance = 8;
    EXPECT_EQ(code(sheet), 12);
}

TEST(IntentCode, HandicapWithoutAWeightRuleGoesOnToTheHeavierRules) {
    RaceSheet sheet = plainSheet();
    sheet.weightRule = kHandicap;
    lastRun(sheet).finish = 8;
    lastRun(sheet).weight = 16; // 2 kg heavier today
    EXPECT_EQ(code(sheet), 22);
    lastRun(sheet).weight = 22; // 1 kg lighter: nothing, general tests
    lastRun(sheet).popularity = 2;
    EXPECT_EQ(code(sheet), 14);
    // 5 kg lighter after a good run: no weight code in a handicap, and the
    // plain lighter-today codes belong to other races only.
    lastRun(sheet).weight = 30;
    lastRun(sheet).finish = 2;
    EXPECT_EQ(code(sheet), 10);
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
    // Weight rules come before the general tests.
    RaceSheet sheet = plainSheet();
    lastRun(sheet).weight = 14;
    lastRun(sheet).raceClass = 5;
    lastRun(sheet).finish = 0;
    EXPECT_EQ(code(sheet), 23);
}

TEST(IntentCode, HigherClassOutsideAHandicapGetsFiveNotTheHandicapRemark) {
    RaceSheet sheet = plainSheet();
    lastRun(sheet).raceClass = 1;
    EXPECT_EQ(code(sheet), 5);
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "↑");
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Remark),
              "前走は上のクラスで出走させて気合を入れさせた。これならいい結果が出せそうだ。");
    // Even when it now carries more: the class test comes first here.
    lastRun(sheet).weight = 10;
    EXPECT_EQ(code(sheet), 5);
    // A weight drop still wins.
    lastRun(sheet).weight = 26;
    EXPECT_EQ(code(sheet), 34);
}

TEST(IntentCode, GeneralTestsInTheirOrder) {
    struct Case {
        const char* what;
        void (*setup)(RaceSheet&);
        int expected;
    };
    const Case cases[] = {
        {"long run before a short race", [](RaceSheet& s) { s.distance = 8; }, 12},
        {"long run, but also a higher class",
         [](RaceSheet& s) {
             s.distance = 8;
             lastRun(s).raceClass = 1;
             // a handicap keeps the class test for the general tests
             s.weightRule = kHandicap;
         },
         5},
        {"beaten favourite",
         [](RaceSheet& s) {
             lastRun(s).popularity = 2;
             lastRun(s).finish = 8;
         },
         14},
        {"beaten favourite after a long run",
         [](RaceSheet& s) {
             s.distance = 8;
             lastRun(s).popularity = 0;
             lastRun(s).finish = 9;
         },
         12},
        {"fourth favourite beaten far",
         [](RaceSheet& s) {
             lastRun(s).popularity = 3;
             lastRun(s).finish = 8;
             lastRun(s).timeDiff = 21;
         },
         19},
        {"placed in this class", [](RaceSheet& s) { lastRun(s).finish = 2; }, 10},
        {"beaten but close",
         [](RaceSheet& s) {
             lastRun(s).finish = 8;
             lastRun(s).timeDiff = 5;
         },
         15},
        {"beaten far", [](RaceSheet& s) { lastRun(s).timeDiff = 21; }, 19},
        {"too long today",
         [](RaceSheet& s) {
             s.distance = 18;
             horse1(s).aptitudeDistance = 10;
         },
         21},
        {"too long today, but the run was short",
         [](RaceSheet& s) {
             s.distance = 18;
             horse1(s).aptitudeDistance = 10;
             lastRun(s).distance = 9;
         },
         30},
        {"far behind beats too long",
         [](RaceSheet& s) {
             s.distance = 18;
             horse1(s).aptitudeDistance = 10;
             lastRun(s).timeDiff = 21;
         },
         19},
        {"won in a lower class",
         [](RaceSheet& s) {
             lastRun(s).finish = 0;
             lastRun(s).raceClass = 5;
         },
         26},
        {"second in a lower class",
         [](RaceSheet& s) {
             lastRun(s).finish = 1;
             lastRun(s).raceClass = 5;
         },
         27},
        {"third in a lower class",
         [](RaceSheet& s) {
             lastRun(s).finish = 2;
             lastRun(s).raceClass = 5;
         },
         30},
    };
    for (const Case& c : cases) {
        RaceSheet sheet = plainSheet();
        c.setup(sheet);
        EXPECT_EQ(code(sheet), c.expected) << c.what;
    }
}

TEST(IntentCode, FallbackWhenBothRanAndNothingFired) {
    RaceSheet sheet = plainSheet();
    prevRun(sheet).finish = 1; // second in a class no lower than today's
    EXPECT_EQ(code(sheet), 10);
    prevRun(sheet).raceClass = 3; // but in a lower class
    EXPECT_EQ(code(sheet), 30);

    // Twelfth or worse twice, never far behind in sum.
    sheet = plainSheet();
    prevRun(sheet).finish = 11;
    prevRun(sheet).timeDiff = 3;
    lastRun(sheet).finish = 12;
    lastRun(sheet).timeDiff = 6;
    EXPECT_EQ(code(sheet), 11);
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "↓");
    lastRun(sheet).timeDiff = 7; // the sum reaches 10
    EXPECT_EQ(code(sheet), 30);
    lastRun(sheet).timeDiff = 6;
    prevRun(sheet).finish = 10; // eleventh is not enough
    EXPECT_EQ(code(sheet), 30);

    sheet = plainSheet();
    horse1(sheet).aptitudeDistance = 18;
    EXPECT_EQ(code(sheet), 20);
    EXPECT_EQ(trainerIntent(sheet, 1, IntentPart::Mark), "↓");
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
