#include "core/report.h"
#include "support/recording_prompt.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace zelkor {
namespace {

using Pairs = std::vector<std::array<int, 2>>;

// A sheet of `n` named runners with a prediction result written by hand:
// ranking n, n−1, …, 1, the first `dark` of them dark horses.
RaceSheet predictedSheet(int n, int dark, const Pairs& pairs = {}) {
    RaceSheet sheet;
    sheet.runnerCount = n;
    sheet.liveRunnerCount = n;
    const char* names[] = {"",         "アオゾラ", "イナズマ", "ウミカゼ", "エンジン",
                           "オオゾラ", "カゼマチ", "キラボシ", "クモマ",   "ケヤキ",
                           "コハル",   "サザナミ", "シズカ",   "スズラン", "セキレイ",
                           "ソヨカゼ", "タンポポ", "チドリ",   "ツバメ"};
    for (int h = 1; h <= n; ++h) {
        sheet.runner(h).name = names[h];
        sheet.runner(h).oddsBand = h % 15;
        sheet.result.setScore(h, 10 * h - 40);
        sheet.result.setHorseAt(h, n + 1 - h);
    }
    sheet.result.darkHorseCount = dark;
    for (const auto& pair : pairs)
        sheet.result.quinellaPairs[static_cast<size_t>(sheet.result.quinellaCount++)] = pair;
    return sheet;
}

const std::string kBetsHead = "＝＝＝＝＝＝＝  買い目  ＝＝＝＝＝＝＝＝\r\n【複勝】\r\n";

// The result lines of the lists, one text a line; every list must be as
// long as the names.
std::vector<std::string> lineTexts(const ResultLines& l) {
    const size_t n = l.names.size();
    EXPECT_TRUE(l.positions.size() == n && l.brackets.size() == n && l.scores.size() == n &&
                l.odds.size() == n);
    std::vector<std::string> texts;
    for (size_t i = 0; i < n; ++i)
        texts.push_back(l.positions.at(i) + " " + l.brackets.at(i) + " " + l.names[i] + " " +
                        l.scores.at(i) + " " + l.odds.at(i));
    return texts;
}

TEST(ResultLines, OneLinePerRunnerInRankingOrder) {
    // Horse 10 of 10 shares bracket 8.
    EXPECT_EQ(lineTexts(resultLines(predictedSheet(10, 1))),
              (std::vector<std::string>{
                  " 1 8枠10番 コハル  60 10.1～15.0", " 2 8枠 9番 ケヤキ  50 9.1～10.0",
                  " 3 7枠 8番 クモマ  40 8.1～9.0", " 4 7枠 7番 キラボシ  30 7.1～8.0",
                  " 5 6枠 6番 カゼマチ  20 6.1～7.0", " 6 5枠 5番 オオゾラ  10 5.1～6.0",
                  " 7 4枠 4番 エンジン   0 4.1～5.0", " 8 3枠 3番 ウミカゼ -10 3.1～4.0",
                  " 9 2枠 2番 イナズマ -20 2.1～3.0", "10 1枠 1番 アオゾラ -30 1.6～2.0"}));
}

TEST(ResultLines, OddsOutsideTheBandsShowNothing) {
    RaceSheet sheet = predictedSheet(4, 1);
    sheet.runner(4).oddsBand = 15;
    EXPECT_EQ(resultLines(sheet).odds[0], "");
}

TEST(Report, DarkHorseView) {
    RaceSheet sheet = predictedSheet(6, 2);
    EXPECT_EQ(buildReportText(sheet, -1), "＝＝＝＝＝＝＝ ゼルコ馬予想 ＝＝＝＝＝＝＝\r\n"
                                          "【穴馬】\r\n"
                                          "   [カゼマチ]\r\n"
                                          "   [オオゾラ]\r\n");
}

// Up to eight runners the pairs are bracket quinellas, from nine quinellas.
TEST(Report, BetsByFieldSize) {
    struct Case {
        int runners;
        int dark;
        Pairs pairs;
        std::string afterHead;
    };
    const Case cases[] = {
        {8,
         2,
         {{3, 8}, {1, 7}, {7, 8}},
         " 8\t[クモマ]\r\n"
         " 7\t[キラボシ]\r\n"
         "【枠連】\r\n"
         " 3 - 8 \t[ウミカゼ]-[クモマ]\r\n"
         " 1 - 7 \t[アオゾラ]-[キラボシ]\r\n"
         " 7 - 8 \t[キラボシ]-[クモマ]\r\n"},
        {9, 1, {{2, 9}}, " 9\t[ケヤキ]\r\n【馬連】\r\n 2 - 9 \t[イナズマ]-[ケヤキ]\r\n"},
        {12, 1, {}, " 12\t[シズカ]\r\n【馬連】\r\n"}, // no pairs: ends with the heading
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.runners);
        RaceSheet sheet = predictedSheet(c.runners, c.dark, c.pairs);
        sheet.result.reportMode = ReportMode::Bets;
        EXPECT_EQ(buildReportText(sheet, -1), kBetsHead + c.afterHead);
    }
}

