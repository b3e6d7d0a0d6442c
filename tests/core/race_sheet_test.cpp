#include "core/fixed_lists.h"
#include "core/race_sheet.h"
#include "text/cp932.h"
#include "text/format.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace zelkor {
namespace {

TEST(BracketOf, EveryExampleOfTheRule) {
    EXPECT_EQ(BracketOf(7, 10), 7);
    EXPECT_EQ(BracketOf(8, 10), 7);
    EXPECT_EQ(BracketOf(9, 10), 8);
    EXPECT_EQ(BracketOf(12, 18), 6);
    EXPECT_EQ(BracketOf(13, 18), 7);
    EXPECT_EQ(BracketOf(16, 18), 8);
    EXPECT_EQ(BracketOf(15, 17), 8);
    EXPECT_EQ(BracketOf(5, 8), 5);
    EXPECT_EQ(BracketOf(16, 16), 8);
}

TEST(BracketOf, EveryFieldFillsBracketsOneToEightInOrder) {
    for (int n = 8; n <= 18; ++n) {
        int previous = 0;
        for (int h = 1; h <= n; ++h) {
            int b = BracketOf(h, n);
            EXPECT_GE(b, previous) << h << " of " << n;
            EXPECT_LE(b, previous + 1) << h << " of " << n;
            previous = b;
        }
        EXPECT_EQ(previous, 8) << n;
    }
}

TEST(RaceSheet, ResetValuesAndRunnerLabel) {
    RaceSheet sheet;
    EXPECT_EQ(sheet.raceName, "レース名");
    EXPECT_EQ(sheet.distance, 10);
    EXPECT_EQ(sheet.runnerCount, 6);
    EXPECT_EQ(sheet.runner(3).weight, 20);
    EXPECT_EQ(sheet.runner(3).pastRuns[1].distance, 10);
    EXPECT_EQ(runnerLabel(sheet), "白 1枠 1番 ");
    sheet.racecourse = "東京";
    sheet.resetRaceConditions();
    EXPECT_EQ(sheet.racecourse, "東京");
    // Horse numbers outside 1..18 never reach a runner: what is written
    // there is dropped.
    for (int outside : {0, 19, -3}) {
        sheet.runner(outside).name = "ソトノウマ";
        EXPECT_EQ(sheet.runner(outside), RunnerEntry()) << outside;
        EXPECT_EQ(std::as_const(sheet).runner(outside), RunnerEntry()) << outside;
    }
    EXPECT_TRUE(std::none_of(sheet.runners().begin(), sheet.runners().end(),
                             [](const RunnerEntry& r) { return !r.name.empty(); }));
}

TEST(FixedLists, SizesAndOutOfRangeTexts) {
    EXPECT_EQ(std::size(kClassList), 10u);
    EXPECT_EQ(std::size(kDistanceList), 27u);
    EXPECT_EQ(std::size(kWeightList), 37u);
    EXPECT_EQ(std::size(kOddsBandList), 15u);
    EXPECT_EQ(std::size(kRacecourseList), 77u);
    EXPECT_EQ(std::size(kRaceNameSuggestions), 20u);
    EXPECT_EQ(std::size(kTimeDiffList), 22u);
    EXPECT_EQ(std::size(kRunnerAgeList), 19u);
    EXPECT_EQ(listText(kClassList, 10), "");
    EXPECT_EQ(listText(kClassList, -1), "");
    EXPECT_EQ(listText(kOddsBandList, 10), "10.1～15.0");
    EXPECT_EQ(clampToList(kWeightList, 40), 36);
}

// Each converter turns every index into what its list shows, and back.
TEST(FixedLists, ConvertersAgreeWithTheListTexts) {
    for (int i = 0; i < static_cast<int>(std::size(kPastFieldSizeList)); ++i) {
        EXPECT_EQ(std::to_string(fieldSizeRunners(i)), kPastFieldSizeList[i]);
        EXPECT_EQ(fieldSizeIndexOf(fieldSizeRunners(i)), i);
    }
    for (int i = 0; i < static_cast<int>(std::size(kWeightList)); ++i) {
        EXPECT_TRUE(kWeightList[i].starts_with(format("%.1f", weightTenthsOfKg(i) / 10.0))) << i;
        EXPECT_EQ(weightIndexOf(weightTenthsOfKg(i)), i);
    }
    for (int i = 0; i < static_cast<int>(std::size(kDistanceList)); ++i)
        EXPECT_EQ(distanceIndexOf(distanceMetres(i)), i);
    EXPECT_EQ(distanceMetres(10), 2000);
    EXPECT_EQ(distanceMetres(2147483647), 2147483647); // a damaged file's index saturates
}

// Every fixed text survives CP932 -> UTF-8 -> CP932 unchanged, so none was
// transliterated by the compiler.
TEST(FixedLists, EveryTextIsCleanCp932) {
    for (TextList list :
         {TextList(kClassList), TextList(kAgeLimitList), TextList(kSexLimitList),
          TextList(kWeightRuleList), TextList(kSurfaceList), TextList(kDistanceList),
          TextList(kRaceNumberList), TextList(kFieldSizeList), TextList(kRunnerAgeList),
          TextList(kWeightList), TextList(kOddsBandList), TextList(kSexList),
          TextList(kRunningStyleList), TextList(kPastRunKindList), TextList(kTimeDiffList),
          TextList(kRaceNameSuggestions), TextList(kRacecourseList),
          TextList(kBracketColourNames)}) {
        for (std::string_view text : list) {
            EXPECT_TRUE(isValidCp932(text)) << cp932ToUtf8(text);
            EXPECT_EQ(text.find('?'), std::string_view::npos) << cp932ToUtf8(text);
        }
    }
}

} // namespace
} // namespace zelkor
