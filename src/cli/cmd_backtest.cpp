// zelkor2k-cli backtest CARD: rebuilds the past races the horse file holds,
// predicts each as it stood before it was run and reports how the picks did
// against their real finishing order and plain baselines.

#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/terminal_progress.h"
#include "core/backtest_figures.h"
#include "html/backtest_page.h"
#include "jv/archive_intake.h"
#include "jv/backtest.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {

// The returns backtest over the JV-Data store (cmd_backtest_store.cpp).
bool storeBacktestRequested(const std::vector<std::string>& args);
int runStoreBacktest(const std::vector<std::string>& args);
std::string storeBacktestUsage();

namespace {

using Json = nlohmann::ordered_json;

// A rate kept to six decimals, so the output reads the same everywhere.
double rounded(double value) {
    return std::round(value * 1e6) / 1e6;
}

Json countJson(const HitCount& count) {
    Json out = {{"hits", count.hits}, {"trials", count.trials}};
    if (count.trials == 0) {
        out["rate"] = nullptr;
        out["low"] = nullptr;
        out["high"] = nullptr;
        return out;
    }
    const Interval interval = wilsonInterval(count);
    out["rate"] = rounded(static_cast<double>(count.hits) / count.trials);
    out["low"] = rounded(interval.low);
    out["high"] = rounded(interval.high);
    return out;
}

Json figuresJson(const BacktestFigures& f) {
    Json out = {{"races", f.races}};
    for (const BacktestRow& row : backtestRows())
        out[row.key] = countJson(f.*row.count);
    Json place = Json::array();
    Json win = Json::array();
    for (size_t p = 0; p < f.rankPlace.size(); ++p) {
        place.push_back(countJson(f.rankPlace[p]));
        win.push_back(countJson(f.rankWin[p]));
    }
    out["rankPlace"] = std::move(place);
    out["rankWin"] = std::move(win);
    out["chancePlace"] = rounded(f.chancePlace);
    out["chanceWin"] = rounded(f.chanceWin);
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
    const PastRaceId& id = race.id;
    return {{"year", id.year},
            {"monthDay", id.monthDay},
            {"courseCode", cp932ToUtf8(id.courseCode)},
            {"meeting", id.meeting},
            {"meetingDay", id.meetingDay},
            {"raceNumber", id.raceNumber},
            {"fieldSize", race.fieldSize},
            {"surface", race.surface},
            {"distanceMetres", race.distanceMetres},
            {"darkHorseCount", race.darkHorseCount},
            {"quinellaPairs", std::move(pairs)},
            {"runners", std::move(runners)}};
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
              {"inconsistent", dropped.droppedInconsistent}}},
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
                         race.id.monthDay, race.id.courseCode.c_str(), race.id.meeting,
                         race.id.meetingDay, race.id.raceNumber, r.horseId.c_str(), r.horseNumber,
                         r.score, r.rank, r.finish, r.abnormal ? 1 : 0, r.popularity);
    return csv;
}

std::string rateText(const HitCount& count) {
    if (count.trials == 0)
        return format("%6d/%-6d       －", count.hits, count.trials);
    const Interval interval = wilsonInterval(count);
    return format("%6d/%-6d %5.1f%%  %5.1f%%～%5.1f%%", count.hits, count.trials,
                  100.0 * count.hits / count.trials, 100 * interval.low, 100 * interval.high);
}

// The figures of all races as terminal lines (CP932).
std::string summaryText(const Backtest& backtest, const PastRaceRules& rules) {
    const PastRaceSet& dropped = backtest.dropped;
    const BacktestFigures f = backtestFigures(backtest.races);
    std::string text = format(
        "登録馬ファイル: %s (%d頭)\n検証したレース: %zu\n除いたレース: %d "
        "(そろった出走馬が%d頭未満 %d、頭数の%d%%未満 %d、記録の食い違い %d)\n\n",
        pathForDisplay(backtest.horseFilePath).c_str(), backtest.horses, backtest.races.size(),
        dropped.dropped(), rules.minRunners, dropped.droppedFewRunners, rules.minSharePercent,
        dropped.droppedLowShare, dropped.droppedInconsistent);
    for (const BacktestRow& row : backtestRows())
        appendFormat(text, "%s\t%s\n", row.label, rateText(f.*row.count).c_str());
    for (int p = 0; p < kRankedPositions; ++p)
        appendFormat(text, "ゼルコ馬%d位の複勝率\t%s\n", p + 1,
                     rateText(f.rankPlace[static_cast<size_t>(p)]).c_str());
    appendFormat(text, "%s\t%.1f%%\n%s\t%.1f%%\n\n%s\n", kChancePlaceLabel, 100 * f.chancePlace,
                 kChanceWinLabel, 100 * f.chanceWin, kNoPayoutsNote);
    return text;
}

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

