// zelkor2k-cli backtest --from YYYYMMDD --to YYYYMMDD: settles the bets the
// program proposes for every race of the JV-Data store in the period with
// the real payouts, beside the baselines.

#include "backtest/return_figures.h"
#include "backtest/returns_backtest.h"
#include "chances/chance_quality.h"
#include "cli/cli_support.h"
#include "cli/race_id_json.h"
#include "cli/terminal_progress.h"
#include "html/returns_page.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "text/cp932.h"
#include "text/csv.h"
#include "text/file_io.h"
#include "text/format.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {
namespace {

// Amounts and rates kept to six decimals, so the output reads the same
// everywhere; whole amounts as integers.
Json number(double value) {
    const double r = std::round(value * 1e6) / 1e6;
    if (r == std::floor(r) && std::abs(r) < 1e15)
        return static_cast<long long>(r);
    return r;
}

Json optionalNumber(const std::optional<double>& value) {
    return value ? number(*value) : Json(nullptr);
}

Json groupJson(const ReturnGroup& g) {
    return {{"races", g.races},
            {"tickets", g.tickets},
            {"stake", number(g.stake)},
            {"return", number(g.ret)},
            {"rate", optionalNumber(g.rate)},
            {"low", g.interval ? number(g.interval->low) : Json(nullptr)},
            {"high", g.interval ? number(g.interval->high) : Json(nullptr)},
            {"hitTickets", number(g.hitTickets)},
            {"hitRaces", number(g.hitRaces)}};
}

Json linesJson(std::span<const ReturnLineInfo> lines, const std::vector<ReturnGroup>& groups) {
    Json out = Json::object();
    for (size_t i = 0; i < lines.size() && i < groups.size(); ++i)
        out[lines[i].key] = groupJson(groups[i]);
    return out;
}

const char* betTypeKey(BetType type) {
    return type == BetType::Place ? "place" : "quinella";
}

// The race's runners with the chances the walk forward gave them, if any.
Json raceJson(const ReturnRace& race, const PredictedRace* predicted) {
    Json runners = Json::array();
    for (const ReturnRunner& r : race.runners) {
        Json runner = {{"horseNumber", r.horseNumber},
                       {"horseId", cp932ToUtf8(r.horseId)},
                       {"score", r.score},
                       {"rank", r.rank},
                       {"finish", r.finish},
                       {"odds", r.odds > 0 ? number(r.odds / 10.0) : Json(nullptr)}};
        for (size_t i = 0; predicted != nullptr && i < predicted->horseNumbers.size(); ++i)
            if (predicted->horseNumbers[i] == r.horseNumber) {
                runner["winChance"] = number(predicted->chances[i].win);
                runner["placeChance"] = number(predicted->chances[i].place);
            }
        runners.push_back(std::move(runner));
    }
    Json tickets = Json::array();
    for (const SettledTicket& t : race.tickets) {
        Json combination = Json::array();
        for (int n : t.ticket.combination())
            combination.push_back(n);
        tickets.push_back({{"betType", betTypeKey(t.ticket.type)},
                           {"combination", std::move(combination)},
                           {"stake", t.settlement.stake},
                           {"return", t.settlement.ret}});
    }
    Json out = raceIdJson(race.id);
    out["runners"] = std::move(runners);
    out["tickets"] = std::move(tickets);
    return out;
}

// The model's and the market's quality over the races, side by side.
Json qualityJson(double model, double market, int races) {
    return {{"model", races > 0 ? number(model) : Json(nullptr)},
            {"market", races > 0 ? number(market) : Json(nullptr)},
            {"races", races}};
}

Json calibrationJson(const Calibration& calibration) {
    Json out = Json::array();
    for (const CalibrationBin& bin : calibration)
        out.push_back({{"low", number(bin.low)},
                       {"high", number(bin.high)},
                       {"runners", bin.runners},
                       {"predicted", bin.runners > 0 ? number(bin.predicted) : Json(nullptr)},
                       {"observed", bin.runners > 0 ? number(bin.observed) : Json(nullptr)}});
    return out;
}

// The value strategy's place tickets with the threshold, beside a place
// ticket on every starter of the races the chances were given for.
Json valueJson(const WalkForwardQuality& chances) {
    const ValueLines lines = valueLines(chances.races);
    Json out = groupJson(lines.value);
    out["threshold"] = number(chances.threshold);
    out["everyStarterPlace"] = groupJson(lines.everyStarter);
    return out;
}

// The figures, with an empty "races" array the races are written into.
Json figuresJson(const ReturnsBacktest& backtest, const ReturnFigures& f,
                 const WalkForwardQuality& chances) {
    const ChanceQuality& q = chances.quality;
    const auto program = programLines();
    Json splits = Json::object();
    const auto kinds = returnSplits();
    for (size_t s = 0; s < kinds.size() && s < f.splits.size(); ++s) {
        Json groups = Json::object();
        for (const auto& [key, group] : f.splits[s])
            groups[cp932ToUtf8(key)] = groupJson(group);
        splits[kinds[s].key] = std::move(groups);
    }
    Json leftOut = Json::object();
    for (size_t i = 0; i < leftOutReasons().size(); ++i)
        leftOut[leftOutReasons()[i].key] = backtest.leftOut[i];
    return {{"fromDate", backtest.fromDate},
            {"toDate", backtest.toDate},
            {"racesFound", backtest.racesFound},
            {"racesUsed", f.races},
            {"leftOut", std::move(leftOut)},
            {"figures", linesJson(program, f.program)},
            {"baselines", linesJson(baselineLines(), f.baselines)},
            {"splits", std::move(splits)},
            {"longestLosingRun", f.longestLosingRun},
            {"largestDrawdown", number(f.largestDrawdown)},
            {"value", valueJson(chances)},
            {"logLoss", qualityJson(q.modelLogLoss, q.marketLogLoss, q.races)},
            {"brier", qualityJson(q.modelBrier, q.marketBrier, q.races)},
            {"calibration", calibrationJson(chances.calibration)},
            {"races", Json::array()}};
}

// The whole JSON on stdout, exactly as one dump(2) of it would be, with the
// races written one by one: ten years of races as one JSON value would take
// far more memory than the races themselves.
void printJson(const ReturnsBacktest& backtest, const ReturnFigures& f,
               const WalkForwardQuality& chances) {
    std::string head = figuresJson(backtest, f, chances).dump(2);
    const std::string emptyRaces = "\"races\": []\n}";
    if (backtest.races.empty() || !head.ends_with(emptyRaces)) {
        std::printf("%s\n", head.c_str());
        return;
    }
    head.resize(head.size() - emptyRaces.size());
    std::fputs((head + "\"races\": [\n").c_str(), stdout);
    std::map<long long, const PredictedRace*> predicted;
    for (const PredictedRace& race : chances.races)
        predicted[race.key] = &race;
    for (size_t i = 0; i < backtest.races.size(); ++i) {
        const PastRaceId& id = backtest.races[i].id;
        const std::optional<long long> key = raceKeyOf(id.year * 10000 + id.monthDay, id.courseCode,
                                                       id.meeting, id.meetingDay, id.raceNumber);
        const auto found = key ? predicted.find(*key) : predicted.end();
        std::string race =
            "    " +
            raceJson(backtest.races[i], found == predicted.end() ? nullptr : found->second).dump(2);
        for (size_t at = 0; (at = race.find('\n', at)) != std::string::npos; at += 5)
            race.insert(at + 1, "    ");
        race += i + 1 < backtest.races.size() ? ",\n" : "\n";
        std::fputs(race.c_str(), stdout);
    }
    std::fputs("  ]\n}\n", stdout);
}

std::string csvText(const ReturnsBacktest& backtest) {
    std::string csv = "year,monthDay,courseCode,raceNumber,betType,combination,stake,return\r\n";
    for (const ReturnRace& race : backtest.races)
        for (const SettledTicket& t : race.tickets) {
            std::string combination;
            for (int n : t.ticket.combination())
                combination += (combination.empty() ? "" : "-") + std::to_string(n);
            appendFormat(csv, "%d,%04d,%s,%d,%s,%s,%d,%d\r\n", race.id.year, race.id.monthDay,
                         csvField(race.id.courseCode).c_str(), race.id.raceNumber,
                         betTypeKey(t.ticket.type), combination.c_str(), t.settlement.stake,
                         t.settlement.ret);
        }
    return csv;
}

// The main figures as terminal lines (CP932).
std::string summaryText(const ReturnsBacktest& backtest, const ReturnFigures& f) {
    std::string text =
        format("検証したレース: %d\n%s\n", f.races, leftOutRacesText(backtest).c_str());
    auto line = [&](const ReturnLineInfo& info, const ReturnGroup& g) {
        appendFormat(text, "%s\t%dレース %d枚 ", info.label, g.races, g.tickets);
        if (g.rate && g.interval)
            appendFormat(text, "回収率 %.1f%% (%.1f%%～%.1f%%)\n", *g.rate * 100,
                         g.interval->low * 100, g.interval->high * 100);
        else
            text += "回収率 －\n";
    };
    for (size_t i = 0; i < programLines().size() && i < f.program.size(); ++i)
        line(programLines()[i], f.program[i]);
    for (size_t i = 0; i < baselineLines().size() && i < f.baselines.size(); ++i)
        line(baselineLines()[i], f.baselines[i]);
    appendFormat(text, "いちばん長い連敗: %dレース\nいちばん大きい落ち込み: %.0f円\n",
                 f.longestLosingRun, f.largestDrawdown);
    return text;
}

} // namespace