TEST(Report, NamesArePrintedNeverInterpreted) {
    RaceSheet sheet = predictedSheet(4, 2, {{3, 4}});
    sheet.runner(4).name = "100%s%d%n";
    sheet.runner(3).name = "%%";
    EXPECT_EQ(buildReportText(sheet, -1), "＝＝＝＝＝＝＝ ゼルコ馬予想 ＝＝＝＝＝＝＝\r\n"
                                          "【穴馬】\r\n"
                                          "   [100%s%d%n]\r\n"
                                          "   [%%]\r\n");
    sheet.result.reportMode = ReportMode::Bets;
    EXPECT_EQ(buildReportText(sheet, -1), kBetsHead + " 4\t[100%s%d%n]\r\n"
                                                      " 3\t[%%]\r\n"
                                                      "【枠連】\r\n"
                                                      " 3 - 4 \t[%%]-[100%s%d%n]\r\n");
    sheet.result.reportMode = ReportMode::Trainer;
    EXPECT_EQ(buildReportText(sheet, 0).rfind(
                  "＝＝＝＝＝＝＝ 調教師の本音 ＝＝＝＝＝＝\r\n 4番 100%s%d%n\r\n\r\n", 0),
              0u);
}

TEST(Report, TrainerViewOfTheSelectedRunner) {
    RaceSheet sheet = predictedSheet(6, 1);
    sheet.result.reportMode = ReportMode::Trainer;
    // Ranked third is horse 4: a favourite that raced.
    sheet.runner(4).oddsBand = 0;
    EXPECT_EQ(buildReportText(sheet, 2), "＝＝＝＝＝＝＝ 調教師の本音 ＝＝＝＝＝＝\r\n"
                                         " 4番 エンジン\r\n\r\n"
                                         "↑ 完璧な仕上がりで、レースが楽しみだ。");
    // Nothing to judge by: the mark, a blank and no remark.
    sheet.runner(4).pastRuns[0].kind = PastRunKind::Rested;
    sheet.runner(4).pastRuns[1].kind = PastRunKind::Rested;
    EXPECT_EQ(buildReportText(sheet, 2), "＝＝＝＝＝＝＝ 調教師の本音 ＝＝＝＝＝＝\r\n"
                                         " 4番 エンジン\r\n\r\n"
                                         "→ ");
}

TEST(Report, TrainerViewWithoutAValidSelectionIsEmpty) {
    RaceSheet sheet = predictedSheet(6, 1);
    sheet.result.reportMode = ReportMode::Trainer;
    EXPECT_EQ(buildReportText(sheet, -1), "");
    EXPECT_EQ(buildReportText(sheet, 6), "");
    EXPECT_EQ(buildReportText(sheet, 1000), "");
}

TEST(Report, CountsOutsideTheirRangeAreLimited) {
    RaceSheet sheet = predictedSheet(4, 40);
    sheet.result.quinellaCount = 99;
    sheet.result.reportMode = ReportMode::Bets;
    std::string text = buildReportText(sheet, -1);
    EXPECT_NE(text.find(" 1\t[アオゾラ]\r\n【枠連】\r\n"), std::string::npos);
    sheet.result.darkHorseCount = -3;
    sheet.result.quinellaCount = -1;
    EXPECT_EQ(buildReportText(sheet, -1), kBetsHead + "【枠連】\r\n");
}

// --- Command flow -----------------------------------------------------------

using test::RecordingPrompt;
using C = PredictionCommands;

// Six named long shots with distinct records, so the scoring ranks them.
RaceSheet namedSheet() {
    RaceSheet sheet;
    const char* names[] = {"",         "アオゾラ", "イナズマ", "ウミカゼ",
                           "エンジン", "オオゾラ", "カゼマチ"};
    for (int h = 1; h <= 6; ++h) {
        RunnerEntry& r = sheet.runner(h);
        r.name = names[h];
        r.oddsBand = 7 + h;
        r.aptitudeDistance = 4 + h;
    }
    return sheet;
}

const std::string kDarkHorsesOfNamedSheet = "＝＝＝＝＝＝＝ ゼルコ馬予想 ＝＝＝＝＝＝＝\r\n"
                                            "【穴馬】\r\n   [カゼマチ]\r\n   [オオゾラ]\r\n";

