#pragma once

#include "core/ports.h"
#include "core/race_sheet.h"
#include "core/report.h"
#include "core/settings.h"
#include "jv/race_card.h"

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

class QAction;
class QToolBar;

namespace zelkor {

class FileChooser;
class JvCommands;
class MainForm;
class PageViewerDialog;
class RaceSheetPageFile;

// Command ids of the menu and the toolbar.
enum CommandId : int {
    kCmdNewRace = 57600,
    kCmdOpenFile = 32773,
    kCmdOpenJraVan = 32774,
    kCmdChangeRace = 32800,
    kCmdBacktest = 32801,
    kCmdSave = 57603,
    kCmdSaveAs = 57604,
    kCmdExit = 32776,
    kCmdNewspaperSettings = 32775,
    kCmdHelp = 32771,
    kCmdAbout = 57664,
    kCmdPredict = 1026,
    kCmdBets = 1029,
    kCmdTrainer = 1030,
    kCmdSports = 1039,
};

// How the window reaches the user and the platform; tests pass fakes.
struct AppServices {
    UserPrompt& prompt;
    Shell& shell;
    FileChooser& files;
};

// The main window: owns the one race sheet, the form over it, the viewer of
// the race-sheet page, the settings and the JRA-VAN state of the last opened
// archive, and carries out every menu and toolbar command.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(std::string programFolder, AppServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up steps that follow construction: folders, page file,
    // settings, viewer, first-use note, the prediction file named on the
    // command line (may be empty), the first page.
    void start(const QString& commandLineText);

    // What other commands (JRA-VAN, newspapers, predict-all) work with.
    RaceSheet& sheet() { return sheet_; }
    MainForm& form() { return *form_; }
    PredictionCommands& prediction() { return commands_; }
    AppSettings& settings() { return settings_; }
    const std::string& programFolder() const { return programFolder_; }
    std::string configPath() const;
    UserPrompt& prompt() { return services_.prompt; }
    Shell& shell() { return services_.shell; }
    FileChooser& fileChooser() { return services_.files; }
    PageViewerDialog& viewer() { return *viewer_; }
    JvRaceCard& currentJvRace() { return currentJvRace_; }
    std::string& raceCardPath() { return raceCardPath_; }
    QAction* commandAction(int id) const;
    const QString& currentFilePath() const { return currentFilePath_; }
    const QString& currentFileName() const { return currentFileName_; }
    std::string pageFilePath() const;

    // Rewrites the race-sheet page; when it changed, reloads the viewer and
    // updates the predict flag. Returns whether it changed.
    bool refreshRaceSheetPage();
    // Sheet to form.
    void showSheet();
    // Empties the result lists and the report; bets, trainer, sports off.
    void clearResults();
    // Caption "[race name] - ゼルコ馬 2000".
    void setRaceCaption(const QString& raceName);
    // Makes 予想ﾚｰｽを変更 usable (after a JRA-VAN archive was opened).
    void enableChangeRace();
    // Another race replaced the shown one: the next save asks for a name.
    void forgetCurrentFile() {
        currentFilePath_.clear();
        currentFileName_.clear();
    }
    // The JRA-VAN, newspaper and settings commands.
    JvCommands& jvCommands() { return *jvCommands_; }

  public slots:
    void newRace();
    void openPredictionFile();
    void save();
    void saveAs();
    void exitCommand();
    void helpContents();
    void about();
    void predict();
    void bets();
    void trainer();
    void sportsPage();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildCommands();
    void buildMenus();
    void buildToolBar();
    void applyPrediction(unsigned changes);
    void updateCommandStates();
    bool loadPredictionFile(const QString& path);
    // Places the viewer beside the window as it stands on screen and shows it.
    void showViewerBeside();

    std::string programFolder_;
    AppServices services_;
    RaceSheet sheet_;
    PredictionCommands commands_;
    AppSettings settings_;
    JvRaceCard currentJvRace_;
    std::string raceCardPath_;
    QString currentFilePath_;
    QString currentFileName_;
    std::unique_ptr<RaceSheetPageFile> pageFile_;
    MainForm* form_;
    PageViewerDialog* viewer_;
    JvCommands* jvCommands_;
    QToolBar* toolBar_ = nullptr;
    std::map<int, QAction*> actions_;
    bool exitConfirmed_ = false;
};

} // namespace zelkor
