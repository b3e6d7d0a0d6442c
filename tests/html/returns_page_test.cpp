#include "html/returns_page.h"

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
    backtest.races = {race};
    const std::string page = returnsPage(backtest, returnFigures(backtest.races));
    EXPECT_NE(page.find(std::string("<b>") + kFewRacesNote + "</b>"), std::string::npos);
    EXPECT_NE(page.find("確定オッズ (最終オッズ)"), std::string::npos);
    EXPECT_NE(page.find("同じ組み合わせを馬連で買いました: 1レース。"), std::string::npos);
    EXPECT_NE(
        page.find("得点0で並んだ馬 (順位は馬番の順で、予想の差ではありません): 2頭 (1レース)"),
        std::string::npos);
    EXPECT_NE(page.find("<td>05 東京</td>"), std::string::npos);
    EXPECT_EQ(count(page, "<polyline class=\"profit\""), 6u) << "the program and five baselines";
    // Place and quinella returned 540 of 200: 270 %.
    EXPECT_NE(page.find("<td align=right>270.0%</td>"), std::string::npos);

    const std::string empty = returnsPage({20250104, 20250105, 0, {}}, returnFigures({}));
    EXPECT_NE(empty.find("<tr><td>－</td><td align=center>－</td>"), std::string::npos);
    EXPECT_EQ(count(empty, "<td align=right>0円</td><td align=right>0円</td><td align=center>－"),
              8u);
}

} // namespace
} // namespace zelkor
