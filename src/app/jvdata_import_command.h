#pragma once

#include "app/main_window.h"

#include <QObject>
#include <QStringList>

namespace zelkor {

class RaceSession;

// The import of JV-Data into the store below the program folder: files or a
// folder chosen in a dialog, or dropped on the window; the progress window
// while the records are read; then one box with what the store took. Also
// the store's integrity check.
class JvDataImportCommand : public QObject {
    Q_OBJECT
  public:
    JvDataImportCommand(RaceSession& session, AppServices services, QWidget* window);

    // Imports the files and folders at `paths`. False when nothing was
    // imported (the user was told why; the store is as before).
    bool importPaths(const QStringList& paths);

  signals:
    // An import ran: the store may hold races it did not hold before.
    void storeChanged();

  public slots:
    // Asks for the files or the folder, then importPaths.
    void chooseAndImport();
    // Runs the store's integrity check and tells in one line what it found.
    void checkStore();

  private:
    RaceSession& session_;
    AppServices services_;
    QWidget* window_;
};

} // namespace zelkor
