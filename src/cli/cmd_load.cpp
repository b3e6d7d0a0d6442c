// zelkor2k-cli load CARD --race N -o OUT.zel: loads one race of a JRA-VAN
// race card into a race sheet as the program's loader does and saves it as a
// prediction file.

#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "core/prediction_file.h"
#include "core/race_sheet.h"
#include "jv/archive_intake.h"
#include "jv/archive_race_source.h"
#include "jv/race_card.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {

int runLoad(const std::vector<std::string>& args) {
    Arguments parsed(args, {"--program-folder", "--race", "-o"});
    if (!argumentsUsable(parsed, "load", {"--race", "-o", "--update-trainers", "--update-jockeys"},
                         "race card or archive"))
        return 1;
    auto raceText = parsed.value("--race");
    if (!raceText)
        return fail("load needs --race N (see load --help)");
    std::optional<int> race = racePosition(*raceText);
    if (!race)
        return fail("--race needs a race number from 1 (see load --help)");
    auto output = parsed.value("-o");
    if (!output || output->empty())
        return fail("load needs -o OUT.zel (see load --help)");

    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::string& programFolder = *folder;
    TerminalPrompt prompt;
    JvRaceCard card;
    if (!openCardArgument(parsed, programFolder, prompt, card))
        return 1;
    RaceSheet sheet;
    // Horses missing from the horse file are reported on stderr and loaded
    // from their race-card line; the load itself goes on.
    ArchiveRaceSource source(card.raceCardPath, programFolder);
    if (!loadChosenJvRace(source, *race, card, sheet, prompt))
        return 1;
    return writePredictionFile(sheet, *output, prompt) == 1 ? 0 : 1;
}

extern const char kLoadUsage[];
const char kLoadUsage[] =
    "usage: zelkor2k-cli load CARD --race N -o OUT.zel [--update-trainers]\n"
    "                         [--update-jockeys] [--program-folder DIR]\n"
    "\n"
    "JRA-VAN の出馬表の N 番目のレースを出走表に読み込み、予想ファイルに保存します。\n"
    "\n"
    "  CARD               JRA-VAN の圧縮ファイル (.lzh)、または JracUmaj.dat と同じ\n"
    "                     フォルダにある JracDen1.dat\n"
    "  --race N           読み込むレース (出馬表の N 行目)\n"
    "  -o OUT.zel         保存する予想ファイル\n"
    "  --update-trainers  圧縮ファイルの調教師データを KTDAT に保存します (既定: しない)\n"
    "  --update-jockeys   圧縮ファイルの騎手データを KTDAT に保存します (既定: しない)\n";

} // namespace zelkor::cli
