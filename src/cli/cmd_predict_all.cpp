// zelkor2k-cli predict-all CARD: predicts every race of a JRA-VAN race card
// and writes the sports page of each, the bets summary, menu and index.

#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/terminal_progress.h"
#include "core/program_folder.h"
#include "core/race_sheet.h"
#include "core/settings.h"
#include "html/predict_all.h"
#include "jv/archive_race_source.h"
#include "jv/race_card.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {

int runPredictAll(const std::vector<std::string>& args) {
    Arguments parsed(args, {"--program-folder"});
    if (!argumentsUsable(parsed, "predict-all", {"--update-trainers", "--update-jockeys"},
                         "race card or archive"))
        return 1;

    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::string& programFolder = *folder;
    const AppSettings settings = settingsOfProgramFolder(programFolder);
    TerminalPrompt prompt;
    JvRaceCard card;
    if (!openCardArgument(parsed, programFolder, prompt, card))
        return 1; // told why on stderr

    const std::tm localTime = currentLocalTime();
    RaceSheet sheet;
    JvRaceCard currentRace;
    TerminalProgress progress;
    PathPrintingShell shell;
    const int messagesBefore = prompt.messageCount();
    ArchiveRaceSource source(card.raceCardPath, programFolder);
    int unwritten = 0;
    const std::string index = predictAll(source, sheet, currentRace, settings, programFolder,
                                         localTime, prompt, progress, shell, {}, &unwritten);
    if (index.empty())
        return prompt.messageCount() != messagesBefore ? 1 : fail("出馬表にレースがありません");
    return unwritten > 0 ? 1 : 0;
}

extern const char kPredictAllUsage[];
const char kPredictAllUsage[] =
    "usage: zelkor2k-cli predict-all CARD [--update-trainers] [--update-jockeys]\n"
    "                                [--program-folder DIR]\n"
    "\n"
    "JRA-VAN の出馬表のすべてのレースを予想し、プログラムフォルダの HTML/Jvzel年_月日\n"
    "フォルダに各レースの ZELスポ、ゼルコ馬・買い目一覧、競馬場別のメニューと目次\n"
    "(index.html) を書き出して、目次のパスを表示します。\n"
    "\n"
    "  CARD               JRA-VAN の圧縮ファイル (.lzh)、または JracUmaj.dat と同じ\n"
    "                     フォルダにある JracDen1.dat\n"
    "  --update-trainers  圧縮ファイルの調教師データを KTDAT に保存します (既定: しない)\n"
    "  --update-jockeys   圧縮ファイルの騎手データを KTDAT に保存します (既定: しない)\n";

} // namespace zelkor::cli
