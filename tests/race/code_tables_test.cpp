#include "race/code_tables.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(Decoders, RacecourseComparesTheWholeCode) {
    EXPECT_EQ(decodeRacecourse("05"), "東京");
    EXPECT_EQ(decodeRacecourse("A4"), "アメリカ");
    EXPECT_EQ(decodeRacecourse("H2"), "南アフリカ");
    EXPECT_EQ(decodeRacecourse("58"), "札幌（地方競馬）");
    EXPECT_EQ(decodeRacecourse("62"), "");
    EXPECT_EQ(decodeRacecourse("5"), "");
    EXPECT_EQ(decodeRacecourse("05 "), "");
    EXPECT_EQ(decodeRacecourse(""), "");
    EXPECT_EQ(std::size(kRacecourseTable), 83u);
}

TEST(Decoders, GradeDefaultsToOrdinaryRace) {
    EXPECT_EQ(decodeGrade("A"), "ＧⅠ");
    EXPECT_EQ(decodeGrade("C"), "ＧⅢ");
    EXPECT_EQ(decodeGrade("E"), "特別");
    EXPECT_EQ(decodeGrade("H"), "Ｊ・ＧⅢ");
    EXPECT_EQ(decodeGrade(""), "一般競走");
    EXPECT_EQ(decodeGrade(" "), "一般競走");
    EXPECT_EQ(decodeGrade("A "), "一般競走");
    EXPECT_EQ(decodeGrade("a"), "一般競走");
}

TEST(Decoders, ConditionByRuleAndDate) {
    constexpr int kOld = 20190531, kNew = 20190601; // classes named by wins from kNew
    EXPECT_EQ(decodeCondition(5, kOld), "500万円以下");
    EXPECT_EQ(decodeCondition(10, kOld), "1000万円以下");
    EXPECT_EQ(decodeCondition(16, kNew), "3勝クラス");
    EXPECT_EQ(decodeCondition(9, kNew), "900万円以下");
    EXPECT_EQ(earningsClassName(10, kOld), "1000万下");
    EXPECT_EQ(earningsClassName(5, kNew), "1勝クラス");
    EXPECT_EQ(decodeCondition(0, kNew), "0万円以下");
    EXPECT_EQ(decodeCondition(100, kNew), "1億円以下");
    EXPECT_EQ(decodeCondition(701, kNew), "新馬");
    EXPECT_EQ(decodeCondition(702, kOld), "未出走");
    EXPECT_EQ(decodeCondition(703, kNew), "未勝利");
    EXPECT_EQ(decodeCondition(710, kNew), "");
    EXPECT_EQ(decodeCondition(999, kNew), "オープン");
    EXPECT_EQ(decodeCondition(500, kNew), "");
    EXPECT_EQ(decodeCondition(-2147483647 - 1, kNew), "-214748364800万円以下");
}

TEST(Decoders, TrackByRule) {
    EXPECT_EQ(decodeTrack(0), "");
    EXPECT_EQ(decodeTrack(9), "");
    EXPECT_EQ(decodeTrack(10), "芝　直線");
    EXPECT_EQ(decodeTrack(17), "芝　右回り");
    EXPECT_EQ(decodeTrack(23), "ダート　左回り");
    EXPECT_EQ(decodeTrack(24), "ダート　右回り");
    EXPECT_EQ(decodeTrack(29), "ダート　直線");
    EXPECT_EQ(decodeTrack(51), "（障害）芝　襷");
    EXPECT_EQ(decodeTrack(54), "（障害）芝");
    EXPECT_EQ(decodeTrack(59), "（障害）芝　外２周");
    EXPECT_EQ(decodeTrack(60), "");
    // Codes whose computed entry falls before the table have no text.
    for (int code : {1, 8, 25, 28, 30, 33, 34, -5})
        EXPECT_EQ(decodeTrack(code), "") << code;
}

TEST(Decoders, RunnerSexMarginAndKind) {
    EXPECT_EQ(decodeRunnerSex(1), "牡");
    EXPECT_EQ(decodeRunnerSex(3), "せ");
    EXPECT_EQ(decodeRunnerSex(0), "");
    EXPECT_EQ(decodeRunnerSex(4), "");
    EXPECT_EQ(codeText(kHorseSexTable, 3), "せん馬");

    EXPECT_EQ(decodeMargin("112"), "1.5 馬身");
    EXPECT_EQ(decodeMargin("_12"), "1/2 馬身");
    EXPECT_EQ(decodeMargin("K__"), " クビ");
    EXPECT_EQ(decodeMargin("Z__"), " １０ 馬身");
    EXPECT_EQ(decodeMargin("999"), " 不明");
    EXPECT_EQ(decodeMargin("   "), " 不明");

    EXPECT_EQ(decodeRaceKind(11), "サラ系２歳　　");
    EXPECT_EQ(decodeRaceKind(18), "サラ系障害３歳以上");
    EXPECT_EQ(decodeRaceKind(24), "アラ系４歳以上");
    EXPECT_EQ(decodeRaceKind(15), "");
    EXPECT_EQ(decodeRaceKind(0), "");
    EXPECT_EQ(decodeRaceKind(10), "");
    EXPECT_EQ(decodeRaceKind(25), "");
    EXPECT_EQ(decodeRaceKind(5), "");
}

