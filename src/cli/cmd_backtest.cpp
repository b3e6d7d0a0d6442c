// zelkor2k-cli backtest CARD: rebuilds the past races the horse file holds,
// predicts each as it stood before it was run and reports how the picks did
// against their real finishing order and plain baselines.

#include "archive/archive_intake.h"
#include "backtest/backtest.h"
#include "backtest/backtest_figures.h"
#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/race_id_json.h"
#include "cli/terminal_progress.h"
#include "html/backtest_page.h"
#include "text/cp932.h"
#include "text/csv.h"
#include "text/file_io.h"
#include "text/format.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {

// The returns backtest over the JV-Data store (cmd_backtest_store.cpp).
int runStoreBacktest(const Arguments& parsed);
std::string storeBacktestNotes();

namespace {

// A rate kept to six decimals, so the output reads the same everywhere.
double rounded(double value) {
    return std::round(value * 1e6) / 1e6;
}

// A group of tickets: races, tickets, hits, and the rate over races with
// its interval (null without races).
Json ticketJson(const TicketCount& count) {
    Json out = {{"races", count.races},
                {"tickets", count.tickets},
                {"hitTickets", count.hitTickets},
                {"hitRaces", count.hitRaces}};
    const std::optional<double> rate = count.rate();
    if (!rate) {
        out["rate"] = nullptr;
        out["low"] = nullptr;
        out["high"] = nullptr;
        return out;
    }
    const Interval interval = raceInterval(count);
    out["rate"] = rounded(*rate);
    out["low"] = rounded(interval.low);
    out["high"] = rounded(interval.high);
    return out;
}

Json optionalRate(const std::optional<double>& rate) {
    return rate ? Json(rounded(*rate)) : Json(nullptr);
}

// The figures of a group; null for a group without races.
Json figuresJson(const BacktestFigures& f) {
    if (f.races == 0)
        return nullptr;
    Json out = {{"races", f.races}};
    for (const BacktestRow& row : backtestRows())
        out[row.key] = ticketJson(f.*row.count);
    Json place = Json::array();
    Json win = Json::array();
    for (size_t p = 0; p < f.rankPlace.size(); ++p) {
        place.push_back(ticketJson(f.rankPlace[p]));
        win.push_back(ticketJson(f.rankWin[p]));
    }
    out["rankPlace"] = std::move(place);
    out["rankWin"] = std::move(win);
    out["chancePlace"] = optionalRate(f.chancePlace);
    out["chanceWin"] = optionalRate(f.chanceWin);
    return out;
}

Json raceJson(const BacktestRace& race) {
    Json pairs = Json::array();
    for (const auto& pair : race.quinellaPairs)
        pairs.push_back({pair[0], pair[1]});
    Json runners = Json::array();
    for (const BacktestRunner& r : race.runners)
        runners.push_back({{"horseId", cp932ToUtf8(r.horseId)},
                           {"horseNumber", r.horseNumber},
                           {"finish", r.finish},
                           {"abnormal", r.abnormal},
                           {"popularity", r.popularity},
                           {"score", r.score},
                           {"rank", r.rank}});
    Json out = raceIdJson(race.id);
    out["fieldSize"] = race.fieldSize;
    out["surface"] = race.surface;
    out["distanceMetres"] = race.distanceMetres;
    out["darkHorseCount"] = race.darkHorseCount;
    out["quinellaPairs"] = std::move(pairs);
    out["runners"] = std::move(runners);
    return out;
}

Json backtestJson(const Backtest& backtest, const PastRaceRules& rules,
                  const std::string& pagePath) {
    const PastRaceSet& dropped = backtest.dropped;
    Json groups = Json::object();
    const std::vector<BacktestFigures> figures = groupFigures(backtest.races);
    const auto names = backtestGroups();
    for (size_t g = 0; g < figures.size() && g < names.size(); ++g)
        groups[names[g].key] = figuresJson(figures[g]);
    Json races = Json::array();
    for (const BacktestRace& race : backtest.races)
        races.push_back(raceJson(race));
    return {{"horseFile", cp932ToUtf8(pathForDisplay(backtest.horseFilePath))},
            {"horses", backtest.horses},
            {"minRunners", rules.minRunners},
            {"minSharePercent", rules.minSharePercent},
            {"racesUsed", backtest.races.size()},
            {"racesDropped", dropped.dropped()},
            {"dropped",
             {{"fewRunners", dropped.droppedFewRunners},
              {"lowShare", dropped.droppedLowShare},
              {"inconsistent", dropped.droppedInconsistent},
              {"shortHistory", dropped.droppedShortHistory},
              {"noFavourite", dropped.droppedNoFavourite}}},
            {"returnOnInvestment", nullptr},
            {"note", cp932ToUtf8(kNoPayoutsNote)},
            {"figures", std::move(groups)},
            {"reportPage", cp932ToUtf8(pathForDisplay(pagePath))},
            {"races", std::move(races)}};
}

std::string csvText(const Backtest& backtest) {
    std::string csv = "year,monthDay,courseCode,meeting,meetingDay,raceNumber,horseId,"
                      "horseNumber,score,rank,finish,abnormal,popularity\r\n";
    for (const BacktestRace& race : backtest.races)
        for (const BacktestRunner& r : race.runners)
            appendFormat(csv, "%d,%04d,%s,%d,%d,%d,%s,%d,%d,%d,%d,%d,%d\r\n", race.id.year,
                         race.id.monthDay, csvField(race.id.courseCode).c_str(), race.id.meeting,
                         race.id.meetingDay, race.id.raceNumber, csvField(r.horseId).c_str(),
                         r.horseNumber, r.score, r.rank, r.finish, r.abnormal, r.popularity);
    return csv;
}

std::string rateText(const TicketCount& count) {
    const std::optional<double> rate = count.rate();
    if (!rate)
        return format("%6d/%-6d       －", count.hitRaces, count.races);
    const Interval interval = raceInterval(count);
    return format("%6d/%-6d %5.1f%%  %5.1f%%～%5.1f%%", count.hitRaces, count.races, 100 * *rate,
                  100 * interval.low, 100 * interval.high);
}

std::string chanceText(const std::optional<double>& rate) {
    return rate ? format("%.1f%%", 100 * *rate) : std::string("－");
}

// The figures of all races as terminal lines (CP932).
std::string summaryText(const Backtest& backtest, const PastRaceRules& rules) {
    const BacktestFigures f = backtestFigures(backtest.races);
    std::string text =
        format("登録馬ファイル: %s (%d頭)\n検証したレース: %zu\n%s\n\n",
               pathForDisplay(backtest.horseFilePath).c_str(), backtest.horses,
               backtest.races.size(), droppedRacesText(backtest.dropped, rules).c_str());
    for (const BacktestRow& row : backtestRows())
        appendFormat(text, "%s\t%s\n", row.label, rateText(f.*row.count).c_str());
    for (int p = 0; p < kRankedPositions; ++p)
        appendFormat(text, "ゼルコ馬%d位の複勝率\t%s\n", p + 1,
                     rateText(f.rankPlace[static_cast<size_t>(p)]).c_str());
    appendFormat(text, "%s\t%s\n%s\t%s\n\n%s\n", kChancePlaceLabel,
                 chanceText(f.chancePlace).c_str(), kChanceWinLabel,
                 chanceText(f.chanceWin).c_str(), kNoPayoutsNote);
    return text;
}

// With --json the page is written but not announced: stdout holds the JSON
// alone, which names the page.
class SilentShell : public Shell {
  public:
    void openDocument(const std::string&) override {}
    void openUrl(const std::string&) override {}
};

// The horse file is named as in an archive, in any case (a copy from a
// Windows folder may have lost its capitals).
bool isHorseFile(const std::string& path) {
    auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    return lower(std::filesystem::path(path).filename().string()) == lower(kHorseFileName);
}

std::optional<int> optionNumber(const Arguments& parsed, const std::string& name, int fallback,
                                int lo, int hi) {
    const std::optional<std::string> given = parsed.value(name);
    if (!given)
        return fallback;
    const std::optional<int> n = wholeNumber(*given);
    if (!n || *n < lo || *n > hi)
        return std::nullopt;
    return n;
}

} // namespace

