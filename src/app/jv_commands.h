#pragma once

#include <QObject>
#include <QString>
#include <vector>

namespace zelkor {

class MainWindow;
class RaceSelectionDialog;
class RaceSource;

// The JRA-VAN commands of the main window (open an archive, change the
// race), the two batch jobs started from the race selection (newspapers,
// predict-all) and the newspaper settings command. Owned by the window,
// whose menu and toolbar actions it serves.
class JvCommands : public QObject {
    Q_OBJECT
  public:
    explicit JvCommands(MainWindow& window);

    // The intake of the archive at `archivePath` followed by the race
    // selection and the load of the chosen race. True when a race was
    // chosen and loaded.
    bool openJvArchive(const QString& archivePath);

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
    // Reads race `position` of `source` into the window's JRA-VAN race and
    // shows it. False when the race cannot be read or loaded (nothing
    // changes).
    bool loadRace(RaceSource& source, int position);
    void showLoadedRace();
    void makeNewspapers(RaceSelectionDialog& dialog, const std::vector<int>& positions);
    void predictAllRaces(RaceSelectionDialog& dialog);

    MainWindow& window_;
};

} // namespace zelkor
