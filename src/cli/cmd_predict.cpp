// zelkor2k-cli predict FILE.zel|--date YYYYMMDD --race N [--json]: loads a
// prediction file or a race of the JV-Data store, scores the race and prints
// the result lists, the dark-horse and bets views and every runner's
// trainer's intent (or the JSON object of the command-line contract; a race
// of the store carries each runner's chances too).

#include "archive/archive_intake.h"
#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "cli/terminal_progress.h"
#include "cli/value_json.h"
#include "core/analysis.h"
#include "core/deciding_factors.h"
#include "core/prediction_file.h"
#include "core/race_sheet.h"
#include "core/report.h"
#include "core/scoring.h"
#include "core/trainer_intent.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "text/cp932.h"
#include "text/format.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {
namespace {

// Horse at ranking position `position`, read only within the field.
int rankedHorse(const RaceSheet& sheet, int position) {
    return sheet.result.horseAt(position);
}

// The JSON object of the contract for a scored sheet. Every array follows
// horse numbers 1..n or ranking positions 1..n.
Json predictionJson(const RaceSheet& sheet) {
    const int n = sheet.usableRunnerCount();
    const PredictionResult& result = sheet.result;
    Json scores = Json::array();
    Json ranking = Json::array();
    for (int i = 1; i <= n; ++i) {
        scores.push_back(result.score(i));
        ranking.push_back(sheet.shownNumber(rankedHorse(sheet, i)));
    }
    Json pairs = Json::array();
    for (int i = 0; i < result.quinellaCount && i < kMaxQuinellaPairs; ++i)
        pairs.push_back({sheet.shownNumber(result.quinellaPairs[static_cast<size_t>(i)][0]),
                         sheet.shownNumber(result.quinellaPairs[static_cast<size_t>(i)][1])});
    Json runners = Json::array();
    for (int h = 1; h <= n; ++h) {
        Json runner;
        runner["horse"] = sheet.shownNumber(h);
        runner["name"] = utf8(sheet.runner(h).name);
        runner["bracket"] = sheet.shownBracket(h, sheet.runnerCount);
        const int code = intentCode(sheet, h);
        runner["intentCode"] = code;
        runner["mark"] = utf8(std::string(intentMark(code)));
        runner["remark"] = utf8(std::string(intentRemark(code)));
        Json factors = Json::array();
        for (int factor : decidingFactors(sheet, h)) {
            if (factor != 0)
                factors.push_back(factor);
        }
        runner["decidingFactors"] = std::move(factors);
        runners.push_back(std::move(runner));
    }
    Json out;
    out["runnerCount"] = sheet.runnerCount;
    out["scores"] = std::move(scores);
    out["ranking"] = std::move(ranking);
    out["darkHorseCount"] = result.darkHorseCount;
    out["quinellaPairs"] = std::move(pairs);
    out["runners"] = std::move(runners);
    const AnalysisRows rows = shownAnalysisRows(sheet);
    out["analysis"] = {{"popularity", rows.popularity},
                       {"distance", rows.distance},
                       {"form", rows.form},
                       {"weightDrop", rows.weightDrop}};
    // The report texts as the report pane shows them, CR LF included.
    out["report"] = {{"darkHorses", utf8(darkHorsesReport(sheet))},
                     {"bets", utf8(betsReport(sheet))}};
    return out;
}

// Bytes of CP932 text are also its width in terminal columns: two-byte
// characters are full width, one-byte ones half width.
std::string padded(const std::string& cp932, size_t width) {
    return cp932.size() >= width ? cp932 : cp932 + std::string(width - cp932.size(), ' ');
}

// Bytes of the widest runner name as the terminal shows it, at least `least`.
size_t nameColumnWidth(const RaceSheet& sheet, size_t least) {
    for (int h = 1; h <= sheet.usableRunnerCount(); ++h)
        least = std::max(least, visibleControls(sheet.runner(h).name).size());
    return least;
}

// The race, then the five result lists of the main window under their
// headings (穴順, 枠番, 馬名, 穴度, 単オッズ).
std::string predictionTable(const RaceSheet& sheet) {
    const size_t nameWidth = nameColumnWidth(sheet, 4); // "馬名"
    std::string out = visibleControls(sheet.raceName) + "  " + visibleControls(sheet.racecourse) +
                      format("  %dR  %d頭\n", sheet.raceNumber, sheet.runnerCount);
    out += "穴順  枠番     " + padded("馬名", nameWidth) + "  穴度  単オッズ\n";
    const ResultLines lines = resultLines(sheet);
    for (size_t i = 0; i < lines.positions.size(); ++i)
        out += "  " + lines.positions[i] + "  " + lines.brackets[i] + "  " +
               padded(visibleControls(lines.names[i]), nameWidth) + "   " + lines.scores[i] + "  " +
               lines.odds[i] + "\n";
    return out;
}

// The dark-horse and bets views, then every runner's trainer's intent.
std::string reportSection(const RaceSheet& sheet) {
    std::string out = "\n" + terminalLines(darkHorsesReport(sheet));
    out += "\n" + terminalLines(betsReport(sheet));
    out += "\n調教師の本音\n";
    const int n = sheet.usableRunnerCount();
    const size_t nameWidth = nameColumnWidth(sheet, 0);
    for (int h = 1; h <= n; ++h) {
        out += format("  %2d  ", h);
        out += padded(visibleControls(sheet.runner(h).name), nameWidth);
        const int code = intentCode(sheet, h);
        out += "  " + std::string(intentMark(code)) + " " + std::string(intentRemark(code)) + "\n";
    }
    return out;
}

// Each runner of the JSON (by shown horse number) gains its chances and
// returns, and the JSON the model they came from. Too little history says so
// on stderr and adds nothing.
void addChances(Json& out, const std::string& programFolder, const JvRaceCard& card,
                double threshold, UserPrompt& prompt) {
    const int date = card.year * 10000 + card.monthDay;
    Result<DayValues> found = [&] {
        TerminalProgress progress(stderr, true); // Ctrl+C stops the reading and fitting
        return valuesOfDay(jvStorePath(programFolder), date, threshold, progress);
    }();
    if (!found) {
        prompt.showMessage(found.message());
        return;
    }
    const DayValues& day = *found;
    const std::optional<long long> key =
        raceKeyOf(date, card.courseCode, card.meeting, card.meetingDay, card.raceNumber);
    for (const RaceValues& race : day.races) {
        if (race.key != key)
            continue;
        for (Json& runner : out["runners"])
            for (const RunnerValue& value : race.runners)
                if (runner["horse"] == value.horseNumber) {
                    Json chances = runnerValueJson(value);
                    chances.erase("horseNumber");
                    chances.erase("name");
                    runner.update(chances);
                }
        out["chanceModel"] = chanceModelJson(day.model);
    }
}

} // namespace

