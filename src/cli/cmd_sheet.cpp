// zelkor2k-cli sheet FILE.zel -o OUT.html: writes the race-sheet page of a
// prediction file, as the desktop program's viewer shows it.

#include "cli/cli_support.h"
#include "core/prediction_file.h"
#include "core/race_sheet.h"
#include "core/settings.h"
#include "html/race_sheet_page.h"
#include "text/cp932.h"
#include "text/file_io.h"

namespace zelkor::cli {

int runSheet(const Arguments& parsed) {
    const auto path = parsed.value("-o");
    if (!path)
        return fail("sheet には -o OUT.html が必要です (sheet --help を参照)");

    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::string& programFolder = *folder;
    RaceSheet sheet;
    TerminalPrompt prompt;
    if (!readPredictionArgument(parsed, sheet, prompt))
        return 1; // the reader has told why on stderr
    const std::string page =
        buildRaceSheetPage(sheet, settingsOfProgramFolder(programFolder), programFolder);
    if (!writeWholeFile(*path, page))
        return fail("ページを書き込めませんでした: " + pathForDisplay(*path));
    return 0;
}

extern const Command kSheetCommand;
const Command kSheetCommand = {
    "sheet",
    "予想ファイルの出走表ページを書き出します",
    "FILE.zel -o OUT.html",
    Operands::One,
    "予想ファイル",
    "予想ファイル(.zel)の出馬表ページ(予想画面の横に表示されるページ)を\n"
    "書き出します。\n"
    "画像・馬名リンクの設定はプログラムフォルダの Zelkor2k.cfg に従います\n"
    "(無いときは既定値)。\n",
    {{"-o", "OUT.html", "書き出すファイル"}},
    runSheet,
};

} // namespace zelkor::cli
