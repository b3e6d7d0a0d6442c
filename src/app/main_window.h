#pragma once

#include "app/app_ports.h"
#include "app/file_chooser.h"
#include "app/main_actions.h"
#include "app/window_state.h"

#include <QMainWindow>
#include <string>

class QDockWidget;
class QLabel;
class QMenu;
class QScreen;

namespace zelkor {

class JvCommands;
class JvDataImportCommand;
class MainForm;
class PageViewer;
class RaceSession;

// How the window reaches the user and the platform; tests pass fakes.
struct AppServices {
    AppPrompt& prompt;
    AppShell& shell;
    FileChooser& files;
};

// The status bar's word on a page a command wrote: what, and where.
QString writtenText(const char16_t* what, const std::string& nativePath);

// The main window: the form over the session's race, the race-sheet viewer
// docked on its right, the menus, toolbar and status bar, and the commands
// of the prediction file, the form and help. JvCommands carries out those
// of the JRA-VAN race card.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(std::string programFolder, AppServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up steps that follow construction: folders, page file,
    // settings, the window where it stood last, the first-use note, the
    // page, the file named on the command line (may be empty) opened as
    // openFile does.
    void start(const QString& commandLineText);

    RaceSession& session() { return *session_; }
    MainForm& form() { return *form_; }
    PageViewer& viewer() { return *viewer_; }
    const MainActions& actions() const { return actions_; }
    JvCommands& jvCommands() { return *jvCommands_; }
    JvDataImportCommand& jvDataImport() { return *jvDataImport_; }
    WindowState& windowState() { return windowState_; }

    // Before a command replaces a race changed since it was last saved or
    // loaded: asks whether to save it, and saves it when told to. False
    // when the command should not go on (cancelled, or the save failed).
    bool askToSaveChanges();
    // Opens a JRA-VAN archive (by its .lzh name) or else a prediction file,
    // as the menu command for its kind does once the file is chosen (the
    // command line, recent files, drops).
    void openFile(const QString& path);
    // What a drop of these files and folders does: one prediction file or
    // JRA-VAN archive opens (openFile); anything else is imported as
    // JV-Data.
    void openDroppedPaths(const QStringList& paths);

  public slots:
    void newRace();
    void openPredictionFile();
    bool save();
    bool saveAs();
    void exitCommand();
    void helpContents();
    void about();
    void predict();
    void bets();
    void trainer();
    void sportsPage();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void connectActions();
    void connectSession();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void fillRecentFiles();
    void placeWindow();
    void arrangeForScreen(const QScreen& screen);
    void settleDocks();
    int dockSeparator() const;
    void bringPredictionForward();
    void waitUntilShown();
    void updateCommandStates();
    void updateStatus();
    void setRaceCaption(const QString& raceName);
    bool userAgreesToExit();
    // A word in the status bar on what a command did, with the browser
    // that could not be started for it since the last word.
    void tellInStatusBar(const QString& text);
    // Loads the prediction file at `path`; on success it is the current
    // file and a recent one.
    bool openPredictionFileAt(const QString& path);

    AppServices services_;
    WindowState windowState_;
    FolderRememberingChooser files_;
    RaceSession* session_;
    MainActions actions_;
    MainForm* form_;
    PageViewer* viewer_;
    // On a screen too low for the form above a full field, the prediction
    // is a dock of its own, a tab beside the viewer; otherwise none.
    QDockWidget* predictionDock_ = nullptr;
    JvCommands* jvCommands_;
    JvDataImportCommand* jvDataImport_;
    QMenu* recentMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QLabel* fileStatus_ = nullptr;
    QLabel* raceStatus_ = nullptr;
    QLabel* stateStatus_ = nullptr;
    QString captionName_;    // the race name as the caption last took it
    QString browserProblem_; // the browser not started since the last word
    bool exitConfirmed_ = false;
};

} // namespace zelkor
