// zelkor2k-cli races CARD [--info N]: the races of a JRA-VAN race card, one
// line each, or the full conditions of race N.

#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "jv/archive_race_source.h"
#include "jv/race_card.h"
#include "jv/race_info.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {

int runRaces(const std::vector<std::string>& args) {
    Arguments parsed(args, {"--program-folder", "--info"});
    if (!argumentsUsable(parsed, "races", {"--info", "--update-trainers", "--update-jockeys"},
                         "race card or archive"))
        return 1;
    std::optional<int> info;
    if (auto text = parsed.value("--info")) {
        info = racePosition(*text);
        if (!info)
            return fail("--info needs a race number from 1 (see races --help)");
    }

    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::string& programFolder = *folder;
    TerminalPrompt prompt;
    JvRaceCard card;
    if (!openCardArgument(parsed, programFolder, prompt, card))
        return 1; // told why on stderr

    ArchiveRaceSource source(card.raceCardPath, programFolder);
    if (info) {
        if (!source.readRace(card, *info, prompt))
            return 1;
        printOut(terminalLines(raceInfoText(card)) + "\n");
        return 0;
    }

    const int messagesBefore = prompt.messageCount();
    RaceList list = readRaceList(source, prompt);
    std::string out;
    for (const RaceListRow& row : list.rows)
        out +=
            row.monthDay + "\t" + row.course + "\t" + row.raceNumber + "\t" + row.raceName + "\n";
    printOut(out);
    // A race that could not be read ends the list; its message is on stderr.
    if (prompt.messageCount() != messagesBefore ||
        static_cast<int>(list.rows.size()) != list.raceCount)
        return 1;
    return 0;
}

extern const char kRacesUsage[];
const char kRacesUsage[] =
    "usage: zelkor2k-cli races CARD [--info N] [--update-trainers] [--update-jockeys]\n"
    "                          [--program-folder DIR]\n"
    "\n"
    "JRA-VAN の出馬表のレースを 1 行ずつ表示します (月日、競馬場、レース番号、レース名を\n"
    "タブで区切ります)。\n"
    "\n"
    "  CARD               JRA-VAN の圧縮ファイル (.lzh)、または JracUmaj.dat と同じ\n"
    "                     フォルダにある JracDen1.dat。圧縮ファイルはプログラムフォルダの\n"
    "                     JRA-VAN フォルダに解凍されます\n"
    "  --info N           N 番目のレースのレース情報を表示します\n"
    "  --update-trainers  圧縮ファイルの調教師データを KTDAT に保存します (既定: しない)\n"
    "  --update-jockeys   圧縮ファイルの騎手データを KTDAT に保存します (既定: しない)\n";

} // namespace zelkor::cli
