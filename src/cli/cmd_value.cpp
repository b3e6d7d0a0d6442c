// zelkor2k-cli value --date YYYYMMDD [--race N] [--json]: each runner's
// chances to win and to place, learnt from the store's races before the day,
// and the expected return of a 100-yen ticket at the public's odds.

#include "chances/day_chances.h"
#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "cli/terminal_progress.h"
#include "cli/value_json.h"
#include "race/code_tables.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "text/format.h"

#include <cmath>
#include <cstdlib>

namespace zelkor::cli {
namespace {

Json rounded(double value, double scale) {
    return std::round(value * scale) / scale;
}

Json returnJson(double value) {
    return value < 0 ? Json(nullptr) : rounded(value, 1e4);
}

Json oddsJson(int tenths) {
    return tenths > 0 ? rounded(tenths / 10.0, 10) : Json(nullptr);
}

std::string oddsText(int tenths) {
    return tenths > 0 ? format("%6.1f", tenths / 10.0) : std::string("     -");
}

std::string returnText(double value) {
    return value < 0 ? std::string("     -") : format("%6.2f", value);
}

Json dayJson(const DayValues& day) {
    Json races = Json::array();
    for (const RaceValues& race : day.races) {
        Json runners = Json::array();
        for (const RunnerValue& r : race.runners)
            runners.push_back(runnerValueJson(r));
        races.push_back({{"date", format("%08d", dateOfRaceKey(race.key))},
                         {"course", courseOfRaceKey(race.key)},
                         {"race", raceNoOfRaceKey(race.key)},
                         {"runners", std::move(runners)}});
    }
    return {{"model", chanceModelJson(day.model)}, {"races", std::move(races)}};
}

} // namespace

Json runnerValueJson(const RunnerValue& r) {
    return {{"horseNumber", r.horseNumber},
            {"name", utf8(r.name)},
            {"winChance", rounded(r.winChance, 1e6)},
            {"placeChance", rounded(r.placeChance, 1e6)},
            {"winOdds", oddsJson(r.winOdds)},
            {"placeOddsLow", oddsJson(r.placeOddsLow)},
            {"winReturn", returnJson(r.winReturn)},
            {"placeReturn", returnJson(r.placeReturn)},
            {"value", r.value}};
}

Json chanceModelJson(const ChanceModel& model) {
    return {{"from", format("%08d", model.fromDate)},
            {"to", format("%08d", model.toDate)},
            {"races", model.races}};
}

namespace {

std::string dayText(const DayValues& day) {
    std::string out = format("勝率のモデル: %08d〜%08d の %d レースから\n", day.model.fromDate,
                             day.model.toDate, day.model.races);
    for (const RaceValues& race : day.races) {
        appendFormat(out, "\n%08d %s %dR\n馬番   勝率 複勝率   単勝 複下限 単期待 複期待    馬名\n",
                     dateOfRaceKey(race.key), decodeRacecourse(courseOfRaceKey(race.key)).c_str(),
                     raceNoOfRaceKey(race.key));
        for (const RunnerValue& r : race.runners)
            appendFormat(out, "%4d %5.1f%% %5.1f%% %s %s %s %s %s %s\n", r.horseNumber,
                         100 * r.winChance, 100 * r.placeChance, oddsText(r.winOdds).c_str(),
                         oddsText(r.placeOddsLow).c_str(), returnText(r.winReturn).c_str(),
                         returnText(r.placeReturn).c_str(), r.value ? "◎" : "  ", r.name.c_str());
    }
    return out;
}

int runValue(const Arguments& parsed) {
    const std::optional<int> date = dateArgument(parsed.value("--date"));
    if (!date)
        return fail("--date には年月日を YYYYMMDD の形で指定してください");
    std::optional<int> raceNo;
    if (const std::optional<std::string> text = parsed.value("--race")) {
        raceNo = wholeNumber(*text);
        if (!raceNo || *raceNo < 1 || *raceNo > 12)
            return fail("--race には 1 から 12 までのレース番号を指定してください");
    }
    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::optional<double> threshold = valueThreshold(parsed, *folder);
    if (!threshold)
        return 1; // told why on stderr
    Result<DayValues> found = [&] {
        TerminalProgress progress(stderr, true); // Ctrl+C stops the reading and fitting
        return valuesOfDay(jvStorePath(*folder), *date, *threshold, progress);
    }();
    if (!found) {
        TerminalPrompt().showMessage(found.message());
        return 1;
    }
    DayValues& day = *found;
    if (raceNo) {
        std::erase_if(day.races,
                      [&](const RaceValues& race) { return raceNoOfRaceKey(race.key) != *raceNo; });
        if (day.races.empty())
            return fail(format("%08d に %dR のレースはありません", *date, *raceNo));
    }
    if (parsed.flag("--json"))
        printJson(dayJson(day));
    else
        printOut(dayText(day));
    return 0;
}

} // namespace

extern const Command kValueCommand;
const Command kValueCommand = {
    "value",
    "取り込んだ JV-Data から各馬の勝率・複勝率と期待値を表示します",
    "--date YYYYMMDD",
    Operands::None,
    "引数",
    "取り込んだ JV-Data のその日より前のレースだけから学んだモデルで、各馬の勝率と\n"
    "複勝率を推定し、単勝・複勝 100 円の期待値 (勝率×単勝オッズ、複勝率×\n"
    "複勝オッズの下限) を表示します。期待値がしきい値 (既定 1.10) 以上の馬に ◎ を\n"
    "付けます。\n"
    "推定は利用者自身のデータによるもので、的中や利益を約束するものではありません。\n",
    {{"--date", "YYYYMMDD", "この日のレース"},
     {"--race", "N", "このレース番号のレースだけ"},
     {"--threshold", "X", "◎ を付ける期待値 (既定: 設定の値か 1.10)"},
     {"--json", nullptr, "JSON で出力します"}},
    runValue,
};

} // namespace zelkor::cli