class CommandFlow : public ::testing::Test {
  protected:
    void predict() {
        commands.updatePredictFlag(sheet);
        commands.predict(sheet, prompt);
    }
    RaceSheet sheet = namedSheet();
    PredictionCommands commands;
    RecordingPrompt prompt;
};

TEST_F(CommandFlow, StartsWithEverythingOff) {
    EXPECT_FALSE(commands.predictEnabled());
    EXPECT_FALSE(commands.betsEnabled());
    EXPECT_FALSE(commands.trainerEnabled());
    EXPECT_FALSE(commands.sportsEnabled());
    EXPECT_EQ(commands.selection(), -1);
    EXPECT_TRUE(commands.lines().empty());
    EXPECT_EQ(commands.reportText(), "");
}

TEST_F(CommandFlow, PredictFlagFollowsTheNamesOfTheField) {
    EXPECT_EQ(commands.updatePredictFlag(sheet), C::Flags);
    EXPECT_TRUE(commands.predictEnabled());
    EXPECT_EQ(commands.updatePredictFlag(sheet), C::None);

    sheet.runner(6).name.clear();
    EXPECT_EQ(commands.updatePredictFlag(sheet), C::Flags);
    EXPECT_FALSE(commands.predictEnabled());
    sheet.runnerCount = 5; // horse 6 is no longer in the race
    commands.updatePredictFlag(sheet);
    EXPECT_TRUE(commands.predictEnabled());

    EXPECT_EQ(commands.setPredictFlag(false), C::Flags);
    EXPECT_FALSE(commands.predictEnabled());
}

TEST_F(CommandFlow, PredictRefusedWhileANameIsMissing) {
    sheet.runner(3).name.clear();
    const RaceSheet before = sheet;
    commands.updatePredictFlag(sheet);
    EXPECT_EQ(commands.predict(sheet, prompt), C::None);
    EXPECT_EQ(prompt.onlyText(), "出走馬名をすべて入力してください。");
    EXPECT_EQ(prompt.entries[0].caption, kAppTitle);
    EXPECT_TRUE(commands.lines().empty());
    EXPECT_EQ(sheet.result, before.result);
}

TEST_F(CommandFlow, PredictFillsListsAndDarkHorseView) {
    commands.updatePredictFlag(sheet);
    sheet.result.reportMode = ReportMode::Bets;
    const unsigned changes = commands.predict(sheet, prompt);
    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_EQ(changes & (C::Lists | C::Report | C::Flags), C::Lists | C::Report | C::Flags);

    EXPECT_EQ(sheet.result.reportMode, ReportMode::DarkHorses);
    // Each step up in distance aptitude and odds band is worth 3 points.
    EXPECT_EQ(lineTexts(commands.lines()),
              (std::vector<std::string>{
                  " 1 6枠 6番 カゼマチ 333 30.1～50.0", " 2 5枠 5番 オオゾラ 330 20.1～30.0",
                  " 3 4枠 4番 エンジン 327 15.1～20.0", " 4 3枠 3番 ウミカゼ 324 10.1～15.0",
                  " 5 2枠 2番 イナズマ 271 9.1～10.0", " 6 1枠 1番 アオゾラ 268 8.1～9.0"}));
    EXPECT_EQ(commands.reportText(), kDarkHorsesOfNamedSheet);
    EXPECT_TRUE(commands.betsEnabled());
    EXPECT_TRUE(commands.sportsEnabled());
    EXPECT_FALSE(commands.trainerEnabled());
}

TEST_F(CommandFlow, BetsAndTrainerNeedAPrediction) {
    EXPECT_EQ(commands.bets(sheet, prompt), C::None);
    EXPECT_EQ(commands.trainer(sheet, prompt), C::None);
    // Every runner named but nothing predicted yet: still nothing to show.
    commands.updatePredictFlag(sheet);
    EXPECT_EQ(commands.bets(sheet, prompt), C::None);
    EXPECT_EQ(prompt.texts(),
              (std::vector<std::string>{"先に予想してください。", "先に予想してください。",
                                        "先に予想してください。"}));
    EXPECT_EQ(sheet.result.reportMode, ReportMode::DarkHorses);
}

TEST_F(CommandFlow, BetsRefusedAfterANameWasErased) {
    predict();
    const std::string report = commands.reportText();
    commands.setPredictFlag(false);
    EXPECT_EQ(commands.bets(sheet, prompt), C::None);
    EXPECT_EQ(prompt.onlyText(), "先に予想してください。");
    EXPECT_EQ(commands.reportText(), report);
    EXPECT_EQ(sheet.result.reportMode, ReportMode::DarkHorses);
}

TEST_F(CommandFlow, TrainerNeedsASelectedLine) {
    predict();
    EXPECT_EQ(commands.trainer(sheet, prompt), C::None);
    EXPECT_EQ(prompt.onlyText(), "ゼルコ馬予想の馬名を選択してください。");
    EXPECT_EQ(sheet.result.reportMode, ReportMode::DarkHorses);
}