int runBacktest(const std::vector<std::string>& args) {
    if (storeBacktestRequested(args))
        return runStoreBacktest(args);
    Arguments parsed(args, {"--program-folder", "--min-runners", "--min-share", "--csv"});
    if (!argumentsUsable(parsed, "backtest",
                         {"--min-runners", "--min-share", "--json", "--csv", "--update-trainers",
                          "--update-jockeys"},
                         "race card, archive or horse file"))
        return 1;
    PastRaceRules rules;
    const std::optional<int> minRunners =
        optionNumber(parsed, "--min-runners", rules.minRunners, 1, 18);
    if (!minRunners)
        return fail("--min-runners needs a number of runners from 1 to 18");
    const std::optional<int> minShare =
        optionNumber(parsed, "--min-share", rules.minSharePercent, 0, 100);
    if (!minShare)
        return fail("--min-share needs a percentage from 0 to 100");
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
        TerminalProgress progress;
        if (!backtestHorseFile(horseFile, rules, backtest, prompt, progress))
            return 1;
    }
    if (const std::optional<std::string> csvPath = parsed.value("--csv"))
        if (!writeWholeFile(*csvPath, csvText(backtest)))
            return fail("ファイルを書き込めませんでした: " + pathForDisplay(*csvPath));

    const std::string pagePath = backtestPagePath(programFolder);
    if (parsed.flag("--json")) {
        PathPrintingShell noShell;
        if (!writeBacktestPage(pagePath, backtest, rules, noShell))
            return fail("ページを書き込めませんでした: " + pathForDisplay(pagePath));
        std::printf("%s\n", backtestJson(backtest, rules, pagePath).dump(2).c_str());
        return 0;
    }
    printOut(summaryText(backtest, rules));
    PathPrintingShell shell;
    if (!writeBacktestPage(pagePath, backtest, rules, shell))
        return fail("ページを書き込めませんでした: " + pathForDisplay(pagePath));
    return 0;
}

const char* backtestUsage() {
    static const std::string usage = [] {
        std::string text =
            "usage: zelkor2k-cli backtest CARD [--min-runners N] [--min-share P] [--json]\n"
            "                             [--csv FILE] [--update-trainers] [--update-jockeys]\n"
            "                             [--program-folder DIR]\n"
            "\n"
            "登録馬ファイルが持つ過去のレースを組み立て直し、各レースを走る前の姿で予想して、\n"
            "その予想が実際の着順にどれだけ当たったかを、1番人気・推定オッズ最高の馬・偶然と\n"
            "くらべて示します。プログラムフォルダの HTML/ZelBacktest.html に結果のページを\n"
            "書き出して、そのパスを表示します。\n"
            "\n"
            "  CARD               JRA-VAN の圧縮ファイル (.lzh)、JracUmaj.dat と同じフォルダに\n"
            "                     ある JracDen1.dat、または JracUmaj.dat そのもの\n"
            "  --min-runners N    そろった出走馬がこの頭数未満のレースは使いません (既定: 5)\n"
            "  --min-share P      そろった出走馬が頭数のこの % 未満のレースは使いません (既定: "
            "80)\n"
            "  --json             すべての数字とレースごとの予想を JSON で表示します\n"
            "  --csv FILE         レースと馬ごとに 1 行 (レース、馬、得点、順位、着順、人気) を\n"
            "                     書き出します\n"
            "  --update-trainers  圧縮ファイルの調教師データを KTDAT に保存します (既定: しない)\n"
            "  --update-jockeys   圧縮ファイルの騎手データを KTDAT に保存します (既定: しない)\n"
            "\n"
            "検証のしかた:\n";
        for (std::string_view rule : backtestRules())
            text += "  - " + std::string(rule) + "\n";
        return text + storeBacktestUsage();
    }();
    return usage.c_str();
}

} // namespace zelkor::cli
