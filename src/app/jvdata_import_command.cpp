#include "app/jvdata_import_command.h"

#include "app/batch_progress.h"
#include "app/file_chooser.h"
#include "app/qt_text.h"
#include "app/race_session.h"
#include "jv/jvdata_store.h"

namespace zelkor {

namespace {

// The counts as a table in the box, the rejected records and the files that
// were not JV-Data behind its details button. The summary text starts with
// the table, so what follows the table of the counts alone is the rest.
void showImportSummary(AppPrompt& prompt, const ImportSummary& summary) {
    ImportSummary counts;
    counts.byType = summary.byType;
    const std::string table = importSummaryText(counts);
    const std::string whole = importSummaryText(summary);
    prompt.showReport("JV-Dataを取り込みました。", table, whole.substr(table.size()),
                      "JV-Dataの取り込み");
}

} // namespace

JvDataImportCommand::JvDataImportCommand(RaceSession& session, AppServices services,
                                         QWidget* window)
    : QObject(window), session_(session), services_(services), window_(window) {}

void JvDataImportCommand::chooseAndImport() {
    const FileDialogRequest request{
        QStringLiteral("取り込むJV-Dataのファイル、またはフォルダを選択"),
        QStringLiteral("すべてのファイル (*);;書庫 (*.zip *.lzh *.tar *.gz *.tgz)"),
        QStringLiteral("jvdata"), // the kind whose folder is remembered
        {},
        {}};
    const QStringList paths = services_.files.chooseOpenPaths(window_, request);
    if (!paths.isEmpty())
        importPaths(paths);
}

bool JvDataImportCommand::importPaths(const QStringList& paths) {
    std::vector<std::string> native;
    for (const QString& path : paths)
        native.push_back(toNativePath(path));
    ImportSummary summary;
    {
        WaitCursor wait;
        ProgressWindow progress(window_);
        if (!importJvData(native, jvStorePath(session_.programFolder()), summary, services_.prompt,
                          progress))
            return false;
    }
    showImportSummary(services_.prompt, summary);
    return true;
}

} // namespace zelkor
