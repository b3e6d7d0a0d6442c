#include "core/analysis.h"
#include "core/crown_name.h"
#include "core/deciding_factors.h"
#include "core/trainer_intent.h"
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace zelkor {
namespace {

constexpr PastRunKind kRested = PastRunKind::Rested;
constexpr PastRunKind kNotRun = PastRunKind::NotRun;

std::vector<int> nonZero(const std::array<int, kDecidingFactorSlots>& slots) {
    std::vector<int> codes;
    for (size_t k = 0; k < slots.size(); ++k) {
        EXPECT_TRUE(slots[k] == 0 || slots[k] == static_cast<int>(k)) << k;
        if (slots[k] != 0)
            codes.push_back(slots[k]);
    }
    return codes;
}

// A runner that never ran, at a distance that is not its best: no factor.
RaceSheet factorlessSheet() {
    RaceSheet sheet;
    sheet.grade = 4;
    sheet.distance = 8;
    RunnerEntry& r = sheet.runner(1);
    r.aptitudeDistance = 12;
    r.pastRuns[0].kind = kNotRun;
    r.pastRuns[1].kind = kNotRun;
    return sheet;
}

TEST(DecidingFactors, NoneApply) {
    EXPECT_EQ(nonZero(decidingFactors(factorlessSheet(), 1)), std::vector<int>{});
}

TEST(DecidingFactors, SeveralInSlotOrder) {
    RaceSheet sheet = factorlessSheet();
    sheet.weightRule = 2; // handicap
    sheet.distance = 6;
    RunnerEntry& r = sheet.runner(1);
    r.aptitudeDistance = 6;
    r.weight = 20;
    r.pastRuns[0].kind = kRested;
    // Twelfth as second favourite, in a class above today's 1600万下, over
    // 2000 m before a 1600 m race, and 4 kg lighter today.
    r.pastRuns[1] = {.finish = 11, .popularity = 1, .distance = 10, .raceClass = 3, .weight = 28};
    EXPECT_EQ(nonZero(decidingFactors(sheet, 1)), (std::vector<int>{1, 3, 6, 8, 10, 11, 12, 13}));
}

TEST(DecidingFactors, ReferenceRunFallsBackToTheRunBeforeLast) {
    RaceSheet sheet = factorlessSheet();
    sheet.weightRule = 2;
    RunnerEntry& r = sheet.runner(1);
    r.pastRuns[1].kind = kRested;
    r.pastRuns[0] = {.finish = 9, .popularity = 5, .distance = 5, .raceClass = 6, .weight = 30};
    // Slot 1 looks at the last run only; the weight at the run before.
    EXPECT_EQ(nonZero(decidingFactors(sheet, 1)), (std::vector<int>{2}));
}

TEST(DecidingFactors, WeightStepsTruncateTowardZero) {
    const std::pair<int, std::vector<int>> cases[] = {{3, {}},  {4, {5}},  {6, {4}}, {8, {3}},
                                                      {9, {3}}, {10, {2}}, {-4, {}}};
    for (const auto& [steps, expected] : cases) {
        RaceSheet sheet = factorlessSheet();
        RunnerEntry& r = sheet.runner(1);
        r.pastRuns[1] = {.finish = 5, .distance = 5, .raceClass = 6, .weight = r.weight + steps};
        EXPECT_EQ(nonZero(decidingFactors(sheet, 1)), expected) << steps;
    }
}

TEST(DecidingFactors, FormAndClassRecord) {
    RaceSheet sheet = factorlessSheet();
    RunnerEntry& r = sheet.runner(1);
    r.pastRuns[0] = {.finish = 5, .distance = 5, .raceClass = 6, .timeDiff = 4};
    r.pastRuns[1] = {.finish = 5, .distance = 5, .raceClass = 6, .timeDiff = 5};
    EXPECT_EQ(nonZero(decidingFactors(sheet, 1)), (std::vector<int>{7}));
    r.pastRuns[1].timeDiff = 6;
    EXPECT_EQ(nonZero(decidingFactors(sheet, 1)), (std::vector<int>{}));
    // Placed in the run before last in today's class.
    r.pastRuns[0].raceClass = 4;
    r.pastRuns[0].finish = 2;
    EXPECT_EQ(nonZero(decidingFactors(sheet, 1)), (std::vector<int>{9}));
    // A rested run does not count, whatever it holds.
    r.pastRuns[0].kind = kRested;
    EXPECT_EQ(nonZero(decidingFactors(sheet, 1)), (std::vector<int>{12}));
}

TEST(DecidingFactors, Texts) {
    EXPECT_EQ(decidingFactorText(1), "前走大敗後のハンデ戦");
    EXPECT_EQ(decidingFactorText(13), "前走は不適正距離で調整");
    EXPECT_EQ(decidingFactorText(0), "");
    EXPECT_EQ(decidingFactorText(14), "");
    EXPECT_EQ(decidingFactorText(-1), "");
}

TEST(StripCrownName, PrefixRemovedExactAndInnerKept) {
    EXPECT_EQ(stripCrownName("メジロ"), "メジロ");
    EXPECT_EQ(stripCrownName("メジロマックイーン"), "マックイーン");
    EXPECT_EQ(stripCrownName("キタノメジロ"), "キタノメジロ");
    EXPECT_EQ(stripCrownName("エアグルーヴ"), "グルーヴ");
    EXPECT_EQ(stripCrownName("ロイヤルタッチ"), "タッチ");
    EXPECT_EQ(stripCrownName("エ"), "エ");
    EXPECT_EQ(stripCrownName(""), "");
    // Only the first crown name goes.
    EXPECT_EQ(stripCrownName("サクラメジロ"), "メジロ");
}

// Analysis rows ----------------------------------------------------------------

RaceSheet fieldOf(int n) {
    RaceSheet sheet;
    sheet.runnerCount = n;
    sheet.distance = 10;
    for (int h = 1; h <= n; ++h) {
        RunnerEntry& r = sheet.runner(h);
        r.oddsBand = 10;
        r.aptitudeDistance = 10;
        r.weight = 20;
        r.pastRuns[1].weight = 20;
        r.pastRuns[0].timeDiff = 5;
        r.pastRuns[1].timeDiff = 5;
    }
    return sheet;
}

using Row = std::array<int, 3>;
using Rows = std::array<Row, 4>; // popularity, distance, form, weight drop

Rows rowsOf(const RaceSheet& sheet) {
    const AnalysisRows rows = analysisRows(sheet);
    return {rows.popularity, rows.distance, rows.form, rows.weightDrop};
}

TEST(AnalysisRows, BestFirstAndTiesToTheLowerNumber) {
    RaceSheet sheet = fieldOf(8);
    sheet.runner(5).oddsBand = 2;
    sheet.runner(7).oddsBand = 2;
    sheet.runner(3).oddsBand = 4;
    sheet.runner(2).aptitudeDistance = 12;
    sheet.runner(4).aptitudeDistance = 8;
    for (int h = 1; h <= 8; ++h)
        sheet.runner(h).aptitudeDistance += (h == 2 || h == 4) ? 0 : 5;
    sheet.runner(6).aptitudeDistance = 11;
    sheet.runner(8).pastRuns[0].timeDiff = 0;
    sheet.runner(8).pastRuns[1].timeDiff = 0;
    sheet.runner(1).pastRuns[1].timeDiff = 21; // the run kind is not consulted
    sheet.runner(6).pastRuns[1].weight = 30;
    sheet.runner(3).pastRuns[1].weight = 24;
    sheet.runner(2).pastRuns[1].weight = 24;

    EXPECT_EQ(rowsOf(sheet), (Rows{Row{5, 7, 3}, Row{6, 2, 4}, Row{8, 2, 3}, Row{6, 2, 3}}));
}

TEST(AnalysisRows, ExcludedHorsesLoseToAnyOther) {
    RaceSheet sheet = fieldOf(4);
    for (int h = 1; h <= 4; ++h) {
        sheet.runner(h).oddsBand = 14;
        sheet.runner(h).aptitudeDistance = 26; // as far as the list goes
        sheet.runner(h).pastRuns[1].weight = 0;
        sheet.runner(h).weight = 36; // 18 kg heavier than last time
    }
    sheet.runner(4).oddsBand = 0;
    sheet.runner(4).aptitudeDistance = 10;
    sheet.runner(4).weight = 0;
    const Rows rows = rowsOf(sheet);
    EXPECT_EQ(rows[0], (Row{4, 1, 2}));
    EXPECT_EQ(rows[1], rows[0]);
    EXPECT_EQ(rows[3], rows[0]);
}

TEST(AnalysisRows, FewerThanThreeRunnersStillGiveThreeNumbers) {
    RaceSheet sheet = fieldOf(2);
    sheet.runner(2).oddsBand = 3;
    sheet.runner(2).aptitudeDistance = 10;
    sheet.runner(1).aptitudeDistance = 14;
    sheet.runner(2).pastRuns[0].timeDiff = 0;
    sheet.runner(2).pastRuns[1].weight = 22;
    EXPECT_EQ(rowsOf(sheet), (Rows{Row{2, 1, 1}, Row{2, 1, 1}, Row{2, 1, 1}, Row{2, 1, 1}}));
    sheet.runnerCount = 0;
    EXPECT_EQ(rowsOf(sheet)[0], (Row{1, 1, 1}));
}

TEST(AnalysisRows, TheSheetIsNeverChanged) {
    RaceSheet sheet = fieldOf(6);
    sheet.runner(3).oddsBand = 1;
    const auto runners = sheet.runners();
    analysisRows(sheet);
    EXPECT_EQ(sheet.runners(), runners);
}

TEST(AnalysisRows, ExtremeStoredValuesAreHandled) {
    RaceSheet sheet = fieldOf(4);
    sheet.distance = std::numeric_limits<int>::min();
    sheet.runner(2).aptitudeDistance = std::numeric_limits<int>::max();
    sheet.runner(3).pastRuns[0].timeDiff = std::numeric_limits<int>::max();
    sheet.runner(3).pastRuns[1].timeDiff = std::numeric_limits<int>::max();
    sheet.runner(4).weight = std::numeric_limits<int>::min();
    sheet.runner(4).pastRuns[1].weight = std::numeric_limits<int>::max();
    sheet.runnerCount = 400;
    AnalysisRows rows = analysisRows(sheet);
    EXPECT_EQ(rows.form[0], 5); // a count beyond 18 reads all 18 slots
    EXPECT_EQ(rows.weightDrop[0], 4);
}

// The texts are narrow literals converted by the compiler; a character
// outside CP932 would turn into "?" without any warning.
TEST(FixedTexts, EveryTextSurvivesTheCodePage) {
    std::vector<std::string> texts;
    for (int code = 1; code <= 35; ++code) {
        texts.emplace_back(intentMark(code));
        texts.emplace_back(intentRemark(code));
    }
    for (int code = 1; code <= 13; ++code)
        texts.emplace_back(decidingFactorText(code));
    for (const std::string& text : texts) {
        EXPECT_TRUE(isValidCp932(text)) << cp932ToUtf8(text);
        EXPECT_EQ(cp932ToUtf8(text).find('?'), std::string::npos) << cp932ToUtf8(text);
    }
}

} // namespace
} // namespace zelkor
