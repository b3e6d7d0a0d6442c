#pragma once

#include "app/main_window.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

namespace zelkor {

class RaceSelectionDialog;
class RaceSession;
class RaceSource;

// The JRA-VAN commands (open an archive, change the race, backtest), the
// two batch jobs started from the race selection (newspapers, predict-all)
// and the newspaper settings command, over the window's race session.
class JvCommands : public QObject {
    Q_OBJECT
  public:
    // `askToSaveChanges` is asked before a command replaces the race; it
    // reads the form first and says whether to go on.
    JvCommands(RaceSession& session, AppServices services, QWidget* window,
               std::function<bool()> askToSaveChanges);

    // The intake of the archive at `archivePath` followed by the race
    // selection and the load of the chosen race. True when a race was
    // chosen and loaded.
    bool openJvArchive(const QString& archivePath);
    // openJvArchive, and the results of the race shown before go.
    void openArchiveFile(const QString& archivePath);

  signals:
    // The intake of this archive succeeded.
    void archiveOpened(const QString& archivePath);

  public slots:
    void openJraVanFile();
    void changeRace();
    // Backtests the formula on the horse file of the opened archive and
    // opens the report page.
    void backtestPastRaces();
    void newspaperSettings();

  private:
    // Runs the race selection on the current race card and loads the chosen
    // race. True when a race was chosen and loaded.
    bool selectAndLoadRace();
    // Runs the race selection on `source`; the chosen race's position, or 0
    // when the dialog was cancelled.
    int selectRace(RaceSource& source);
    // Reads race `position` of `source` into the session's JRA-VAN race and
    // shows it. False when the race cannot be read or loaded (nothing
    // changes).
    bool loadRace(RaceSource& source, int position);
    void makeNewspapers(RaceSelectionDialog& dialog, const std::vector<int>& positions);
    void predictAllRaces(RaceSelectionDialog& dialog);

    RaceSession& session_;
    AppServices services_;
    QWidget* window_;
    std::function<bool()> askToSaveChanges_;
};

} // namespace zelkor
