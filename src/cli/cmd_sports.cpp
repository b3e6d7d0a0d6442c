// zelkor2k-cli sports FILE.zel [-o OUT.html]: loads a prediction file, scores
// the race and writes its sports page.

#include "cli/cli_support.h"
#include "core/prediction_file.h"
#include "core/program_folder.h"
#include "core/race_sheet.h"
#include "core/scoring.h"
#include "core/settings.h"
#include "html/sports_page.h"
#include "text/cp932.h"
#include "text/file_io.h"

#include <ctime>

namespace zelkor::cli {

int runSports(const Arguments& parsed) {
    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::string& programFolder = *folder;
    RaceSheet sheet;
    TerminalPrompt prompt;
    if (!readPredictionArgument(parsed, sheet, prompt))
        return 1; // the reader has told why on stderr
    scoreRace(sheet);

    const std::tm localTime = currentLocalTime();
    // Without -o the page gets the name the desktop program suggests, in
    // the current folder (file names on this system are UTF-8).
    const std::string path =
        parsed.value("-o").value_or(cp932ToUtf8(suggestedSportsFileName(sheet, localTime)));
    if (!writeSportsPage(path, sheet, settingsOfProgramFolder(programFolder), programFolder,
                         localTime, prompt))
        return 1; // the writer has told why on stderr
    printOut(pathForDisplay(path) + "\n");
    return 0;
}

extern const Command kSportsCommand;
const Command kSportsCommand = {
    "sports",
    "予想ファイルを採点してスポーツ新聞のページを書き出します",
    "FILE.zel",
    Operands::One,
    "予想ファイル",
    "予想ファイル(.zel)を読み込んで予想し、ZELスポ(スポーツ新聞ページ)を\n"
    "書き出します。\n"
    "画像・馬名リンクの設定はプログラムフォルダの Zelkor2k.cfg に従います\n"
    "(無いときは既定値)。\n",
    {{"-o", "OUT.html", "書き出すファイル (省略時は Zspo_年-月日_レース名.html)"}},
    runSports,
};

} // namespace zelkor::cli