TEST_F(CommandFlow, SelectingALineMovesTheFormAndKeepsTheView) {
    predict();
    EXPECT_EQ(commands.bets(sheet, prompt), C::Report);
    EXPECT_EQ(sheet.result.reportMode, ReportMode::Bets);
    const std::string betsText = commands.reportText();
    EXPECT_EQ(betsText, kBetsHead +
                            " 6\t[カゼマチ]\r\n"
                            " 5\t[オオゾラ]\r\n【枠連】\r\n 5 - 6 \t[オオゾラ]-[カゼマチ]\r\n");

    const int third = sheet.result.horseAt(3);
    const unsigned changes = commands.selectResult(sheet, 2);
    EXPECT_EQ(changes, C::Selection | C::Runner | C::Report | C::Flags);
    EXPECT_EQ(commands.selection(), 2);
    EXPECT_EQ(sheet.currentRunner, third);
    EXPECT_TRUE(commands.trainerEnabled());
    EXPECT_EQ(commands.reportText(), betsText); // still the bets view

    EXPECT_EQ(commands.trainer(sheet, prompt), C::Report);
    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_EQ(sheet.result.reportMode, ReportMode::Trainer);
    const std::string hotForm = "\r\n\r\n↑ ここ２レースはほんとに絶好調だ。これなら勢いで勝てる。";
    EXPECT_EQ(commands.reportText(),
              "＝＝＝＝＝＝＝ 調教師の本音 ＝＝＝＝＝＝\r\n 4番 エンジン" + hotForm);

    // In the trainer view a new selection explains the new runner.
    commands.selectResult(sheet, 0);
    EXPECT_EQ(sheet.currentRunner, sheet.result.horseAt(1));
    EXPECT_EQ(commands.reportText(),
              "＝＝＝＝＝＝＝ 調教師の本音 ＝＝＝＝＝＝\r\n 6番 カゼマチ" + hotForm);
}

TEST_F(CommandFlow, ClearingTheSelectionSwitchesTrainerOff) {
    predict();
    commands.selectResult(sheet, 4);
    const int runner = sheet.currentRunner;
    commands.trainer(sheet, prompt);

    const unsigned changes = commands.selectResult(sheet, -1);
    EXPECT_TRUE(changes & C::Flags);
    EXPECT_FALSE(commands.trainerEnabled());
    EXPECT_EQ(sheet.currentRunner, runner);
    EXPECT_EQ(commands.selection(), -1);
    EXPECT_EQ(commands.reportText(), ""); // trainer view with nobody chosen
    EXPECT_EQ(commands.trainer(sheet, prompt), C::None);
    EXPECT_EQ(prompt.onlyText(), "ゼルコ馬予想の馬名を選択してください。");

    // A line beyond the lists counts as no selection.
    commands.selectResult(sheet, 6);
    EXPECT_EQ(commands.selection(), -1);
    EXPECT_FALSE(commands.trainerEnabled());
    EXPECT_EQ(sheet.currentRunner, runner);
}

TEST_F(CommandFlow, ClearResultsEmptiesEverythingButThePredictFlag) {
    predict();
    commands.selectResult(sheet, 1);
    EXPECT_EQ(commands.clearResults(), C::Lists | C::Report | C::Flags | C::Selection);
    EXPECT_TRUE(commands.lines().empty());
    EXPECT_EQ(commands.reportText(), "");
    EXPECT_FALSE(commands.betsEnabled());
    EXPECT_FALSE(commands.trainerEnabled());
    EXPECT_FALSE(commands.sportsEnabled());
    EXPECT_EQ(commands.selection(), -1);
    EXPECT_TRUE(commands.predictEnabled());
    // Selecting in emptied lists selects nothing.
    commands.selectResult(sheet, 0);
    EXPECT_FALSE(commands.trainerEnabled());
}

TEST_F(CommandFlow, PredictingAgainStartsOverInTheDarkHorseView) {
    predict();
    commands.selectResult(sheet, 1);
    commands.trainer(sheet, prompt);
    sheet.runner(1).oddsBand = 14; // the user edits the form meanwhile
    commands.predict(sheet, prompt);
    EXPECT_EQ(sheet.result.reportMode, ReportMode::DarkHorses);
    EXPECT_EQ(commands.selection(), -1);
    EXPECT_FALSE(commands.trainerEnabled());
    EXPECT_EQ(commands.reportText(), kDarkHorsesOfNamedSheet);
    EXPECT_EQ(lineTexts(commands.lines())[4], " 5 1枠 1番 アオゾラ 318 50.1以上");
}

} // namespace
} // namespace zelkor
