// zelkor2k-cli load CARD|--date YYYYMMDD --race N -o OUT.zel [--json]: loads
// one race into a race sheet as the program's loader does and saves it as a
// prediction file.

#include "archive/archive_intake.h"
#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "core/prediction_file.h"
#include "core/race_sheet.h"

#include <optional>
#include <string>

namespace zelkor::cli {
namespace {

// What was loaded and where it went.
Json loadedJson(const RaceSheet& sheet, const std::string& path) {
    Json runners = Json::array();
    for (int h = 1; h <= sheet.runnerCount; ++h)
        runners.push_back({{"horse", sheet.shownNumber(h)}, {"name", utf8(sheet.runner(h).name)}});
    return {{"file", path},
            {"raceName", utf8(sheet.raceName)},
            {"racecourse", utf8(sheet.racecourse)},
            {"raceNumber", sheet.raceNumber},
            {"runnerCount", sheet.runnerCount},
            {"runners", std::move(runners)}};
}

} // namespace

int runLoad(const Arguments& parsed) {
    auto raceText = parsed.value("--race");
    if (!raceText)
        return fail("load には --race N が必要です (load --help を参照)");
    std::optional<int> race = racePosition(*raceText);
    if (!race)
        return fail("--race には 1 からのレース番号を指定してください (load --help を参照)");
    auto output = parsed.value("-o");
    if (!output || output->empty())
        return fail("load には -o OUT.zel が必要です (load --help を参照)");

    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    TerminalPrompt prompt;
    const std::unique_ptr<RaceSource> source = openRaceSource(parsed, *folder, prompt);
    if (!source)
        return 1; // told why on stderr
    JvRaceCard card;
    RaceSheet sheet;
    // Horses missing from the horse file are reported on stderr and loaded
    // from their race-card line; the load itself goes on.
    if (!loadChosenJvRace(*source, *race, card, sheet, prompt) ||
        !writePredictionFile(sheet, *output, prompt))
        return 1;
    if (parsed.flag("--json"))
        printJson(loadedJson(sheet, *output));
    return 0;
}

extern const Command kLoadCommand;
const Command kLoadCommand = {
    "load",
    "JRA-VAN のレースを読み込んで予想ファイルに保存します",
    "CARD|--date YYYYMMDD --race N -o OUT.zel",
    Operands::OneOrDate,
    "出馬表または圧縮ファイル",
    "JRA-VAN の出馬表、または取り込んだ JV-Data の 1 日の N 番目のレースを出走表に\n"
    "読み込み、予想ファイルに保存します。\n",
    {kCardOperand,
     kDateOption,
     {"--race", "N", "読み込むレース (出馬表の N 行目、races の N 行目)"},
     {"-o", "OUT.zel", "保存する予想ファイル"},
     {"--json", nullptr,
      "読み込んだレースを JSON で出力します: {file, raceName, racecourse, "
      "raceNumber, runnerCount, runners: [{horse, name}]}"},
     kUpdateTrainersOption,
     kUpdateJockeysOption},
    runLoad,
};

} // namespace zelkor::cli
