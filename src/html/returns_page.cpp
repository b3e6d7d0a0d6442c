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

RaceTake raceTakeOf(const PlaceTake& t) {
    return {t.tickets, static_cast<double>(t.stake), static_cast<double>(t.ret),
            static_cast<double>(t.hits), t.hits > 0 ? 1.0 : 0.0};
}

// Predicted place chances against the share that placed, bin by bin: on the
// diagonal they agree.
std::string reliabilityChart(const Calibration& bins) {
    constexpr int kSide = 240, kLeft = 60, kTop = 20;
    const auto xOf = [](double p) { return kLeft + kSide * p; };
    const auto yOf = [](double p) { return kTop + kSide * (1 - p); };
    std::string svg = format(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\">\r\n"
        "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"none\" stroke=\"#000000\"/>\r\n"
        "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#999999\" "
        "stroke-dasharray=\"4,4\"/>\r\n",
        kLeft + kSide + 20, kTop + kSide + 50, kLeft, kTop, kSide, kSide, kLeft, kTop + kSide,
        kLeft + kSide, kTop);
    for (int tick = 0; tick <= 100; tick += 50)
        appendFormat(
            svg,
            "<text x=\"%.1f\" y=\"%d\" font-size=\"11\" text-anchor=\"middle\">%d%%</text>"
            "<text x=\"%d\" y=\"%.1f\" font-size=\"11\" text-anchor=\"end\">%d%%</text>\r\n",
            xOf(tick / 100.0), kTop + kSide + 15, tick, kLeft - 4, yOf(tick / 100.0) + 4, tick);
    appendFormat(
        svg,
        "<text x=\"%d\" y=\"%d\" font-size=\"12\" text-anchor=\"middle\">予測した複勝率</text>\r\n"
        "<text x=\"14\" y=\"%d\" font-size=\"12\" text-anchor=\"middle\" "
        "transform=\"rotate(-90 14 %d)\">3着以内に来た割合</text>\r\n",
        kLeft + kSide / 2, kTop + kSide + 38, kTop + kSide / 2, kTop + kSide / 2);
    std::string points;
    for (const CalibrationBin& bin : bins)
        if (bin.runners > 0) {
            appendFormat(points, "%.1f,%.1f ", xOf(bin.predicted), yOf(bin.observed));
            appendFormat(
                svg, "<circle class=\"bin\" cx=\"%.1f\" cy=\"%.1f\" r=\"4\" fill=\"#cc0000\"/>\r\n",
                xOf(bin.predicted), yOf(bin.observed));
        }
    if (!points.empty())
        appendFormat(svg, "<polyline points=\"%s\" fill=\"none\" stroke=\"#cc0000\"/>\r\n",
                     points.c_str());
    return svg + "</svg>\r\n";
}

std::string qualityCell(double value, int races) {
    return races > 0 ? format("<td align=right>%.4f</td>", value) : kNone;
}

