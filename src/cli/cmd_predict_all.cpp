// zelkor2k-cli predict-all CARD|--date YYYYMMDD: predicts every race of a
// JRA-VAN race card or JV-Data day and writes the sports page of each, the
// bets summary, menu and index.

#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/terminal_progress.h"
#include "core/program_folder.h"
#include "core/race_sheet.h"
#include "core/settings.h"
#include "html/predict_all.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {

int runPredictAll(const Arguments& parsed) {
    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::string& programFolder = *folder;
    const AppSettings settings = settingsOfProgramFolder(programFolder);
    TerminalPrompt prompt;
    const std::unique_ptr<RaceSource> source = openRaceSource(parsed, programFolder, prompt);
    if (!source)
        return 1; // told why on stderr

    const std::tm localTime = currentLocalTime();
    TerminalProgress progress;
    PathPrintingShell shell;
    const int messagesBefore = prompt.messageCount();
    const Result<PredictedDay> day =
        predictAll({*source, settings, programFolder, prompt, progress, shell}, localTime);
    if (!day)
        return prompt.messageCount() != messagesBefore ? 1 : fail("出馬表にレースがありません");
    return day->pages.unwrittenFiles > 0 ? 1 : 0;
}

extern const Command kPredictAllCommand;
const Command kPredictAllCommand = {
    "predict-all",
    "出馬表や JV-Data の 1 日のレースをすべて予想します",
    kCardOrDate,
    Operands::OneOrDate,
    "出馬表または圧縮ファイル",
    "JRA-VAN の出馬表、または取り込んだ JV-Data の 1 日のすべてのレースを予想し、\n"
    "プログラムフォルダの HTML/Jvzel年_月日 フォルダに各レースの ZELスポ、ゼルコ馬・\n"
    "買い目一覧、競馬場別のメニューと目次 (index.html) を書き出して、目次のパスを\n"
    "表示します。中止のレースは予想しません。書けなかったページがあれば、それを\n"
    "名指しして失敗で終わります。\n",
    {kCardOperand, kDateOption, kUpdateTrainersOption, kUpdateJockeysOption},
    runPredictAll,
};

} // namespace zelkor::cli