int runBacktest(const Arguments& parsed) {
    if (parsed.value("--from") || parsed.value("--to"))
        return runStoreBacktest(parsed);
    if (parsed.value("--threshold"))
        return fail("--threshold は --from, --to のバックテストにだけ使えるオプションです");
    PastRaceRules rules;
    const std::optional<int> minRunners =
        optionNumber(parsed, "--min-runners", rules.minRunners, 1, 18);
    if (!minRunners)
        return fail("--min-runners には 1 から 18 までの頭数を指定してください");
    const std::optional<int> minShare =
        optionNumber(parsed, "--min-share", rules.minSharePercent, 0, 100);
    if (!minShare)
        return fail("--min-share には 0 から 100 までの百分率を指定してください");
    rules.minRunners = *minRunners;
    rules.minSharePercent = *minShare;

    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::string& programFolder = *folder;
    TerminalPrompt prompt;
    std::string horseFile = parsed.positional()[0];
    if (!isHorseFile(horseFile)) {
        JvRaceCard card;
        if (!openCardArgument(parsed, programFolder, prompt, card))
            return 1; // told why on stderr
        horseFile = card.horseFilePath;
    }

    Backtest backtest;
    {
        TerminalProgress progress(stderr, true);
        if (!backtestHorseFile(horseFile, rules, backtest, prompt, progress))
            return 1;
    }
    if (const std::optional<std::string> csvPath = parsed.value("--csv"))
        if (!writeWholeFile(*csvPath, csvText(backtest)))
            return fail("ファイルを書き込めませんでした: " + pathForDisplay(*csvPath));

    const std::string pagePath = backtestPagePath(programFolder);
    if (parsed.flag("--json")) {
        SilentShell noShell;
        if (!writeBacktestPage(pagePath, backtest, rules, prompt, noShell))
            return 1; // the writer has told why on stderr
        std::printf("%s\n", backtestJson(backtest, rules, pagePath).dump(2).c_str());
        return 0;
    }
    printOut(summaryText(backtest, rules));
    PathPrintingShell shell;
    if (!writeBacktestPage(pagePath, backtest, rules, prompt, shell))
        return 1; // the writer has told why on stderr
    return 0;
}

