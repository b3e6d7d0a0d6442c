#include "html/returns_page.h"

#include "html/page_conventions.h"
#include "html/profit_chart.h"
#include "html/returns_text.h"
#include "race/code_tables.h"
#include "text/file_io.h"
#include "text/format.h"

#include <filesystem>

namespace zelkor {
namespace {

constexpr const char* kTitle = "ゼルコ馬 払戻で検証";
constexpr const char* kHeaderColour = "9999cc";
constexpr const char* kProgramRowColour = "ffffaa";
constexpr const char* kNone = "<td align=center>－</td>";

constexpr const char* kFinalOddsNote =
    "オッズは確定オッズ (最終オッズ) です。レースの前に見えていたオッズとは少し違います。";

std::string percentCell(std::optional<double> rate) {
    return rate ? format("<td align=right>%.1f%%</td>", *rate * 100) : kNone;
}

std::string ratioCell(double part, double whole) {
    return whole > 0 ? percentCell(part / whole) : kNone;
}

// Races, tickets, stake, return, 回収率 with its interval, hit rates per
// ticket and per race; "－" where there is nothing to divide.
std::string groupCells(const ReturnGroup& g) {
    std::string cells =
        format("<td align=right>%d</td><td align=right>%d</td><td "
               "align=right>%s</td><td align=right>%s</td>",
               g.races, g.tickets, yenText(g.stake).c_str(), yenText(g.ret).c_str());
    cells += percentCell(g.rate);
    cells += g.interval ? format("<td align=right>%.1f%%～%.1f%%</td>", g.interval->low * 100,
                                 g.interval->high * 100)
                        : kNone;
    cells += ratioCell(g.hitTickets, g.tickets);
    cells += ratioCell(g.hitRaces, g.races);
    return cells;
}

std::string tableHead(const std::string& caption, const char* firstColumn) {
    return format("<table border=1 cellpadding=3><caption><b>%s</b></caption><tr BGCOLOR=%s><td>%s"
                  "</td><td>レース</td><td>買い目</td><td>購入額</td><td>払戻額</td><td>回収率"
                  "</td><td>95%%区間</td><td>的中率 (買い目)</td><td>的中率 (レース)</td></tr>\r\n",
                  htmlEscape(caption).c_str(), kHeaderColour, firstColumn);
}

void appendMainTable(std::string& page, const ReturnFigures& f) {
    page += tableHead("ゼルコ馬の買い目とくらべる相手 (同じレース)", "買い目");
    const auto program = programLines();
    for (size_t i = 0; i < program.size() && i < f.program.size(); ++i)
        appendFormat(page, "<tr BGCOLOR=%s><td>%s</td>%s</tr>\r\n", kProgramRowColour,
                     program[i].label, groupCells(f.program[i]).c_str());
    const auto baselines = baselineLines();
    for (size_t i = 0; i < baselines.size() && i < f.baselines.size(); ++i)
        appendFormat(page, "<tr><td>%s</td>%s</tr>\r\n", baselines[i].label,
                     groupCells(f.baselines[i]).c_str());
    page += "</table><br>\r\n";
}

void appendSplitTables(std::string& page, const ReturnFigures& f) {
    const auto splits = returnSplits();
    for (size_t s = 0; s < splits.size() && s < f.splits.size(); ++s) {
        page += tableHead(format("%s別 (ゼルコ馬の買い目の合計)", splits[s].name), splits[s].name);
        if (f.splits[s].empty())
            appendFormat(page, "<tr><td>－</td>%s%s%s%s%s%s%s%s</tr>\r\n", kNone, kNone, kNone,
                         kNone, kNone, kNone, kNone, kNone);
        for (const auto& [key, group] : f.splits[s]) {
            // Racecourses and months as a user names them.
            const std::string_view split = splits[s].key;
            const std::string label = split == "course"  ? decodeRacecourse(key)
                                      : split == "month" ? monthText(key)
                                                         : splits[s].labelOf(key);
            appendFormat(page, "<tr><td>%s</td>%s</tr>\r\n", htmlEscape(label).c_str(),
                         groupCells(group).c_str());
        }
        page += "</table><br>\r\n";
    }
}

int bracketViewRaces(const ReturnsBacktest& backtest) {
    int n = 0;
    for (const ReturnRace& race : backtest.races)
        n += race.pairsShownAsBracket && race.take(ReturnLine::Quinella).tickets > 0 ? 1 : 0;
    return n;
}

} // namespace

std::string returnsPagePath(const std::string& programFolder) {
    return programFolder + "HTML/ZelReturns.html";
}

std::string returnsPage(const ReturnsBacktest& backtest, const ReturnFigures& f) {
    std::string page = plainHead(kTitle);
    appendFormat(page, "<center><h2>%s</h2></center>\r\n", kTitle);
    appendFormat(page,
                 "<p>期間: %d年%d月%d日～%d年%d月%d日<br>\r\n検証したレース: %d<br>\r\n"
                 "%s<br>\r\n過去の走りが見つからず、走りなしで読み込んだ馬: %d頭</p>\r\n",
                 backtest.fromDate / 10000, backtest.fromDate / 100 % 100, backtest.fromDate % 100,
                 backtest.toDate / 10000, backtest.toDate / 100 % 100, backtest.toDate % 100,
                 f.races, htmlEscape(leftOutRacesText(backtest)).c_str(), backtest.missingHorses);
    appendFormat(page, "<h3>結果の読み方</h3>\r\n<p>%s</p>\r\n",
                 htmlEscape(resultReading(f)).c_str());
    const std::vector<std::string> notes = singleRaceNotes(backtest.races, f);
    if (!notes.empty()) {
        page +=
            "<p><b>ひとつのレースで大きく動いた数字</b> (そのレースの払戻しだけで決まった数字で、"
            "くり返せるとは限りません):</p>\r\n<ul>\r\n";
        for (const std::string& note : notes)
            appendFormat(page, "<li>%s</li>\r\n", htmlEscape(note).c_str());
        page += "</ul>\r\n";
    }
    appendFormat(page, "<p><b>%s</b></p>\r\n<p>%s</p>\r\n", kFewRacesNote, kFinalOddsNote);
    appendFormat(
        page,
        "<p>予想が枠連と表示する8頭以下のレースでは枠連が発売されないため、同じ組み合わせを"
        "馬連で買いました: %dレース。</p>\r\n",
        bracketViewRaces(backtest));
    appendFormat(page,
                 "<p>予想の手がかりがなく得点が0点のまま並んだ馬: %d頭 (%dレース)。"
                 "これらの馬の順位は馬番の順に並べただけで、予想の差ではありません。</p>\r\n",
                 f.zeroTiedRunners, f.zeroTiedRaces);
    page += profitChart(backtest.races);
    page += "<br>\r\n";
    appendMainTable(page, f);
    appendFormat(page,
                 "<p>いちばん長い連敗 (どの買い目も的中しなかったレースの連続): %dレース<br>\r\n"
                 "いちばん大きい落ち込み (収支の山から谷まで、山は0円から): %s</p>\r\n",
                 f.longestLosingRun, yenText(f.largestDrawdown).c_str());
    appendSplitTables(page, f);
    page += "<h3>検証のしかた</h3>\r\n<ul>\r\n";
    for (std::string_view rule : returnsBacktestRules())
        appendFormat(page, "<li>%s</li>\r\n", htmlEscape(rule).c_str());
    page += "</ul>\r\n</BODY></HTML>\r\n";
    return page;
}

Outcome writeReturnsPage(const std::string& path, const ReturnsBacktest& backtest,
                         const ReturnFigures& figures, Shell* shell) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    if (!writeWholeFile(path, returnsPage(backtest, figures)))
        return pageNotWritten(path);
    if (shell != nullptr)
        shell->openDocument(path);
    return {};
}

} // namespace zelkor
