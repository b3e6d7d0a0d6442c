// zelkor2k-cli import PATH… [--json]: JV-Data files, folders and archives
// into the program folder's store, then what was done with each record type.

#include "cli/card_argument.h"
#include "cli/cli_support.h"
#include "cli/json_output.h"
#include "cli/terminal_progress.h"
#include "store/jvdata_store.h"

namespace zelkor::cli {
namespace {

Json countsJson(const ImportCounts& c) {
    return {{"read", c.read},
            {"added", c.added},
            {"replaced", c.replaced},
            {"olderIgnored", c.olderIgnored},
            {"sameIgnored", c.sameIgnored},
            {"deleted", c.deleted},
            {"rejected", c.rejected},
            {"skipped", c.skipped}};
}

Json summaryJson(const ImportSummary& summary) {
    Json out = Json::object();
    for (const auto& [type, counts] : summary.byType)
        out[type] = countsJson(counts);
    Json rejected = Json::array();
    for (const RejectedRecord& r : summary.rejected)
        rejected.push_back(
            {{"file", utf8(r.file)}, {"offset", r.offset}, {"reason", utf8(r.reason)}});
    out["rejected"] = std::move(rejected);
    Json files = Json::array();
    for (const ImportedFile& f : summary.files)
        files.push_back({{"file", utf8(f.file)},
                         {"jvData", f.jvData},
                         {"records", f.records},
                         {"rejected", f.rejected},
                         {"passedOver", f.passedOver}});
    out["files"] = std::move(files);
    out["uncardedEntries"] = summary.uncardedEntries;
    return out;
}

} // namespace

int runImport(const Arguments& parsed) {
    const std::optional<std::string> folder = programFolderFrom(parsed);
    if (!folder)
        return 1; // told why on stderr
    TerminalPrompt prompt;
    ImportSummary summary;
    {
        // Progress only on a terminal: the summary tells the rest.
        TerminalProgress progress(stderr, true);
        if (!importJvData(parsed.positional(), jvStorePath(*folder), summary, prompt, progress))
            return 1; // told why on stderr
    }
    if (parsed.flag("--json"))
        printJson(summaryJson(summary));
    else
        printOut(terminalLines(importSummaryText(summary)));
    return 0;
}

extern const Command kImportCommand;
const Command kImportCommand = {
    "import",
    "JV-Data のファイルやフォルダを保存ファイルに取り込みます",
    "PATH...",
    Operands::OneOrMore,
    "JV-Dataのファイル、フォルダまたは圧縮ファイル",
    "JRA-VAN Data Lab. の JV-Data (JV-Link から受け取ったレコードをそのまま\n"
    "保存したファイル) を、プログラムフォルダの JV-Data/jvdata.sqlite3 に取り込み\n"
    "ます。フォルダは中まで探し、zip・lzh・tar・gz の圧縮ファイルも読みます。\n"
    "取り込みは全部か無しかで、同じファイルを二度取り込んでも何も変わりません。\n"
    "終わるとレコードの種別ごとに、読込・追加・置換・古い版・同じ版・削除・不正・\n"
    "対象外の数を表示します。\n",
    {{"PATH", nullptr, "JV-Data のファイル、フォルダ、または圧縮ファイル (いくつでも)"},
     {"--json", nullptr,
      "種別ごとの数を JSON で出力します: {\"RA\": {read, added, replaced, "
      "olderIgnored, sameIgnored, deleted, rejected, skipped}, …, rejected: [{file, offset, "
      "reason}], files: [{file, jvData, records, rejected, passedOver}], uncardedEntries}"}},
    runImport,
};

} // namespace zelkor::cli
