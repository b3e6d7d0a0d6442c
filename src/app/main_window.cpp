#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/artwork.h"
#include "app/file_chooser.h"
#include "app/help.h"
#include "app/jv_commands.h"
#include "app/main_form.h"
#include "app/page_viewer_dialog.h"
#include "app/qt_text.h"
#include "app/shell_address.h"
#include "app/viewer_placement.h"
#include "core/prediction_file.h"
#include "core/program_folder.h"
#include "html/race_sheet_page.h"
#include "html/sports_page.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QUrl>
#include <QWindow>
#include <ctime>

namespace zelkor {

namespace {

const QString kProgramCaption = QStringLiteral("ゼルコ馬 2000");

// Wide enough for the race table of the race-sheet page.
constexpr int kViewerWidth = 640;

const QString kZelFilter = QStringLiteral("ゼルコ馬ファイル (*.zel);;すべてのファイル (*)");

constexpr const char* kFirstUseText =
    "初めて使う方へ・・・\n\nJRA-VANデータを使用する場合はメニューの[ファイル]-[JRA-VANﾌｧｲﾙを開く]"
    "\nでJRA-VANデータを開いた後、予想したいレースをひとつだけ選択して「予想レース選択」\nを押して"
    "からツールバーの「予想」を押してください。\n競馬新聞などから入力する場合は各項目を選択してツー"
    "ルバーの「予想」を押してください。\n　○詳しくはヘルプを参照してください。";

// The command line names a file; quotes around it are the shell's, not the
// name's.
QString withoutSurroundingQuotes(QString text) {
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.mid(1, text.size() - 2);
    return text;
}

// The one exit question, asked by the exit command and the close box alike.
bool userConfirmsExit(UserPrompt& prompt) {
    return prompt.askYesNo("ゼルコ馬 2000を終了しますか？", "ゼルコ馬 2000 終了の確認");
}

} // namespace

MainWindow::MainWindow(std::string programFolder, AppServices services, QWidget* parent)
    : QMainWindow(parent), programFolder_(std::move(programFolder)), services_(services) {
    setWindowTitle(toQt(kAppTitle));
    setWindowIcon(applicationIcon());
    form_ = new MainForm(sheet_, this);
    setCentralWidget(form_);
    buildCommands();
    buildMenus();
    buildToolBar();
    viewer_ = new PageViewerDialog(this);
    jvCommands_ = new JvCommands(*this);

    connect(form_, &MainForm::committed, this, &MainWindow::refreshRaceSheetPage);
    connect(form_, &MainForm::nameEdited, this, [this] {
        commands_.updatePredictFlag(sheet_);
        updateCommandStates();
    });
    connect(form_, &MainForm::raceNameLeft, this, &MainWindow::setRaceCaption);
    // Told once the commit that found it is over, so the message box taking
    // the focus cannot land in the middle of reading the form.
    connect(
        form_, &MainForm::textReplaced, this,
        [this](const QString& heading, const QString& stored) {
            services_.prompt.showNote(
                toCp932(QStringLiteral("%1にはShift-JISで表せない文字があるため、「%2」として記録し"
                                       "ました。")
                            .arg(heading, stored)),
                MessageIcon::Information);
        },
        Qt::QueuedConnection);
    connect(form_, &MainForm::resultSelected, this, [this](int line) {
        form_->commit();
        applyPrediction(commands_.selectResult(sheet_, line));
    });
    connect(viewer_, &PageViewerDialog::linkClicked, this, [this](const QUrl& address) {
        services_.shell.openUrl(shellAddress(address.toString()));
    });
    connect(viewer_, &PageViewerDialog::helpRequested, this,
            [this] { openHelp(shell(), kHelpViewer); });

    updateCommandStates();
    // A fixed window, as big as its form needs.
    adjustSize();
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow() {
    // The widgets outlive the sheet they edit; keep their last focus changes
    // away from it.
    form_->detach();
    disconnect(form_, nullptr, this, nullptr);
}

void MainWindow::buildCommands() {
    struct Def {
        int id;
        const char16_t* text;
        CommandArt art;
        const char16_t* toolText;
        void (MainWindow::*slot)();
    };
    const Def defs[] = {
        {kCmdNewRace, u"新規レース入力(&N)", CommandArt::NewRace, u"新規", &MainWindow::newRace},
        {kCmdOpenFile, u"ゼルコ馬ﾌｧｲﾙを開く(&O)...", CommandArt::OpenFile, u"開く",
         &MainWindow::openPredictionFile},
        {kCmdOpenJraVan, u"JRA-VANﾌｧｲﾙを開く(&J)...", CommandArt::OpenJraVan, u"JRA-VAN", nullptr},
        {kCmdChangeRace, u"予想ﾚｰｽを変更(&E)", CommandArt::ChangeRace, u"ﾚｰｽ変更", nullptr},
        {kCmdBacktest, u"過去レースで検証(&B)...", CommandArt::ChangeRace, u"検証", nullptr},
        {kCmdSave, u"上書き保存(&S)", CommandArt::Save, u"保存", &MainWindow::save},
        {kCmdSaveAs, u"名前を付けて保存(&A)...", CommandArt::Save, u"名前を付けて保存",
         &MainWindow::saveAs},
        {kCmdExit, u"ゼルコ馬の終了(&X)", CommandArt::Help, u"終了", &MainWindow::exitCommand},
        {kCmdNewspaperSettings, u"新聞(&O)", CommandArt::Newspaper, u"新聞設定", nullptr},
        {kCmdHelp, u"ゼルコ馬'2000のヘルプ(&W)", CommandArt::Help, u"ヘルプ",
         &MainWindow::helpContents},
        {kCmdAbout, u"ﾊﾞｰｼﾞｮﾝ情報 (&A)...", CommandArt::Help, u"ﾊﾞｰｼﾞｮﾝ情報", &MainWindow::about},
        {kCmdPredict, u"予想(&Y)", CommandArt::Predict, u"予想", &MainWindow::predict},
        {kCmdBets, u"買い目(&B)", CommandArt::Bets, u"買い目", &MainWindow::bets},
        {kCmdTrainer, u"調教師(&T)", CommandArt::Trainer, u"調教師", &MainWindow::trainer},
        {kCmdSports, u"ZELスポ(&A)", CommandArt::Sports, u"ZELスポ", &MainWindow::sportsPage},
    };
    for (const Def& d : defs) {
        auto* action = new QAction(QString::fromUtf16(d.text), this);
        action->setData(d.id);
        action->setIconText(QString::fromUtf16(d.toolText));
        if (d.id != kCmdExit && d.id != kCmdAbout && d.id != kCmdSaveAs && d.id != kCmdBacktest)
            action->setIcon(commandIcon(d.art));
        if (d.slot)
            connect(action, &QAction::triggered, this, d.slot);
        actions_[d.id] = action;
    }
    // The JRA-VAN and newspaper commands are connected by JvCommands; until
    // an archive has been opened there is no race to change and no horse
    // file to backtest.
    actions_[kCmdChangeRace]->setEnabled(false);
    actions_[kCmdBacktest]->setEnabled(false);
}

QAction* MainWindow::commandAction(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->addAction(actions_[kCmdNewRace]);
    file->addAction(actions_[kCmdOpenFile]);
    file->addAction(actions_[kCmdOpenJraVan]);
    file->addSeparator();
    file->addAction(actions_[kCmdChangeRace]);
    file->addAction(actions_[kCmdBacktest]);
    file->addSeparator();
    file->addAction(actions_[kCmdSave]);
    file->addAction(actions_[kCmdSaveAs]);
    file->addSeparator();
    file->addAction(actions_[kCmdExit]);
    QMenu* settingsMenu = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    settingsMenu->addAction(actions_[kCmdNewspaperSettings]);
    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->addAction(actions_[kCmdHelp]);
    help->addSeparator();
    help->addAction(actions_[kCmdAbout]);
}

void MainWindow::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ツールバー"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (int id : {kCmdNewRace, kCmdOpenFile, kCmdOpenJraVan, kCmdChangeRace, kCmdSave})
        toolBar_->addAction(actions_[id]);
    toolBar_->addSeparator();
    for (int id : {kCmdPredict, kCmdBets, kCmdTrainer, kCmdSports})
        toolBar_->addAction(actions_[id]);
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[kCmdNewspaperSettings]);
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[kCmdHelp]);
}

