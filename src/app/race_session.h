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
// card) and whether it changed since it was last saved or loaded. Windows
// observe it through its signals; commands change it through its methods.
class RaceSession : public QObject {
    Q_OBJECT
  public:
    explicit RaceSession(std::string programFolder, QObject* parent = nullptr);
    ~RaceSession() override;

    // The shown race. Batch jobs (predict-all) work on sheets of their
    // own: whatever writes here replaces what the user works on.
    RaceSheet& sheet() { return sheet_; }
    PredictionCommands& prediction() { return prediction_; }
    AppSettings& settings() { return settings_; }
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

    // The race last read from the JRA-VAN race card, and that card's path
    // (empty until an archive was opened).
    JvRaceCard& currentJvRace() { return currentJvRace_; }
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
    // the predict flag. Returns whether it changed. Also re-checks the
    // modified flag, since every edit of the form ends here.
    bool refreshPage();

    // The race differs from the one last saved or loaded.
    bool isModified() const { return modified_; }
    // Compares the sheet with the one last saved or loaded again.
    void updateModified();
    // The sheet as it is now counts as saved.
    void markUnchanged();

    // The steps of the file commands on the sheet; the prompt hears of
    // failures. Each tells sheetReplaced / fileChanged as it goes. A race
    // that replaces the shown one (new, loaded) starts without results;
    // saving leaves them as they are.
    void newRace();
    bool loadPredictionFile(const QString& path, UserPrompt& prompt);
    bool savePredictionFile(const QString& path, UserPrompt& prompt);
    // A race of the JRA-VAN card was read into the sheet: show it from its
    // first runner, as a race not saved yet and not predicted.
    void showLoadedRace();

    // Runs a prediction command (the bits of what changed) and tells it.
    void applyPrediction(unsigned changes);
    void clearResults() { applyPrediction(prediction_.clearResults()); }

  signals:
    // Another race (or another runner of it) is in the sheet: show it all.
    void sheetReplaced();
    // The race to name in the caption; empty for a new race.
    void raceNamed(const QString& raceName);
    void predictionChanged(unsigned changes);
    void pageRewritten(const QString& path);
    // The current file or the race card changed.
    void sourceChanged();
    void modifiedChanged(bool modified);

  private:
    std::string programFolder_;
    RaceSheet sheet_;
    PredictionCommands prediction_;
    AppSettings settings_;
    JvRaceCard currentJvRace_;
    std::string raceCardPath_;
    int storeDate_ = 0;
    QString currentFilePath_;
    QString currentFileName_;
    std::unique_ptr<RaceSheetPageFile> pageFile_;
    std::string settingsProblem_;
    std::string savedText_; // the prediction file text as last saved or loaded
    bool modified_ = false;
};

} // namespace zelkor
