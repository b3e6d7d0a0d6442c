#pragma once

#include "core/race_sheet.h"
#include "core/report.h"
#include "core/settings.h"
#include "race/race_card.h"

#include <QObject>
#include <QString>
#include <memory>
#include <string>

namespace zelkor {

class RaceSheetPageFile;
class UserPrompt;

// The race the desktop program works on: the race sheet, its prediction,
// the settings, where the race came from (a prediction file, a JRA-VAN race
// card) and whether it changed since it was last saved or loaded. It is the
// only writer of all of them: windows read them through const views, change
// them through the methods below named after what the user did, and hear of
// every change through the signals.
class RaceSession : public QObject {
    Q_OBJECT
  public:
    explicit RaceSession(std::string programFolder, QObject* parent = nullptr);
    ~RaceSession() override;

    // The shown race. Batch jobs (predict-all) work on sheets of their own.
    const RaceSheet& sheet() const { return sheet_; }
    const PredictionCommands& prediction() const { return prediction_; }
    const AppSettings& settings() const { return settings_; }
    const std::string& programFolder() const { return programFolder_; }
    std::string configPath() const;

    // Reads the settings, the first-use note turned off. Returns whether the
    // note is due.
    bool open();
    // The working folders, the race-sheet page file, and the settings file
    // with the first-use note off: made once the window is shown, since
    // they wait for the disk.
    void prepareFolder();
    // What was wrong with a settings file that could not be read (the
    // defaults serve this run, the file is left as it is), or empty.
    const std::string& settingsProblem() const { return settingsProblem_; }
    // Settings edited in a dialog: they serve from now on (the page is
    // redrawn with them); saveSettings keeps them for the next start.
    void setSettings(const AppSettings& settings);
    void saveSettings();

    // The race last read from the JRA-VAN race card, and that card's path
    // (empty until an archive was opened).
    const JvRaceCard& loadedJvRace() const { return loadedJvRace_; }
    const std::string& raceCardPath() const { return raceCardPath_; }
    void setRaceCardPath(const std::string& path);
    // The day of the JV-Data store (yyyymmdd) whose races were opened last,
    // 0 when they came from an archive. One replaces the other.
    int storeDate() const { return storeDate_; }
    void setStoreDate(int date);
    // Races were opened from an archive or the store: change race and the
    // backtest have a source.
    bool hasRaceSource() const { return storeDate_ != 0 || !raceCardPath_.empty(); }
    // The JV-Data store has been made by an import, so it holds race days
    // to backtest (looked up without opening it).
    bool storeAtHand() const;

    // The prediction file last opened or saved (empty for a race not saved)
    // and the name a save-as suggests.
    const QString& currentFilePath() const { return currentFilePath_; }
    const QString& currentFileName() const { return currentFileName_; }
    void setCurrentFile(const QString& path, const QString& name);
    void setSuggestedFileName(const QString& name) { currentFileName_ = name; }
    // Another race replaced the shown one: the next save asks for a name.
    void forgetCurrentFile() { setCurrentFile({}, {}); }

    // The race-sheet page the viewer shows.
    std::string pageFilePath() const;
    // Rewrites the page; when it changed, tells pageRewritten and updates
    // the predict flag. Returns whether it changed.
    bool refreshPage();

    // The race was changed since it was last saved or loaded (a change
    // back counts as one): the revision that counts the changes differs
    // from the one saving or loading remembered.
    bool isModified() const { return revision_ != savedRevision_; }

    // What the user entered in the form. Each tells sheetEdited when the
    // sheet changed. The race group: racecourse, number, name, conditions
    // and field size, taken from `race`.
    void setRaceFields(const RaceSheet& race);
    // The runner row of horse `horse`.
    void setRunner(int horse, const RunnerEntry& runner);
    // The name being typed for `horse`; the predict command follows it.
    void setRunnerName(int horse, const std::string& name);
    // The field size, at once, before the box is left.
    void setFieldSize(int runners);
    // A sex or age limit, and the sex or age it gives every runner; an age
    // limit that implies no age returns false and keeps the ages.
    void setSexLimit(int limit);
    bool setAgeLimit(int limit);
    // The well-known race at `suggestion` of the race-name list: its
    // conditions and name, and the sex and age they give every runner.
    // False, changing nothing, for a position outside the list.
    bool chooseRacePreset(int suggestion);

    // The file commands; the prompt hears of failures. A race that replaces
    // the shown one (new, loaded) starts without results and tells
    // sheetReplaced; saving leaves them as they are.
    void newRace();
    bool loadPredictionFile(const QString& path, UserPrompt& prompt);
    bool savePredictionFile(const QString& path, UserPrompt& prompt);
    // A race read from a JRA-VAN card or the store: shown from its first
    // runner, as a race not saved yet and not predicted.
    void takeLoadedRace(JvRaceCard card, RaceSheet sheet);

    // The prediction commands; each tells predictionChanged.
    void predict(UserPrompt& prompt);
    void showBets(UserPrompt& prompt);
    void showTrainer(UserPrompt& prompt);
    // Line `line` of the results (−1 for none) was selected; its runner is
    // told by runnerChosen.
    void selectResult(int line);

  signals:
    // Another race is in the sheet: show it all from its first runner.
    void sheetReplaced();
    // Fields of the shown race changed.
    void sheetEdited();
    // The results point at this runner: show it.
    void runnerChosen(int horse);
    // The race to name in the caption; empty for a new race.
    void raceNamed(const QString& raceName);
    void predictionChanged(unsigned changes);
    void pageRewritten(const QString& path);
    // The current file or the race card changed.
    void sourceChanged();
    void modifiedChanged(bool modified);

  private:
    // Takes `next` as the sheet when it differs; tells sheetEdited.
    void edit(const RaceSheet& next);
    // The race as it is now counts as saved.
    void markSaved();
    // A new race in the sheet: unchanged, without results, named `name`.
    void replaced(const QString& name);
    void applyPrediction(unsigned changes);

    std::string programFolder_;
    RaceSheet sheet_;
    PredictionCommands prediction_;
    AppSettings settings_;
    JvRaceCard loadedJvRace_;
    std::string raceCardPath_;
    int storeDate_ = 0;
    QString currentFilePath_;
    QString currentFileName_;
    std::unique_ptr<RaceSheetPageFile> pageFile_;
    std::string settingsProblem_;
    unsigned long long revision_ = 0;
    unsigned long long savedRevision_ = 0;
};

} // namespace zelkor
