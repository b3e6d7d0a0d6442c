// zelkor2k-cli check: whether the JV-Data store is sound, in one line with
// its record counts per type.

#include "cli/cli_support.h"
#include "store/jvdata_store.h"

namespace zelkor::cli {

int runCheck(const Arguments& parsed) {
    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const Result<StoreCheck> checked = checkJvStore(jvStorePath(*folder));
    if (!checked) {
        TerminalPrompt().showMessage(checked.message());
        return 1;
    }
    const StoreCheck& check = *checked;
    const std::string line = storeCheckText(jvStorePath(*folder), check);
    if (!check.sound)
        return fail(line);
    printOut(line + "\n");
    return 0;
}

extern const Command kCheckCommand;
const Command kCheckCommand = {
    "check",
    "JV-Data の保存ファイルに傷がないか調べます",
    "",
    Operands::None,
    "引数",
    "取り込んだ JV-Data の保存ファイル (JV-Data/jvdata.sqlite3) をすべて読んで\n"
    "壊れていないか調べ、その結果を種別ごとのレコード数とともに 1 行で表示します。\n"
    "壊れていれば終了状態は 1 です。\n",
    {},
    runCheck,
};

} // namespace zelkor::cli