TEST(Decoders, SymbolJoinsItsThreeParts) {
    EXPECT_EQ(decodeSymbol("A10"), "○混牡");
    EXPECT_EQ(decodeSymbol("000"), "");
    EXPECT_EQ(decodeSymbol("N04"), "○国際○特指");
    EXPECT_EQ(decodeSymbol("A31"), "○混牡・せん○指");
    EXPECT_EQ(decodeSymbol("G22"), "○抽 関西配布馬牝見習騎手");
    // Unknown keys and digits outside the tables contribute nothing.
    EXPECT_EQ(decodeSymbol("Z59"), "");
    EXPECT_EQ(decodeSymbol("   "), "");
    EXPECT_EQ(decodeSymbol("B"), "○父");
    EXPECT_EQ(decodeSymbol(""), "");
}

TEST(CodeTables, IndexTablesGiveEmptyTextOutsideTheirRange) {
    EXPECT_EQ(codeText(kWeekdayTable, 1), "土");
    EXPECT_EQ(codeText(kWeekdayTable, 8), "金");
    EXPECT_EQ(codeText(kWeekdayTable, 9), "");
    EXPECT_EQ(codeText(kWeekdayTable, -1), "");
    EXPECT_EQ(codeText(kSaleTable, 0), "全国発売なし");
    EXPECT_EQ(codeText(kSaleTable, 3), "");
    EXPECT_EQ(codeText(kTrackConditionTable, 0), "不明");
    EXPECT_EQ(codeText(kWeatherTable, 6), "小雪");
    EXPECT_EQ(codeText(kWeatherTable, 7), "");
    EXPECT_EQ(codeText(kCoatColourTable, 8), "栗粕毛");
    EXPECT_EQ(codeText(kCoatColourTable, 9), "鹿粕毛");
    EXPECT_EQ(codeText(kCoatColourTable, 10), "青粕毛");
    EXPECT_EQ(codeText(kCoatColourTable, 11), "白毛");
    EXPECT_EQ(codeText(kCoatImageTable, 8), "kuri");
    EXPECT_EQ(codeText(kCoatImageTable, 12), "");
    EXPECT_EQ(codeText(kApprenticeMarkTable, 3), "▲");
    EXPECT_EQ(codeText(kHorseMarkTable, 12), "○父○市○地");
    EXPECT_EQ(codeText(kBreedTable, 7), "アラブ");
    EXPECT_EQ(std::size(kTrackTable), 26u);
    EXPECT_EQ(std::size(kRaceKindTable), 15u);
}

// Every text was written in UTF-8 source and compiled to CP932; a character
// outside CP932 would have been transliterated silently.
TEST(CodeTables, EveryTextSurvivesTheRoundTripThroughCp932) {
    auto check = [](std::string_view text) {
        std::string utf8 = cp932ToUtf8(text);
        EXPECT_EQ(utf8.find('?'), std::string::npos) << utf8;
        EXPECT_EQ(utf8ToCp932(utf8), text) << utf8;
    };
    for (CodeTable table :
         {CodeTable(kWeekdayTable), CodeTable(kRaceKindTable), CodeTable(kWeightRuleTable),
          CodeTable(kSaleTable), CodeTable(kSymbolTable), CodeTable(kSexRestrictionTable),
          CodeTable(kDesignationTable), CodeTable(kTrackTable), CodeTable(kTrackConditionTable),
          CodeTable(kWeatherTable), CodeTable(kHorseMarkTable), CodeTable(kBreedTable),
          CodeTable(kHorseSexTable), CodeTable(kCoatColourTable), CodeTable(kCoatImageTable),
          CodeTable(kApprenticeMarkTable)})
        for (std::string_view text : table)
            check(text);
    for (KeyedCodeTable table : {KeyedCodeTable(kGradeTable), KeyedCodeTable(kRacecourseTable),
                                 KeyedCodeTable(kMarginTable)})
        for (const KeyedCode& entry : table) {
            check(entry.key);
            check(entry.text);
        }
    EXPECT_EQ(cp932ToUtf16(decodeGrade("A")), u"ＧⅠ");
    EXPECT_EQ(cp932ToUtf16(kCoatColourTable[8]), u"栗粕毛");
}

} // namespace
} // namespace zelkor