namespace {

// How the races are checked, after the options in --help.
std::string backtestNotes() {
    std::string text = "検証のしかた:\n";
    for (std::string_view rule : backtestRules())
        text += "  - " + std::string(rule) + "\n";
    return text + storeBacktestNotes();
}

} // namespace

extern const Command kBacktestCommand;
const Command kBacktestCommand = {
    "backtest",
    "予想式を過去のレースで、買い目を JV-Data の払戻で確かめます",
    "CARD|--from YYYYMMDD --to YYYYMMDD",
    Operands::OneOrPeriod,
    "出馬表、圧縮ファイルまたは馬ファイル",
    "登録馬ファイルが持つ過去のレースを組み立て直し、各レースを走る前の姿で\n"
    "予想して、その予想が実際の着順にどれだけ当たったかを、1番人気・推定オッズ\n"
    "最高の馬・偶然とくらべて示します。結果のページはプログラムフォルダの\n"
    "HTML/ZelBacktest.html に書き出して、そのパスを表示します。\n"
    "--from と --to では、JV-Data の保存ファイルにある期間のレースを走る前の姿で\n"
    "予想し、提案する買い目 (穴馬の複勝と馬連) を実際の払戻で精算して、回収率を\n"
    "1番人気・全出走馬・でたらめな買い目とくらべます。ページは\n"
    "HTML/ZelReturns.html です。\n",
    {{"CARD", nullptr,
      "JRA-VAN の圧縮ファイル (.lzh)、JracUmaj.dat と同じフォルダに\n"
      "ある JracDen1.dat、または JracUmaj.dat そのもの"},
     {"--from", "YYYYMMDD", "払戻で検証する期間の最初の日 (その日を含みます)"},
     {"--to", "YYYYMMDD", "払戻で検証する期間の最後の日 (その日を含みます)"},
     {"--min-runners", "N", "そろった出走馬がこの頭数未満のレースは使いません (既定: 5)"},
     {"--min-share", "P", "そろった出走馬が頭数のこの % 未満のレースは使いません (既定: 80)"},
     {"--threshold", "X", "--from, --to で複勝を買う期待値 (既定: 設定の値か 1.10)"},
     {"--json", nullptr, "すべての数字とレースごとの予想を JSON で表示します"},
     {"--csv", "FILE",
      "レースと馬ごとに 1 行 (レース、馬、得点、順位、着順、人気) を\n"
      "書き出します (--from, --to では買い目ごとに 1 行)"},
     kUpdateTrainersOption,
     kUpdateJockeysOption},
    runBacktest,
    backtestNotes,
};

} // namespace zelkor::cli
