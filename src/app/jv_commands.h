#pragma once

#include "app/main_window.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace zelkor {

class RaceSelectionDialog;
class RaceSession;
class RaceSource;

// The JRA-VAN commands (open an archive or a race day of the JV-Data store,
// change the race, backtest), the two batch jobs started from the race selection (newspapers,
// predict-all) and the newspaper settings command, over the window's race session.
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
    // openJvArchive for a command that does not ask whether it succeeded.
    void openArchiveFile(const QString& archivePath);

  signals:
    // The intake of this archive succeeded.
    void archiveOpened(const QString& archivePath);
    // The period (yyyymmdd, inclusive) chosen for a backtest of the
    // returns over the store.
    void storeBacktestRequested(int fromDate, int toDate);
    // What a command wrote where, for the status bar.
    void statusText(const QString& text);

  public slots:
    void openJraVanFile();
    // The store's race days, then the race selection over the chosen one.
    void openStoreRaces();
    void changeRace();
    // Backtests the returns of the bets over a period of the store, or the
    // formula on the horse file of the open archive, asking which when both
    // are at hand, and opens the report page.
    void backtestPastRaces();
    void newspaperSettings();

  private:
    // The races last opened (the archive's card or the store's day); null
    // after a message when they cannot be read any more.
    std::unique_ptr<RaceSource> currentSource();
    // Runs the race selection on `source` and loads the chosen race. True
    // when a race was chosen and loaded.
    bool selectAndLoadRace(RaceSource& source);
    // The period dialog, then the returns backtest over the store.
    void backtestStore();
    // The formula's backtest on the open archive's horse file.
    void backtestArchive();
    // Runs the race selection on `source`, the race loaded from it marked;
    // the chosen race's position, or 0 when the dialog was cancelled.
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
    int loadedPosition_ = 0; // of the race loaded from the current source, or 0
};

} // namespace zelkor