std::string storeBacktestNotes() {
    std::string text = "払戻で検証するしかた (--from, --to):\n";
    for (std::string_view rule : returnsBacktestRules())
        text += "  - " + std::string(rule) + "\n";
    return text;
}

int runStoreBacktest(const Arguments& parsed) {
    for (const char* archiveOnly :
         {"--min-runners", "--min-share", "--update-trainers", "--update-jockeys"})
        if (parsed.flag(archiveOnly))
            return fail(std::string(archiveOnly) +
                        " は CARD のバックテストにだけ使えるオプションです");
    const std::optional<int> from = dateArgument(parsed.value("--from"));
    const std::optional<int> to = dateArgument(parsed.value("--to"));
    if (!from || !to)
        return fail("--from と --to には年月日を YYYYMMDD の形で指定してください");
    if (*from > *to)
        return fail("--from には --to より後の日付を指定できません");
    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::optional<double> threshold = valueThreshold(parsed, *folder);
    if (!threshold)
        return 1; // told why on stderr

    TerminalPrompt prompt;
    ReturnsBacktest backtest;
    {
        TerminalProgress progress(stderr, true);
        if (!backtestStoreReturns(jvStorePath(*folder), *from, *to, backtest, prompt, progress))
            return 1;
    }
    const ReturnFigures figures = returnFigures(backtest.races);
    if (const std::optional<std::string> csvPath = parsed.value("--csv"))
        if (!writeWholeFile(*csvPath, csvText(backtest)))
            return fail("ファイルを書き込めませんでした: " + pathForDisplay(*csvPath));

    // With --json only the JSON goes to stdout: the page is written without
    // its path.
    WalkForwardQuality chances;
    {
        TerminalProgress progress(stderr, true);
        if (!walkForwardQuality(jvStorePath(*folder), *from, *to, *threshold, chances, prompt,
                                progress))
            return 1;
    }
    const bool json = parsed.flag("--json");
    if (!json)
        printOut(summaryText(backtest, figures));
    const std::string pagePath = returnsPagePath(*folder);
    PathPrintingShell shell;
    if (!writeReturnsPage(pagePath, backtest, figures, json ? nullptr : &shell, &chances))
        return fail("ページを書き込めませんでした: " + pathForDisplay(pagePath));
    if (json)
        printJson(backtest, figures, chances);
    return 0;
}

} // namespace zelkor::cli
