#include "app/jvdata_import_command.h"

#include "app/batch_progress.h"
#include "app/file_chooser.h"
#include "app/qt_text.h"
#include "app/race_session.h"
#include "store/jvdata_store.h"

namespace zelkor {

namespace {

// The counts as a table in the box, the rejected records and the files that
// were not JV-Data behind its details button. The summary text starts with
// the table: a heading, a line per record type and the total line.
void showImportSummary(AppPrompt& prompt, const ImportSummary& summary) {
    const std::string text = importSummaryText(summary);
    size_t tableEnd = 0;
    for (size_t lines = summary.byType.size() + 2; lines > 0 && tableEnd < text.size(); --lines) {
        const size_t lineEnd = text.find("\r\n", tableEnd);
        tableEnd = lineEnd == std::string::npos ? text.size() : lineEnd + 2;
    }
    prompt.showReport("JV-Dataを取り込みました。", text.substr(0, tableEnd), text.substr(tableEnd),
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
    const std::string store = jvStorePath(session_.programFolder());
    ImportSummary summary;
    bool imported = false;
    runBatchJob(window_, QStringLiteral("JV-Dataを取り込み中..."), services_.prompt,
                services_.shell, [&](UserPrompt& prompt, ProgressSink& progress, Shell&) {
                    imported = importJvData(native, store, summary, prompt, progress).ok();
                });
    emit storeChanged();
    if (!imported)
        return false;
    showImportSummary(services_.prompt, summary);
    return true;
}

void JvDataImportCommand::checkStore() {
    const std::string store = jvStorePath(session_.programFolder());
    StoreCheck check;
    {
        WaitCursor wait;
        Result<StoreCheck> checked = checkJvStore(store);
        if (!checked) {
            services_.prompt.showMessage(checked.message());
            return;
        }
        check = std::move(*checked);
    }
    if (check.sound)
        services_.prompt.showNote(storeCheckText(store, check), MessageIcon::Information,
                                  "JV-Dataの検査");
    else
        services_.prompt.showMessage(storeCheckText(store, check), "JV-Dataの検査");
}

} // namespace zelkor
