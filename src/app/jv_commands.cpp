#include "app/jv_commands.h"

#include "app/file_chooser.h"
#include "app/main_form.h"
#include "app/main_window.h"
#include "app/newspaper_settings_dialog.h"
#include "app/progress_dialog.h"
#include "app/qt_text.h"
#include "app/race_selection_dialog.h"
#include "core/program_folder.h"
#include "html/backtest_page.h"
#include "html/newspaper_set.h"
#include "html/predict_all.h"
#include "jv/archive_intake.h"
#include "jv/archive_race_source.h"
#include "jv/backtest.h"
#include "jv/race_card.h"
#include "text/cp932.h"
#include "text/format.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <ctime>

namespace zelkor {

namespace {

const QString kJvFilter = QStringLiteral("JRA-VAN出馬表＋競走馬ﾌｧｲﾙ (*.lzh);;すべてのファイル (*)");

// The wait cursor for as long as the guard lives.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Lets the window system draw what changed (the progress window, the form,
// the viewer) while a batch job keeps the one thread busy. The user's
// input waits, so nothing can start a second job in between.
void letWindowsPaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The progress window of a batch job, drawn after every change.
class ProgressWindow : public ProgressSink {
  public:
    explicit ProgressWindow(QWidget* owner) : dialog_(owner) {
        dialog_.show();
        dialog_.raise();
        letWindowsPaint();
        dialog_.repaint();
    }
    void setText(const std::string& text) override {
        dialog_.setText(text);
        letWindowsPaint();
    }
    void setPosition(int position) override {
        dialog_.setPosition(position);
        letWindowsPaint();
    }
    void setStep(int step) override { dialog_.setStep(step); }
    void step() override {
        dialog_.step();
        letWindowsPaint();
    }

  private:
    ProgressDialog dialog_;
};

} // namespace

JvCommands::JvCommands(MainWindow& window) : QObject(&window), window_(window) {
    connect(window_.commandAction(kCmdOpenJraVan), &QAction::triggered, this,
            &JvCommands::openJraVanFile);
    connect(window_.commandAction(kCmdChangeRace), &QAction::triggered, this,
            &JvCommands::changeRace);
    connect(window_.commandAction(kCmdBacktest), &QAction::triggered, this,
            &JvCommands::backtestPastRaces);
    connect(window_.commandAction(kCmdNewspaperSettings), &QAction::triggered, this,
            &JvCommands::newspaperSettings);
}

void JvCommands::openJraVanFile() {
    const FileDialogRequest request{
        QStringLiteral("JRA-VAN出馬表＋競走馬ﾌｧｲﾙを開く"), kJvFilter, QStringLiteral("lzh"), {}};
    const QString path = window_.fileChooser().chooseOpenFile(&window_, request);
    if (path.isEmpty())
        return;
    if (openJvArchive(path))
        window_.clearResults();
}

bool JvCommands::openJvArchive(const QString& archivePath) {
    window_.form().formToSheet();
    JvRaceCard& card = window_.currentJvRace();
    if (!intakeJvArchive(toNativePath(archivePath), window_.programFolder(), card,
                         window_.prompt()))
        return false;
    window_.raceCardPath() = card.raceCardPath;
    window_.enableChangeRace();
    return selectAndLoadRace();
}

void JvCommands::changeRace() {
    if (window_.raceCardPath().empty())
        return;
    if (selectAndLoadRace())
        window_.clearResults();
}

bool JvCommands::selectAndLoadRace() {
    ArchiveRaceSource source(window_.raceCardPath(), window_.programFolder());
    const int position = selectRace(source);
    return position > 0 && loadRace(source, position);
}

int JvCommands::selectRace(RaceSource& source) {
    RaceSelectionDialog dialog(source, window_.prompt(), window_.shell(), &window_);
    connect(&dialog, &RaceSelectionDialog::newspapersRequested, this,
            [this, &dialog](const std::vector<int>& races) { makeNewspapers(dialog, races); });
    connect(&dialog, &RaceSelectionDialog::predictAllRequested, this,
            [this, &dialog](const std::vector<int>&) { predictAllRaces(dialog); });
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    return dialog.chosenRace();
}

bool JvCommands::loadRace(RaceSource& source, int position) {
    WaitCursor wait;
    // A card that cannot be read leaves the sheet as it was (the reader has
    // told the user why) rather than loading a half-read race.
    if (!loadChosenJvRace(source, position, window_.currentJvRace(), window_.sheet(),
                          window_.prompt()))
        return false;
    showLoadedRace();
    return true;
}

void JvCommands::showLoadedRace() {
    // Another race now: saving must not overwrite the file of the race
    // that was shown before.
    window_.forgetCurrentFile();
    window_.sheet().currentRunner = 1;
    window_.setRaceCaption(toQt(window_.sheet().raceName));
    window_.showSheet();
    window_.refreshRaceSheetPage();
}

void JvCommands::makeNewspapers(RaceSelectionDialog& dialog, const std::vector<int>& positions) {
    if (positions.empty())
        return;
    const std::string& programFolder = window_.programFolder();
    if (positions.size() == 1) {
        JvRaceCard race;
        if (!dialog.source().readRace(race, positions.front(), window_.prompt()) ||
            !checkRaceLoadable(race, window_.prompt()))
            return;
        const FileDialogRequest request =
            pageSaveRequest(QString(), programFolder, singleNewspaperFileName(race));
        const QString path = window_.fileChooser().chooseSaveFile(&dialog, request);
        if (path.isEmpty())
            return;
        WaitCursor wait;
        if (writeSingleNewspaper(race, dialog.source(), window_.settings(), programFolder,
                                 toNativePath(path), window_.prompt(), window_.shell()) != 1)
            reportPageNotWritten(window_.prompt(), path);
        return;
    }
    WaitCursor wait;
    ProgressWindow progress(&dialog);
    writeNewspaperSet(dialog.source(), positions, window_.settings(), programFolder,
                      window_.prompt(), progress, window_.shell());
}

void JvCommands::predictAllRaces(RaceSelectionDialog& dialog) {
    WaitCursor wait;
    ProgressWindow progress(&dialog);
    const std::string index =
        predictAll(dialog.source(), window_.sheet(), window_.currentJvRace(), window_.settings(),
                   window_.programFolder(), currentLocalTime(), window_.prompt(), progress,
                   window_.shell(), [this](const JvRaceCard&, RaceSheet&) {
                       showLoadedRace();
                       letWindowsPaint();
                   });
    // The result lists showed an earlier race.
    if (!index.empty())
        window_.clearResults();
}

void JvCommands::backtestPastRaces() {
    if (window_.raceCardPath().empty())
        return;
    WaitCursor wait;
    const PastRaceRules rules;
    Backtest backtest;
    {
        ProgressWindow progress(&window_);
        if (!backtestHorseFile(horseFilePathFor(window_.raceCardPath()), rules, backtest,
                               window_.prompt(), progress))
            return;
    }
    const std::string page = backtestPagePath(window_.programFolder());
    if (!writeBacktestPage(page, backtest, rules, window_.shell()))
        window_.prompt().showMessage(
            format("ページを書き込めませんでした: %s", pathForDisplay(page).c_str()));
}

void JvCommands::newspaperSettings() {
    NewspaperSettingsDialog dialog(window_.settings(), window_.shell(), window_.programFolder(),
                                   &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    writeSettings(window_.settings(), window_.configPath());
    window_.refreshRaceSheetPage();
}

} // namespace zelkor
