// zelkor2k-cli dates [--json]: the race days of the JV-Data store, newest
// first, with their number of races.

#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "store/jvdata_store.h"
#include "text/format.h"

namespace zelkor::cli {

int runDates(const Arguments& parsed) {
    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const Result<std::vector<StoreDate>> read = readStoreDates(jvStorePath(*folder));
    if (!read) {
        TerminalPrompt().showMessage(read.message());
        return 1;
    }
    const std::vector<StoreDate>& dates = *read;
    if (parsed.flag("--json")) {
        Json out = Json::array();
        for (const StoreDate& d : dates)
            out.push_back({{"date", format("%08d", d.date)}, {"races", d.races}});
        printJson(out);
        return 0;
    }
    std::string out;
    for (const StoreDate& d : dates)
        appendFormat(out, "%08d\t%d\n", d.date, d.races);
    printOut(out);
    return 0;
}

extern const Command kDatesCommand;
const Command kDatesCommand = {
    "dates",
    "取り込んだ JV-Data の開催日を表示します",
    "",
    Operands::None,
    "引数",
    "取り込んだ JV-Data の開催日を新しい順に、その日のレース数とともに表示します\n"
    "(年月日とレース数をタブで区切ります)。races、load、paper、predict-all は\n"
    "CARD のかわりに --date 年月日 でその日のレースを使えます。\n",
    {{"--json", nullptr, "JSON で出力します: [{date: \"YYYYMMDD\", races: n}]"}},
    runDates,
};

} // namespace zelkor::cli
