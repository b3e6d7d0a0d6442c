// zelkor2k-cli paper CARD|--date YYYYMMDD --races LIST|all [--edition 1|2|3]
// [-o PATH]: the racing newspaper of one race, or the newspaper set of several.

#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/terminal_progress.h"
#include "core/settings.h"
#include "html/newspaper_set.h"
#include "text/cp932.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace zelkor::cli {

// "all", or race positions and ranges separated by commas ("1,3,5-8"), each
// within 1..raceCount. Nothing when the list is not of that form.
std::optional<std::vector<int>> parseRaceList(const std::string& text, int raceCount) {
    std::vector<int> races;
    if (text == "all") {
        for (int r = 1; r <= raceCount; ++r)
            races.push_back(r);
        return races;
    }
    size_t from = 0;
    while (from <= text.size()) {
        size_t comma = text.find(',', from);
        if (comma == std::string::npos)
            comma = text.size();
        const std::string item = text.substr(from, comma - from);
        const size_t dash = item.find('-');
        std::optional<int> first = wholeNumber(item.substr(0, dash));
        std::optional<int> last =
            dash == std::string::npos ? first : wholeNumber(item.substr(dash + 1));
        if (!first || !last || *first < 1 || *last < *first || *last > raceCount)
            return std::nullopt;
        for (int r = *first; r <= *last; ++r)
            races.push_back(r);
        from = comma + 1;
    }
    return races;
}

int runPaper(const Arguments& parsed) {
    const std::optional<std::string> raceList = parsed.value("--races");
    if (!raceList)
        return fail("paper には --races LIST または --races all が必要です (paper --help を参照)");

    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    const std::string& programFolder = *folder;
    AppSettings settings = settingsOfProgramFolder(programFolder);
    if (auto edition = parsed.value("--edition")) {
        std::optional<int> n = wholeNumber(*edition);
        if (!n || *n < 1 || *n > 3)
            return fail("--edition には 1 (簡易版)、2 (詳細版)、3 (成績付き詳細版) "
                        "のどれかを指定してください");
        settings.paperEdition = *n;
    }

    TerminalPrompt prompt;
    const std::unique_ptr<RaceSource> opened = openRaceSource(parsed, programFolder, prompt);
    if (!opened)
        return 1; // told why on stderr
    RaceSource& source = *opened;
    const int raceCount = source.raceCount(prompt);
    if (raceCount < 1)
        return fail("出馬表にレースがありません");
    std::optional<std::vector<int>> races = parseRaceList(*raceList, raceCount);
    if (!races)
        return fail("--races には 1 から " + std::to_string(raceCount) +
                    " までのレース番号 (\"1,3,5-8\")、または all を指定してください");
    std::sort(races->begin(), races->end());
    races->erase(std::unique(races->begin(), races->end()), races->end());

    PathPrintingShell shell;
    if (races->size() == 1) {
        JvRaceCard card;
        if (!source.readRace(card, races->front(), prompt) || !checkRaceLoadable(card, prompt))
            return 1;
        // Without -o the page gets the suggested name in the current folder.
        const std::string path =
            parsed.value("-o").value_or(cp932ToUtf8(singleNewspaperFileName(card)));
        if (!writeSingleNewspaper(card, source, settings, programFolder, path, prompt, shell))
            return 1; // the writer has told why on stderr
        return 0;
    }
    if (parsed.value("-o"))
        return fail("-o は 1 レースのページにだけ使えます。複数のレースはプログラムフォルダの "
                    "HTML フォルダに書き出します");
    TerminalProgress progress;
    const Result<WrittenPageSet> set =
        writeNewspaperSet({source, settings, programFolder, prompt, progress, shell}, *races);
    return !set || set->unwrittenFiles > 0 ? 1 : 0;
}

extern const Command kPaperCommand;
const Command kPaperCommand = {
    "paper",
    "競馬新聞を書き出します (1 レース、または複数のレース)",
    "CARD|--date YYYYMMDD --races LIST|all",
    Operands::OneOrDate,
    "出馬表または圧縮ファイル",
    "JRA-VAN の出馬表、または取り込んだ JV-Data の 1 日のレースから競馬新聞を\n"
    "作ります。1 レースなら 1 ページを、複数のレースならプログラムフォルダの\n"
    "HTML/Jv年_月日 フォルダに目次 (index.html)、競馬場別のメニューとレースごとの\n"
    "ページを書き出し、開くページのパスを表示します。書けなかったページがあれば、\n"
    "それを名指しして失敗で終わります。\n",
    {kCardOperand,
     kDateOption,
     {"--races", "LIST|all", "レース番号 (races の行番号)。\"1,3,5-8\" のように並べるか all"},
     {"--edition", "N", "1 簡易版、2 詳細版、3 成績付き詳細版 (省略時は Zelkor2k.cfg の設定)"},
     {"-o", "PATH", "1 レースのときの保存先 (省略時は Jv年-月日_競馬場nR略称.html)"},
     kUpdateTrainersOption,
     kUpdateJockeysOption},
    runPaper,
};

} // namespace zelkor::cli
