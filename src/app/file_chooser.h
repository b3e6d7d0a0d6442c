#pragma once

#include "core/ports.h"

#include <QString>
#include <QStringList>
#include <string>

class QWidget;

namespace zelkor {

// What a file dialog is asked to show.
struct FileDialogRequest {
    QString title;  // empty: "ファイルを開く" or "名前を付けて保存"
    QString filter; // Qt filter text, entries separated by ";;"
    QString defaultSuffix;
    QString initialName; // save dialogs: the suggested file name
    QString folder;      // where the dialog starts; empty: the home folder
};

// A save dialog for a page the program writes: HTML files, offered as
// `fileName` (CP932).
FileDialogRequest pageSaveRequest(const QString& title, const std::string& fileName);

// The open and save dialogs, behind an interface so tests can answer them.
// Both return the chosen full path, or an empty text when cancelled. The
// read-only box is never shown and replacing a file is always confirmed.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    virtual QString chooseOpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Several existing files, or one folder; empty when cancelled.
    virtual QStringList chooseOpenPaths(QWidget* parent, const FileDialogRequest& request) = 0;
};

class QtFileChooser : public FileChooser {
  public:
    QString chooseOpenFile(QWidget* parent, const FileDialogRequest& request) override;
    QString chooseSaveFile(QWidget* parent, const FileDialogRequest& request) override;
    // Qt's own file dialog, whose extra button takes the folder shown.
    QStringList chooseOpenPaths(QWidget* parent, const FileDialogRequest& request) override;
};

class WindowState;

// Starts each dialog in the folder last chosen for its kind of file (its
// default suffix), the home folder at first, so no dialog opens in the
// program's own working folders; then asks `chooser`.
class FolderRememberingChooser : public FileChooser {
  public:
    FolderRememberingChooser(FileChooser& chooser, WindowState& state)
        : chooser_(chooser), state_(state) {}
    QString chooseOpenFile(QWidget* parent, const FileDialogRequest& request) override;
    QString chooseSaveFile(QWidget* parent, const FileDialogRequest& request) override;
    QStringList chooseOpenPaths(QWidget* parent, const FileDialogRequest& request) override;

  private:
    FileDialogRequest withFolder(FileDialogRequest request) const;
    QString remember(const FileDialogRequest& request, const QString& chosen);

    FileChooser& chooser_;
    WindowState& state_;
};

} // namespace zelkor
