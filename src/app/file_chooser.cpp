#include "app/file_chooser.h"

#include "app/qt_text.h"
#include "app/window_state.h"
#include "text/cp932.h"
#include "text/format.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>

namespace zelkor {

namespace {

// Without a title of its own a dialog gets the one the Japanese system
// dialogs carry.
QString dialogTitle(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    if (!request.title.isEmpty())
        return request.title;
    return mode == QFileDialog::AcceptOpen ? QStringLiteral("ファイルを開く")
                                           : QStringLiteral("名前を付けて保存");
}

// The kind column in Japanese: Qt's translations leave "Folder" and the
// file kinds in English.
class JapaneseKinds : public QFileIconProvider {
  public:
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QStringLiteral("フォルダー");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("ファイル")
                                : QStringLiteral("%1 ファイル").arg(suffix.toUpper());
    }
};

// Qt's own dialog in Japanese, wide enough for its columns, which take
// the width their contents need and leave the rest to the name.
void prepare(QFileDialog& dialog, JapaneseKinds& kinds) {
    dialog.setIconProvider(&kinds);
    const QFontMetrics metrics(dialog.font());
    QSize size(metrics.averageCharWidth() * 110, metrics.height() * 28);
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(size.expandedTo(dialog.sizeHint()));
    for (QTreeView* view : dialog.findChildren<QTreeView*>()) {
        view->header()->setStretchLastSection(false);
        view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

QString runDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    JapaneseKinds kinds; // outlives the dialog
    QFileDialog dialog(parent, dialogTitle(request, mode));
    prepare(dialog, kinds);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

FileDialogRequest pageSaveRequest(const QString& title, const std::string& fileName) {
    return FileDialogRequest{title,
                             QStringLiteral("HTMLファイル (*.html *.htm)"),
                             QStringLiteral("html"),
                             toQt(fileName),
                             {}};
}

QString QtFileChooser::chooseOpenFile(QWidget* parent, const FileDialogRequest& request) {
    return runDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtFileChooser::chooseSaveFile(QWidget* parent, const FileDialogRequest& request) {
    return runDialog(parent, request, QFileDialog::AcceptSave);
}

QStringList QtFileChooser::chooseOpenPaths(QWidget* parent, const FileDialogRequest& request) {
    // Qt's own dialog: a platform dialog chooses files or a folder, never
    // either, and has no room for the folder button.
    JapaneseKinds kinds;
    QFileDialog dialog(parent, dialogTitle(request, QFileDialog::AcceptOpen));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    prepare(dialog, kinds);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(request.filter);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    QString folder;
    auto* folderButton = new QPushButton(QStringLiteral("表示中のフォルダごと選ぶ(&F)"), &dialog);
    QObject::connect(folderButton, &QPushButton::clicked, &dialog, [&dialog, &folder] {
        folder = dialog.directory().absolutePath();
        dialog.reject();
    });
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(folderButton, grid->rowCount(), 0, 1, grid->columnCount(), Qt::AlignLeft);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (!folder.isEmpty())
        return {folder};
    return accepted ? dialog.selectedFiles() : QStringList();
}

} // namespace zelkor

namespace zelkor {

FileDialogRequest FolderRememberingChooser::withFolder(FileDialogRequest request) const {
    if (request.folder.isEmpty()) {
        const QString last = state_.lastFolder(request.defaultSuffix);
        request.folder = !last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath();
    }
    return request;
}

QString FolderRememberingChooser::remember(const FileDialogRequest& request,
                                           const QString& chosen) {
    if (!chosen.isEmpty())
        state_.setLastFolder(request.defaultSuffix, QFileInfo(chosen).absolutePath());
    return chosen;
}

QString FolderRememberingChooser::chooseOpenFile(QWidget* parent,
                                                 const FileDialogRequest& request) {
    return remember(request, chooser_.chooseOpenFile(parent, withFolder(request)));
}

QStringList FolderRememberingChooser::chooseOpenPaths(QWidget* parent,
                                                      const FileDialogRequest& request) {
    const QStringList chosen = chooser_.chooseOpenPaths(parent, withFolder(request));
    if (!chosen.isEmpty())
        remember(request, chosen.front());
    return chosen;
}

QString FolderRememberingChooser::chooseSaveFile(QWidget* parent,
                                                 const FileDialogRequest& request) {
    return remember(request, chooser_.chooseSaveFile(parent, withFolder(request)));
}

} // namespace zelkor