int runPredict(const Arguments& parsed) {
    RaceSheet sheet;
    TerminalPrompt prompt;
    JvRaceCard card;
    std::optional<std::string> folder;
    std::optional<double> threshold;
    if (parsed.value("--date")) {
        const std::optional<std::string> raceText = parsed.value("--race");
        const std::optional<int> race = raceText ? racePosition(*raceText) : std::nullopt;
        if (!race)
            return fail(
                "--date には --race N (races の N 行目) が必要です (predict --help を参照)");
        folder = programFolderFrom(parsed);
        if (!folder || !(threshold = valueThreshold(parsed, *folder)))
            return 1; // told why on stderr
        const std::unique_ptr<RaceSource> source = openRaceSource(parsed, *folder, prompt);
        if (!source || !loadChosenJvRace(*source, *race, card, sheet, prompt))
            return 1; // told why on stderr
    } else if (!readPredictionArgument(parsed, sheet, prompt)) {
        return 1; // the reader has told why on stderr
    }
    scoreRace(sheet);

    if (parsed.flag("--json")) {
        Json out = predictionJson(sheet);
        if (folder)
            addChances(out, *folder, card, *threshold, prompt);
        printJson(out);
        return 0;
    }
    printOut(predictionTable(sheet) + reportSection(sheet));
    return 0;
}

extern const Command kPredictCommand;
const Command kPredictCommand = {
    "predict",
    "予想ファイル (.zel) を採点して順位を表示します",
    "FILE.zel|--date YYYYMMDD --race N",
    Operands::OneOrDate,
    "予想ファイル",
    "予想ファイル(.zel)、または取り込んだ JV-Data の 1 日の N 番目のレースを\n"
    "読み込んで予想し、穴順・枠番・馬名・穴度・単オッズを穴順に表示し、穴馬・\n"
    "買い目と各馬の調教師の本音を続けて表示します。\n",
    {{"--date", "YYYYMMDD", "FILE.zel のかわりに、取り込んだ JV-Data のこの日のレース"},
     {"--race", "N", "--date の日の N 番目のレース (races の N 行目)"},
     {"--threshold", "X", "期待値の印を付ける値 (既定: 設定の値か 1.10)"},
     {"--json", nullptr,
      "結果を JSON で出力します (runnerCount, scores, ranking,\n"
      "darkHorseCount, quinellaPairs, runners, analysis, report;\n"
      "--date では各馬の winChance, placeChance, winReturn,\n"
      "placeReturn, value と chanceModel も)"}},
    runPredict,
};

} // namespace zelkor::cli
