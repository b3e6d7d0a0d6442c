#include "html/returns_page.h"
#include "html/returns_text.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(ReturnsPage, SaysWhatTheFiguresCannotProveAndMarksEmptyGroups) {
    ReturnsBacktest backtest{20250104, 20250105, 0, {}};
    ReturnRace race;
    race.id = {2025, 104, "05", 1, 1, 1};
    race.trackCode = 17;
    race.distanceMetres = 1400;
    race.pairsShownAsBracket = true;
    race.runners = {{1, "a", 0, 1, 2, 21, 1}, {2, "b", 0, 2, 1, 35, 2}};
    RacePayouts payouts;
    payouts.paidSlots[1] = {{{1}, 130, 1}, {{2}, 150, 2}};
    payouts.paidSlots[3] = {{{1, 2}, 410, 1}};
    const std::vector<Ticket> tickets = {{BetType::Place, {1, 0}}, {BetType::Quinella, {1, 2}}};
    settleRace(race, tickets, payouts);
    // A second race where every ticket loses: the first alone makes the figures.
    ReturnRace lost = race;
    lost.id.raceNumber = 2;
    RacePayouts lostPayouts;
    lostPayouts.paidSlots[1] = {{{2}, 150, 2}};
    settleRace(lost, tickets, lostPayouts);
    backtest.races = {race, lost};
    const std::string page = returnsPage(backtest, returnFigures(backtest.races));
    EXPECT_NE(page.find(std::string("<b>") + kFewRacesNote + "</b>"), std::string::npos);
    EXPECT_NE(page.find("確定オッズ (最終オッズ)"), std::string::npos);
    EXPECT_NE(page.find("同じ組み合わせを馬連で買いました: 1レース。"), std::string::npos);
    for (const char* part :
         {"得点が0点のまま並んだ馬: 4頭 (2レース)。これらの馬の順位は馬番の順に並べただけ",
          "<td>東京</td>", "<td>2025年1月</td>", ">2025年1月</text>",
          // Place and quinella returned 540 of 300: 180 %, all of it from race 1.
          "<td align=right>180.0%</td>", "回収率 (払戻額÷購入額) は180.0%です。レースが2と少ない",
          "<li>合計: 2025年1月4日 東京1R のひとレースだけで回収率が180.0ポイント動いています "
          "(このレースを除くと0.0%)。</li>"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
    EXPECT_LT(page.find("結果の読み方"), page.find("<table"));
    EXPECT_EQ(count(page, "<polyline class=\"profit\""), 6u) << "the program and five baselines";
    EXPECT_EQ(count(page, "<path d="), 6u * 7) << "six markers a line and one in the legend";

    // With the chances: the value line, the quality beside the market's, a
    // point for each bin that holds runners; without, none of it.
    WalkForwardQuality chances;
    chances.races.push_back({1, {1, 2}, {{0.6, 0.9}, {0.4, 0.8}}, true, {1, 1, 100, 130}, {}});
    chances.quality = {1.0, 1.2, 0.3, 0.4, 1};
    chances.calibration[8] = {0.8, 0.9, 2, 0.85, 0.5};
    const std::string withChances = returnsPage(backtest, returnFigures(backtest.races), &chances);
    for (const char* part :
         {"期待値1.10以上の複勝</td><td align=right>1</td><td align=right>1</td>"
          "<td align=right>100円</td><td align=right>130円</td><td "
          "align=right>130.0%</td>",
          "<td>対数損失</td><td align=right>1.0000</td><td align=right>1.2000</td>",
          "何も約束しません"})
        EXPECT_NE(withChances.find(part), std::string::npos) << part;
    EXPECT_EQ(count(withChances, "<circle class=\"bin\""), 1u);
    EXPECT_EQ(page.find("複勝率の当たりぐあい"), std::string::npos);

    for (const auto& [yen, text] : std::vector<std::pair<double, std::string>>{
             {-150000, "-150,000円"}, {0, "0円"}, {999.6, "1,000円"}, {1234567, "1,234,567円"}})
        EXPECT_EQ(yenText(yen), text);
    const std::string empty = returnsPage({20250104, 20250105, 0, {}}, returnFigures({}));
    EXPECT_NE(empty.find("<tr><td>－</td><td align=center>－</td>"), std::string::npos);
    EXPECT_EQ(count(empty, "<td align=right>0円</td><td align=right>0円</td><td align=center>－"),
              8u);
}

} // namespace
} // namespace zelkor
