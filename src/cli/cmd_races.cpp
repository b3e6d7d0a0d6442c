// zelkor2k-cli races CARD|--date YYYYMMDD [--info N] [--json]: the races of a
// JRA-VAN race card or of a day of the JV-Data store, one line each, or the
// full conditions of race N.

#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "race/race_info.h"

#include <optional>
#include <string>

namespace zelkor::cli {
namespace {

Json raceListJson(const RaceList& list, RaceSource& source, TerminalPrompt& prompt) {
    Json races = Json::array();
    JvRaceCard card;
    for (size_t i = 0; i < list.rows.size(); ++i) {
        const RaceListRow& row = list.rows[i];
        const bool loadable =
            source.readRace(card, static_cast<int>(i) + 1, prompt) && raceLoadable(card);
        races.push_back({{"position", i + 1},
                         {"monthDay", row.monthDay},
                         {"course", utf8(row.course)},
                         {"raceNumber", card.raceNumber},
                         {"raceName", utf8(card.raceName)},
                         {"loadable", loadable}});
    }
    return {{"raceCount", list.raceCount}, {"races", std::move(races)}};
}

} // namespace

int runRaces(const Arguments& parsed) {
    std::optional<int> info;
    if (auto text = parsed.value("--info")) {
        info = racePosition(*text);
        if (!info)
            return fail("--info には 1 からのレース番号を指定してください (races --help を参照)");
    }
    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    TerminalPrompt prompt;
    const std::unique_ptr<RaceSource> source = openRaceSource(parsed, *folder, prompt);
    if (!source)
        return 1; // told why on stderr
    const bool json = parsed.flag("--json");

    if (info) {
        JvRaceCard card;
        if (!source->readRace(card, *info, prompt))
            return 1;
        if (json)
            printJson({{"position", *info}, {"info", utf8(raceInfoText(card))}});
        else
            printOut(terminalLines(raceInfoText(card)) + "\n");
        return 0;
    }

    const int messagesBefore = prompt.messageCount();
    const RaceList list = readRaceList(*source, prompt);
    if (json) {
        printJson(raceListJson(list, *source, prompt));
    } else {
        std::string out;
        // A TAB or line end inside a field must not add a column or a row.
        for (const RaceListRow& row : list.rows)
            out += visibleControls(row.monthDay) + "\t" + visibleControls(row.course) + "\t" +
                   visibleControls(row.raceNumber) + "\t" + visibleControls(row.raceName) + "\n";
        printOut(out);
    }
    // A race that could not be read ends the list; its message is on stderr.
    if (prompt.messageCount() != messagesBefore ||
        static_cast<int>(list.rows.size()) != list.raceCount)
        return 1;
    return 0;
}

extern const Command kRacesCommand;
const Command kRacesCommand = {
    "races",
    "出馬表、圧縮ファイル、JV-Data の 1 日のレースを一覧します",
    kCardOrDate,
    Operands::OneOrDate,
    "出馬表または圧縮ファイル",
    "JRA-VAN の出馬表、または取り込んだ JV-Data の 1 日のレースを 1 行ずつ表示します\n"
    "(月日、競馬場、レース番号、レース名をタブで区切ります。中止のレースには\n"
    "(中止) が付きます)。\n",
    {kCardOperand,
     kDateOption,
     {"--info", "N", "N 番目のレースのレース情報を表示します"},
     {"--json", nullptr,
      "JSON で出力します: {raceCount, races: [{position, monthDay, course, "
      "raceNumber, raceName, loadable}]}、--info では {position, info}"},
     kUpdateTrainersOption,
     kUpdateJockeysOption},
    runRaces,
};

} // namespace zelkor::cli
