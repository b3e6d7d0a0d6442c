#include "html/backtest_page.h"

#include "html/page_conventions.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"

#include <algorithm>
#include <filesystem>

namespace zelkor {
namespace {

constexpr const char* kTitle = "ゼルコ馬 過去レース検証";
constexpr const char* kHeaderColour = "9999cc";
constexpr const char* kFormulaRowColour = "ffffaa";

std::string percent(double rate) {
    return format("%.1f%%", rate * 100);
}

std::string rateCells(const HitCount& count) {
    if (count.trials == 0)
        return "<td align=right>0</td><td align=right>0</td><td align=center>－</td><td "
               "align=center>－</td>";
    const Interval interval = wilsonInterval(count);
    return format("<td align=right>%d</td><td align=right>%d</td><td align=right>%s</td><td "
                  "align=right>%s～%s</td>",
                  count.hits, count.trials,
                  percent(static_cast<double>(count.hits) / count.trials).c_str(),
                  percent(interval.low).c_str(), percent(interval.high).c_str());
}

void appendRow(std::string& page, const char* label, const HitCount& count, bool formula) {
    appendFormat(page, "<tr%s%s><td>%s</td>%s</tr>\r\n", formula ? " BGCOLOR=" : "",
                 formula ? kFormulaRowColour : "", label, rateCells(count).c_str());
}

void appendChanceRow(std::string& page, const char* label, double rate) {
    appendFormat(page,
                 "<tr><td>%s</td><td align=center>－</td><td align=center>－</td><td "
                 "align=right>%s</td><td align=center>－</td></tr>\r\n",
                 label, percent(rate).c_str());
}

std::string tableHead(const char* caption) {
    return format(
        "<table border=1 cellpadding=3><caption><b>%s</b></caption><tr BGCOLOR=%s><td>項目"
        "</td><td>的中</td><td>対象</td><td>率</td><td>95%%信頼区間</td></tr>\r\n",
        caption, kHeaderColour);
}

void appendGroupTable(std::string& page, const char* name, const BacktestFigures& f) {
    page += tableHead(format("%s (%dレース)", name, f.races).c_str());
    for (const BacktestRow& row : backtestRows())
        appendRow(page, row.label, f.*row.count, row.formula);
    appendChanceRow(page, kChancePlaceLabel, f.chancePlace);
    appendChanceRow(page, kChanceWinLabel, f.chanceWin);
    page += "</table><br>\r\n";
}

void appendRankTable(std::string& page, const BacktestFigures& f) {
    page += format("<table border=1 cellpadding=3><caption><b>ゼルコ馬の順位ごとの成績</b>"
                   "</caption><tr BGCOLOR=%s><td>順位</td><td>複勝</td><td>対象</td><td>複勝率"
                   "</td><td>95%%信頼区間</td><td>勝利</td><td>対象</td><td>勝率</td><td>95%%"
                   "信頼区間</td></tr>\r\n",
                   kHeaderColour);
    for (int p = 0; p < kRankedPositions; ++p)
        appendFormat(page, "<tr><td align=center>%d位</td>%s%s</tr>\r\n", p + 1,
                     rateCells(f.rankPlace[static_cast<size_t>(p)]).c_str(),
                     rateCells(f.rankWin[static_cast<size_t>(p)]).c_str());
    page += "</table><br>\r\n";
}

// Chart geometry: the plot area and the height of a rate of 1.
constexpr int kChartWidth = 640, kChartHeight = 320;
constexpr int kLeft = 50, kTop = 20, kPlotWidth = 400, kPlotHeight = 260;

int yOf(double rate) {
    return kTop + kPlotHeight - static_cast<int>(std::clamp(rate, 0.0, 1.0) * kPlotHeight + 0.5);
}

// Baselines that coincide stay visible: each has its own dash pattern.
void appendBaseline(std::string& svg, double rate, std::string_view colour, const char* label,
                    int legendRow) {
    static constexpr const char* kDashes[] = {"none", "10,5", "3,4"};
    const char* dashes = kDashes[static_cast<size_t>(legendRow) % std::size(kDashes)];
    const int y = yOf(rate);
    appendFormat(svg,
                 "<line class=\"baseline\" x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%s\" "
                 "stroke-width=\"3\" stroke-dasharray=\"%s\"/>\r\n",
                 kLeft, y, kLeft + kPlotWidth, y, std::string(colour).c_str(), dashes);
    const int ly = kTop + 20 * legendRow;
    appendFormat(svg,
                 "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%s\" "
                 "stroke-width=\"3\" stroke-dasharray=\"%s\"/><text x=\"%d\" y=\"%d\" "
                 "font-size=\"12\">%s %s</text>\r\n",
                 kLeft + kPlotWidth + 10, ly, kLeft + kPlotWidth + 30, ly,
                 std::string(colour).c_str(), dashes, kLeft + kPlotWidth + 34, ly + 4, label,
                 percent(rate).c_str());
}

double rateOf(const HitCount& count) {
    return count.trials == 0 ? 0 : static_cast<double>(count.hits) / count.trials;
}

// Place rate by ranking position as bars with their intervals, and the
// baselines as lines across.
std::string placeRateChart(const BacktestFigures& f) {
    std::string svg = format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                             "viewBox=\"0 0 %d %d\">\r\n<rect width=\"%d\" height=\"%d\" "
                             "fill=\"#%s\"/>\r\n",
                             kChartWidth, kChartHeight, kChartWidth, kChartHeight, kChartWidth,
                             kChartHeight, std::string(bracketColour(1)).c_str());
    for (int tick = 0; tick <= 100; tick += 20) {
        const int y = yOf(tick / 100.0);
        appendFormat(svg,
                     "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%s\"/><text x=\"%d\" "
                     "y=\"%d\" font-size=\"11\" text-anchor=\"end\">%d%%</text>\r\n",
                     kLeft, y, kLeft + kPlotWidth, y, std::string(bracketColour(2)).c_str(),
                     kLeft - 4, y + 4, tick);
    }
    const int slot = kPlotWidth / kRankedPositions;
    for (int p = 0; p < kRankedPositions; ++p) {
        const HitCount& count = f.rankPlace[static_cast<size_t>(p)];
        const int x = kLeft + slot * p + slot / 4;
        const int y = yOf(rateOf(count));
        appendFormat(svg,
                     "<rect class=\"rank\" x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" "
                     "fill=\"#%s\"><title>%d位 %d/%d</title></rect>\r\n",
                     x, y, slot / 2, kTop + kPlotHeight - y, std::string(bracketColour(3)).c_str(),
                     p + 1, count.hits, count.trials);
        if (count.trials > 0) {
            const Interval interval = wilsonInterval(count);
            const int cx = x + slot / 4;
            appendFormat(svg,
                         "<line class=\"interval\" x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" "
                         "stroke=\"black\" stroke-width=\"2\"/>\r\n",
                         cx, yOf(interval.low), cx, yOf(interval.high));
        }
        appendFormat(
            svg, "<text x=\"%d\" y=\"%d\" font-size=\"12\" text-anchor=\"middle\">%d位</text>\r\n",
            x + slot / 4, kTop + kPlotHeight + 16, p + 1);
    }
    appendBaseline(svg, rateOf(f.favouritePlace), bracketColour(4), "1番人気", 0);
    appendBaseline(svg, rateOf(f.longshotPlace), bracketColour(6), "推定オッズ最高", 1);
    appendBaseline(svg, f.chancePlace, bracketColour(7), "偶然", 2);
    appendFormat(svg,
                 "<text x=\"%d\" y=\"%d\" font-size=\"12\">複勝率 (棒: 95%%信頼区間)</text>\r\n",
                 kLeft, kTop - 6);
    svg += "</svg>\r\n";
    return svg;
}

} // namespace