void appendChances(std::string& page, const WalkForwardQuality& chances) {
    page += "<h3>勝率・複勝率と期待値</h3>\r\n";
    appendFormat(
        page,
        "<p>勝率・複勝率は、取り込んだ JV-Data "
        "の過去のレースだけから学んだ推定です。各月のレースは、"
        "その月より前のレースだけで学び直した推定で見ています。期待値 (複勝率×複勝オッズの下限) が"
        "%.2f以上の馬の複勝を100円ずつ買いました。推定はこのパソコンのデータから出したもので、"
        "これからの的中や利益を何も約束しません。</p>\r\n",
        chances.threshold);
    if (chances.races.empty()) {
        appendFormat(page,
                     "<p>この期間には、その月より前に結果のあるレースが%d以上そろった月がなく、"
                     "勝率を出せませんでした。</p>\r\n",
                     kMinimumHistoryRaces);
        return;
    }
    const ValueLines lines = valueLines(chances.races);
    page += tableHead("期待値で買う複勝とくらべる相手", "買い目");
    appendFormat(page, "<tr BGCOLOR=%s><td>期待値%.2f以上の複勝</td>%s</tr>\r\n", kProgramRowColour,
                 chances.threshold, groupCells(lines.value).c_str());
    appendFormat(page, "<tr><td>全出走馬の複勝</td>%s</tr>\r\n</table><br>\r\n",
                 groupCells(lines.everyStarter).c_str());
    const ChanceQuality& q = chances.quality;
    appendFormat(
        page,
        "<table border=1 cellpadding=3><caption><b>勝った馬の当てかた (%dレース、小さいほど"
        "よく当てています)</b></caption><tr BGCOLOR=%s><td></td><td>勝率の推定</td>"
        "<td>オッズから見た勝率</td></tr>\r\n"
        "<tr><td>対数損失</td>%s%s</tr>\r\n<tr><td>ブライアスコア</td>%s%s</tr>\r\n"
        "</table><br>\r\n",
        q.races, kHeaderColour, qualityCell(q.modelLogLoss, q.races).c_str(),
        qualityCell(q.marketLogLoss, q.races).c_str(), qualityCell(q.modelBrier, q.races).c_str(),
        qualityCell(q.marketBrier, q.races).c_str());
    page += "<p><b>複勝率の当たりぐあい</b> (点が斜めの線に近いほど、予測した複勝率どおりに"
            "3着以内に来ています):</p>\r\n";
    page += reliabilityChart(chances.calibration);
    appendFormat(page,
                 "<table border=1 cellpadding=3><tr BGCOLOR=%s><td>予測した複勝率</td><td>頭数</td>"
                 "<td>予測の平均</td><td>3着以内に来た割合</td></tr>\r\n",
                 kHeaderColour);
    for (const CalibrationBin& bin : chances.calibration)
        appendFormat(page, "<tr><td>%.0f%%～%.0f%%</td><td align=right>%d</td>%s%s</tr>\r\n",
                     bin.low * 100, bin.high * 100, bin.runners,
                     bin.runners > 0 ? percentCell(bin.predicted).c_str() : kNone,
                     bin.runners > 0 ? percentCell(bin.observed).c_str() : kNone);
    page += "</table><br>\r\n";
}

int bracketViewRaces(const ReturnsBacktest& backtest) {
    int n = 0;
    for (const ReturnRace& race : backtest.races)
        n += race.pairsShownAsBracket && race.take(ReturnLine::Quinella).tickets > 0 ? 1 : 0;
    return n;
}

} // namespace

ValueLines valueLines(std::span<const PredictedRace> races) {
    std::vector<RaceTake> value, every;
    for (const PredictedRace& race : races) {
        if (race.value.tickets > 0)
            value.push_back(raceTakeOf(race.value));
        if (race.everyStarter.tickets > 0)
            every.push_back(raceTakeOf(race.everyStarter));
    }
    return {returnGroupOf(value), returnGroupOf(every)};
}

std::string returnsPagePath(const std::string& programFolder) {
    return programFolder + "HTML/ZelReturns.html";
}

std::string returnsPage(const ReturnsBacktest& backtest, const ReturnFigures& f,
                        const WalkForwardQuality* chances) {
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
    if (chances != nullptr)
        appendChances(page, *chances);
    page += "<h3>検証のしかた</h3>\r\n<ul>\r\n";
    for (std::string_view rule : returnsBacktestRules())
        appendFormat(page, "<li>%s</li>\r\n", htmlEscape(rule).c_str());
    page += "</ul>\r\n</BODY></HTML>\r\n";
    return page;
}

Outcome writeReturnsPage(const std::string& path, const ReturnsBacktest& backtest,
                         const ReturnFigures& figures, Shell* shell,
                         const WalkForwardQuality* chances) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    if (!writeWholeFile(path, returnsPage(backtest, figures, chances)))
        return pageNotWritten(path);
    if (shell != nullptr)
        shell->openDocument(path);
    return {};
}

} // namespace zelkor