std::string MainWindow::configPath() const {
    return programFolder_ + kConfigFileName;
}

std::string MainWindow::pageFilePath() const {
    return pageFile_ ? pageFile_->path() : std::string();
}

void MainWindow::start(const QString& commandLineText) {
    for (const char* folder : {"HTML", "JRA-VAN", "KTDAT"})
        QDir().mkdir(fromNativePath(programFolder_ + folder));
    pageFile_ = std::make_unique<RaceSheetPageFile>(programFolder_);
    std::string settingsProblem;
    readSettings(settings_, configPath(), &settingsProblem);

    // The viewer goes beside the main window once the window manager has
    // placed that (see eventFilter).
    show();
    if (QWindow* window = windowHandle(); window && !window->isExposed())
        window->installEventFilter(this);
    else
        showViewerBeside();

    if (!settingsProblem.empty())
        services_.prompt.showMessage(settingsProblem);
    if (settings_.showFirstUseMessage != 0)
        services_.prompt.showNote(kFirstUseText, MessageIcon::Question);
    settings_.showFirstUseMessage = 0;
    writeSettings(settings_, configPath());

    // A loaded file has already written its page.
    const QString file = withoutSurroundingQuotes(commandLineText);
    if (!file.isEmpty() && loadPredictionFile(file)) {
        currentFilePath_ = file;
        currentFileName_ = file;
    } else {
        refreshRaceSheetPage();
    }
    actions_[kCmdChangeRace]->setEnabled(false);
    actions_[kCmdBacktest]->setEnabled(false);
    updateCommandStates();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The first exposure of the main window comes after the window manager
    // has placed it; only then is its frame where the user sees it.
    if (watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        showViewerBeside();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showViewerBeside() {
    const QRect frame = frameGeometry();
    // The viewer's frame is drawn by the same window manager as ours.
    const QSize margins = frame.size() - size();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : frame;
    const WindowPair place =
        placeViewerBeside(frame, available, QSize(kViewerWidth + margins.width(), frame.height()));
    if (place.mainFrame != frame)
        move(place.mainFrame.topLeft());
    viewer_->resize(place.viewerFrame.size() - margins);
    viewer_->move(place.viewerFrame.topLeft());
    viewer_->show();
}

bool MainWindow::refreshRaceSheetPage() {
    if (!pageFile_ || pageFile_->refresh(sheet_, settings_) != 1)
        return false;
    viewer_->showPageFile(fromNativePath(pageFile_->path()));
    commands_.setPredictFlag(pageFile_->predictEnabled());
    updateCommandStates();
    return true;
}

void MainWindow::showSheet() {
    form_->sheetToForm();
}

void MainWindow::clearResults() {
    applyPrediction(commands_.clearResults());
}

void MainWindow::setRaceCaption(const QString& raceName) {
    setWindowTitle(QStringLiteral("[%1] - %2").arg(raceName, kProgramCaption));
}

void MainWindow::enableChangeRace() {
    actions_[kCmdChangeRace]->setEnabled(true);
    actions_[kCmdBacktest]->setEnabled(true);
}

void MainWindow::applyPrediction(unsigned changes) {
    form_->showPrediction(commands_, changes);
    updateCommandStates();
}

void MainWindow::updateCommandStates() {
    actions_[kCmdBets]->setEnabled(commands_.betsEnabled());
    actions_[kCmdTrainer]->setEnabled(commands_.trainerEnabled());
    actions_[kCmdSports]->setEnabled(commands_.sportsEnabled());
}

bool MainWindow::loadPredictionFile(const QString& path) {
    if (readPredictionFile(sheet_, toNativePath(path), services_.prompt) != 1)
        return false;
    setRaceCaption(toQt(sheet_.raceName));
    showSheet();
    refreshRaceSheetPage();
    return true;
}

void MainWindow::newRace() {
    currentFilePath_.clear();
    currentFileName_.clear();
    sheet_.currentRunner = 1;
    sheet_.resetRaceConditions();
    sheet_.resetRunners();
    clearResults();
    showSheet();
    setWindowTitle(toQt(kAppTitle));
    refreshRaceSheetPage();
}

void MainWindow::openPredictionFile() {
    form_->formToSheet();
    FileDialogRequest request{
        QStringLiteral("ゼルコ馬ファイルを開く"), kZelFilter, QStringLiteral("zel"), {}};
    const QString path = services_.files.chooseOpenFile(this, request);
    if (path.isEmpty())
        return;
    if (loadPredictionFile(path)) {
        currentFilePath_ = path;
        currentFileName_ = QFileInfo(path).fileName();
        clearResults();
    }
}

void MainWindow::save() {
    if (currentFilePath_.isEmpty()) {
        saveAs();
        return;
    }
    form_->formToSheet();
    writePredictionFile(sheet_, toNativePath(currentFilePath_), services_.prompt);
}

void MainWindow::saveAs() {
    form_->formToSheet();
    if (currentFileName_.isEmpty())
        currentFileName_ = toQt(defaultPredictionFileName(sheet_));
    FileDialogRequest request{QStringLiteral("ゼルコ馬ファイルとして保存"), kZelFilter,
                              QStringLiteral("zel"), currentFileName_};
    const QString path = services_.files.chooseSaveFile(this, request);
    if (path.isEmpty())
        return;
    if (writePredictionFile(sheet_, toNativePath(path), services_.prompt) == 1) {
        currentFilePath_ = path;
        currentFileName_ = QFileInfo(path).fileName();
        clearResults();
    }
}

void MainWindow::exitCommand() {
    if (!userConfirmsExit(services_.prompt))
        return;
    exitConfirmed_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close box asks the exit question too; nothing is saved on the way.
    if (!exitConfirmed_ && !userConfirmsExit(services_.prompt)) {
        event->ignore();
        return;
    }
    exitConfirmed_ = true;
    viewer_->hide();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // F1 reaches here from whichever control has the focus; the viewer, a
    // window of its own, answers its F1 itself.
    if (event->key() == Qt::Key_F1) {
        openHelp(services_.shell, kHelpMainWindow);
        return;
    }
    // Esc reaches here only when no control took it: an open drop-down list
    // or menu closes on its Esc and nothing else happens.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        exitCommand();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::helpContents() {
    openHelp(services_.shell, kHelpContents);
}

void MainWindow::about() {
    form_->formToSheet();
    AboutDialog dialog(services_.shell, this);
    dialog.exec();
}

void MainWindow::predict() {
    form_->commit();
    applyPrediction(commands_.predict(sheet_, services_.prompt));
}

void MainWindow::bets() {
    form_->commit();
    applyPrediction(commands_.bets(sheet_, services_.prompt));
}

void MainWindow::trainer() {
    form_->commit();
    applyPrediction(commands_.trainer(sheet_, services_.prompt));
}

void MainWindow::sportsPage() {
    if (!commands_.predictEnabled() || !commands_.sportsEnabled()) {
        services_.prompt.showMessage("先に予想してください。");
        return;
    }
    const std::tm now = currentLocalTime();
    const FileDialogRequest request = pageSaveRequest(
        QStringLiteral("名前を付けて保存"), programFolder_, suggestedSportsFileName(sheet_, now));
    const QString path = services_.files.chooseSaveFile(this, request);
    if (path.isEmpty())
        return;
    if (writeSportsPage(toNativePath(path), sheet_, settings_, programFolder_, now) != 1) {
        reportPageNotWritten(services_.prompt, path);
        return;
    }
    services_.shell.openDocument(toNativePath(path));
}

} // namespace zelkor