std::string backtestPagePath(const std::string& programFolder) {
    return programFolder + "HTML/ZelBacktest.html";
}

std::string backtestPage(const Backtest& backtest, const PastRaceRules& rules) {
    const std::vector<BacktestFigures> groups = groupFigures(backtest.races);
    const PastRaceSet& dropped = backtest.dropped;
    std::string page = plainHead(kTitle);
    appendFormat(page, "<center><h2>%s</h2></center>\r\n", kTitle);
    appendFormat(page,
                 "<p>登録馬ファイル: %s (%d頭)<br>\r\n検証したレース: %zu<br>\r\n除いたレース: %d "
                 "(そろった出走馬が%d頭未満 %d、頭数の%d%%未満 %d、記録の食い違い %d)</p>\r\n",
                 htmlEscape(pathForDisplay(backtest.horseFilePath)).c_str(), backtest.horses,
                 backtest.races.size(), dropped.dropped(), rules.minRunners,
                 dropped.droppedFewRunners, rules.minSharePercent, dropped.droppedLowShare,
                 dropped.droppedInconsistent);
    appendFormat(page, "<p>%s</p>\r\n", kNoPayoutsNote);
    page += placeRateChart(groups.front());
    page += "<br>\r\n";
    appendRankTable(page, groups.front());
    const auto names = backtestGroups();
    for (size_t g = 0; g < groups.size() && g < names.size(); ++g)
        appendGroupTable(page, names[g].name, groups[g]);
    page += "<h3>検証のしかた</h3>\r\n<ul>\r\n";
    for (std::string_view rule : backtestRules())
        appendFormat(page, "<li>%s</li>\r\n", htmlEscape(rule).c_str());
    page += "</ul>\r\n</BODY></HTML>\r\n";
    return page;
}

bool writeBacktestPage(const std::string& path, const Backtest& backtest,
                       const PastRaceRules& rules, UserPrompt& prompt, Shell& shell) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    if (!writePage(path, backtestPage(backtest, rules), prompt))
        return false;
    shell.openDocument(path);
    return true;
}

} // namespace zelkor
