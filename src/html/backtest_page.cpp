#include "html/backtest_page.h"

#include "html/page_conventions.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace zelkor {
namespace {

constexpr const char* kTitle = "ゼルコ馬 過去レース検証";
constexpr const char* kHeaderColour = "9999cc";
constexpr const char* kFormulaRowColour = "ffffaa";

std::string percent(double rate) {
    return format("%.1f%%", rate * 100);
}

constexpr const char* kNone = "<td align=center>－</td>";

// Races, hit races, rate and interval over races, tickets and hit tickets;
// "－" wherever there is nothing to count.
std::string ticketCells(const TicketCount& count) {
    const std::optional<double> rate = count.rate();
    if (!rate)
        return std::string(kNone) + kNone + kNone + kNone + kNone + kNone;
    const Interval interval = raceInterval(count);
    return format("<td align=right>%d</td><td align=right>%d</td><td align=right>%s</td><td "
                  "align=right>%s～%s</td><td align=right>%d</td><td align=right>%d</td>",
                  count.races, count.hitRaces, percent(*rate).c_str(),
                  percent(interval.low).c_str(), percent(interval.high).c_str(), count.tickets,
                  count.hitTickets);
}

constexpr const char* kCountHeads = "<td>レース</td><td>的中レース</td><td>率</td><td>95%信頼区間"
                                    "</td><td>買い目</td><td>的中した買い目</td>";

void appendChanceRow(std::string& page, const char* label, const std::optional<double>& rate) {
    appendFormat(page, "<tr><td>%s</td>%s%s", label, kNone, kNone);
    if (rate)
        appendFormat(page, "<td align=right>%s</td>", percent(*rate).c_str());
    else
        page += kNone;
    page += std::string(kNone) + kNone + kNone + "</tr>\r\n";
}

void appendGroupTable(std::string& page, const char* name, const BacktestFigures& f) {
    appendFormat(page,
                 "<table border=1 cellpadding=3><caption><b>%s (%dレース)</b></caption><tr "
                 "BGCOLOR=%s><td>項目</td>%s</tr>\r\n",
                 name, f.races, kHeaderColour, kCountHeads);
    for (const BacktestRow& row : backtestRows())
        appendFormat(page, "<tr%s%s><td>%s</td>%s</tr>\r\n", row.formula ? " BGCOLOR=" : "",
                     row.formula ? kFormulaRowColour : "", row.label,
                     ticketCells(f.*row.count).c_str());
    appendChanceRow(page, kChancePlaceLabel, f.chancePlace);
    appendChanceRow(page, kChanceWinLabel, f.chanceWin);
    page += "</table><br>\r\n";
}

void appendRankTable(std::string& page, const BacktestFigures& f) {
    appendFormat(page,
                 "<table border=1 cellpadding=3><caption><b>ゼルコ馬の順位ごとの成績</b>"
                 "</caption><tr BGCOLOR=%s><td>順位</td><td></td>%s</tr>\r\n",
                 kHeaderColour, kCountHeads);
    for (size_t p = 0; p < kRankedPositions; ++p)
        appendFormat(page,
                     "<tr><td align=center rowspan=2>%zu位</td><td>複勝</td>%s</tr>\r\n<tr><td>"
                     "単勝</td>%s</tr>\r\n",
                     p + 1, ticketCells(f.rankPlace[p]).c_str(), ticketCells(f.rankWin[p]).c_str());
    page += "</table><br>\r\n";
}

// Chart geometry: the plot area.
constexpr int kChartWidth = 640, kChartHeight = 320;
constexpr int kLeft = 50, kTop = 20, kPlotWidth = 400, kPlotHeight = 260;

// The axis reaches the next tenth above everything drawn (bars, their
// intervals, baselines), so rates of a few percent are not flattened.
struct Axis {
    double top = 1;
    double step = 0.2;
    int yOf(double rate) const {
        return kTop + kPlotHeight -
               static_cast<int>(std::clamp(rate / top, 0.0, 1.0) * kPlotHeight + 0.5);
    }
};

Axis axisFor(const BacktestFigures& f) {
    double highest = 0;
    for (const TicketCount& count : f.rankPlace)
        if (count.rate())
            highest = std::max(highest, raceInterval(count).high);
    for (const std::optional<double> rate :
         {f.favouritePlace.rate(), f.longshotPlace.rate(), f.chancePlace})
        highest = std::max(highest, rate.value_or(0));
    Axis axis;
    axis.top = std::clamp(std::ceil(highest * 10 - 1e-9) / 10, 0.1, 1.0);
    axis.step = axis.top <= 0.2 ? 0.02 : axis.top <= 0.5 ? 0.05 : 0.1;
    return axis;
}

// A baseline: its colour and dash pattern, each unlike the others' and the
// bars', and a legend line with its name and rate.
struct Baseline {
    const char* label;
    const char* colour;
    const char* dashes;
    std::optional<double> rate;
};

void appendBaseline(std::string& svg, const Axis& axis, const Baseline& line, int legendRow) {
    const int ly = kTop + 20 * legendRow;
    appendFormat(svg,
                 "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%s\" "
                 "stroke-width=\"3\" stroke-dasharray=\"%s\"/><text x=\"%d\" y=\"%d\" "
                 "font-size=\"12\">%s %s</text>\r\n",
                 kLeft + kPlotWidth + 10, ly, kLeft + kPlotWidth + 30, ly, line.colour, line.dashes,
                 kLeft + kPlotWidth + 34, ly + 4, line.label,
                 line.rate ? percent(*line.rate).c_str() : "－");
    if (!line.rate)
        return;
    const int y = axis.yOf(*line.rate);
    appendFormat(svg,
                 "<line class=\"baseline\" x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%s\" "
                 "stroke-width=\"3\" stroke-dasharray=\"%s\"/>\r\n",
                 kLeft, y, kLeft + kPlotWidth, y, line.colour, line.dashes);
}

// Place rate by ranking position as bars with their intervals, and the
// baselines as lines across.
std::string placeRateChart(const BacktestFigures& f) {
    const Axis axis = axisFor(f);
    std::string svg = format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                             "viewBox=\"0 0 %d %d\">\r\n<rect width=\"%d\" height=\"%d\" "
                             "fill=\"#%s\"/>\r\n",
                             kChartWidth, kChartHeight, kChartWidth, kChartHeight, kChartWidth,
                             kChartHeight, std::string(bracketColour(1)).c_str());
    const int ticks = static_cast<int>(std::lround(axis.top / axis.step));
    for (int tick = 0; tick <= ticks; ++tick) {
        const double rate = axis.step * tick;
        const int y = axis.yOf(rate);
        appendFormat(svg,
                     "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%s\"/><text x=\"%d\" "
                     "y=\"%d\" font-size=\"11\" text-anchor=\"end\">%ld%%</text>\r\n",
                     kLeft, y, kLeft + kPlotWidth, y, std::string(bracketColour(2)).c_str(),
                     kLeft - 4, y + 4, std::lround(rate * 100));
    }
    const int slot = kPlotWidth / kRankedPositions;
    for (int p = 0; p < kRankedPositions; ++p) {
        const TicketCount& count = f.rankPlace[static_cast<size_t>(p)];
        const int x = kLeft + slot * p + slot / 4;
        const int y = axis.yOf(count.rate().value_or(0));
        appendFormat(svg,
                     "<rect class=\"rank\" x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" "
                     "fill=\"#%s\"><title>%d位 %d/%d</title></rect>\r\n",
                     x, y, slot / 2, kTop + kPlotHeight - y, std::string(bracketColour(3)).c_str(),
                     p + 1, count.hitRaces, count.races);
        if (count.rate()) {
            const Interval interval = raceInterval(count);
            const int cx = x + slot / 4;
            appendFormat(svg,
                         "<line class=\"interval\" x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" "
                         "stroke=\"black\" stroke-width=\"2\"/>\r\n",
                         cx, axis.yOf(interval.low), cx, axis.yOf(interval.high));
        }
        appendFormat(
            svg, "<text x=\"%d\" y=\"%d\" font-size=\"12\" text-anchor=\"middle\">%d位</text>\r\n",
            x + slot / 4, kTop + kPlotHeight + 16, p + 1);
    }
    const Baseline baselines[] = {
        {"1番人気", "cc0000", "none", f.favouritePlace.rate()},
        {"推定オッズ最高", "0044cc", "10,5", f.longshotPlace.rate()},
        {"偶然", "007700", "3,4", f.chancePlace},
    };
    for (size_t i = 0; i < std::size(baselines); ++i)
        appendBaseline(svg, axis, baselines[i], static_cast<int>(i));
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
    appendFormat(page, "<p>登録馬ファイル: %s (%d頭)<br>\r\n検証したレース: %zu<br>\r\n%s</p>\r\n",
                 htmlEscape(pathForDisplay(backtest.horseFilePath)).c_str(), backtest.horses,
                 backtest.races.size(), htmlEscape(droppedRacesText(dropped, rules)).c_str());
    appendFormat(page, "<p>%s<br>\r\n%s</p>\r\n", kNoPayoutsNote, kFewRacesNote);
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

Outcome writeBacktestPage(const std::string& path, const Backtest& backtest,
                          const PastRaceRules& rules, UserPrompt& prompt, Shell& shell) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    Outcome written = writePage(path, backtestPage(backtest, rules), prompt);
    if (written)
        shell.openDocument(path);
    return written;
}

} // namespace zelkor
