#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/alt_key_guard.h"
#include "app/app_icons.h"
#include "app/chances_view.h"
#include "app/help.h"
#include "app/jv_commands.h"
#include "app/jvdata_import_command.h"
#include "app/main_form.h"
#include "app/page_viewer.h"
#include "app/pane_keys.h"
#include "app/qt_text.h"
#include "app/race_session.h"
#include "app/shell_address.h"
#include "core/prediction_file.h"
#include "core/program_folder.h"
#include "html/sports_page.h"
#include "ui_main_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <ctime>

namespace zelkor {

namespace {

const QString kProgramCaption = QStringLiteral("ゼルコ馬 2000");

const QString kZelFilter = QStringLiteral("ゼルコ馬ファイル (*.zel);;すべてのファイル (*)");

// The command line names a file; quotes around it are the shell's, not the
// name's.
QString withoutSurroundingQuotes(QString text) {
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        text = text.mid(1, text.size() - 2);
    return text;
}

// The exit question of an unchanged race, asked by the exit command and the
// close box alike.
bool userConfirmsExit(UserPrompt& prompt) {
    return prompt.askYesNo("ゼルコ馬 2000を終了しますか？", "ゼルコ馬 2000 終了の確認");
}

bool isPredictionFile(const QString& path) {
    return QFileInfo(path).suffix().compare(u"zel", Qt::CaseInsensitive) == 0;
}

// The local files and folders a drag carries; none when it carries
// anything else.
QStringList draggedPaths(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

// A drop is always taken as a copy: a file manager offering a move would
// otherwise take the user's files away from where they were.
bool acceptAsCopy(QDropEvent* event) {
    if (!(event->possibleActions() & Qt::CopyAction) || draggedPaths(event->mimeData()).isEmpty())
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

bool isJraVanArchive(const QString& path) {
    return QFileInfo(path).suffix().compare(u"lzh", Qt::CaseInsensitive) == 0;
}

// The form scrolls where the window is narrower or lower than it (a small
// screen, or large text); otherwise the window is made as big as the form
// asks, and a pixel more, which a fractional scale may round away.
class FormScroller : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth() + 1;
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

} // namespace

QString writtenText(const char16_t* what, const std::string& nativePath) {
    return QStringLiteral("%1を書き出しました: %2")
        .arg(QString::fromUtf16(what), QDir::toNativeSeparators(fromNativePath(nativePath)));
}

MainWindow::MainWindow(std::string programFolder, AppServices services, QWidget* parent)
    : QMainWindow(parent), services_(services), windowState_(programFolder),
      files_(services.files, windowState_),
      session_(new RaceSession(std::move(programFolder), this)), actions_(makeMainActions(this)) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(toQt(kAppTitle));
    setWindowIcon(applicationIcon());
    setAcceptDrops(true);
    new AltKeyGuard(this);
    form_ = new MainForm(*session_, this);
    auto* scroller = new FormScroller(this);
    scroller->setObjectName(QStringLiteral("formScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(form_);
    setCentralWidget(scroller);
    viewer_ = new PageViewer(this);
    addDockWidget(Qt::RightDockWidgetArea, viewer_);
    buildMenus();
    buildToolBar();
    buildStatusBar();
    jvCommands_ = new JvCommands(*session_, AppServices{services_.prompt, services_.shell, files_},
                                 this, [this] { return askToSaveChanges(); });
    jvDataImport_ = new JvDataImportCommand(
        *session_, AppServices{services_.prompt, services_.shell, files_}, this);
    connectActions();
    connectSession();
    updateCommandStates();
    updateStatus();
    services_.shell.notStarted = [this](const QString& target) {
        browserProblem_ = QStringLiteral("ブラウザを起動できませんでした (%1)")
                              .arg(QDir::toNativeSeparators(target));
        statusBar()->showMessage(browserProblem_);
    };
}

MainWindow::~MainWindow() {
    services_.shell.notStarted = nullptr;
    // The widgets outlive the sheet they edit; keep their last focus changes
    // away from it.
    form_->detach();
    disconnect(form_, nullptr, this, nullptr);
    disconnect(session_, nullptr, this, nullptr);
}

void MainWindow::connectActions() {
    const MainActions& a = actions_;
    connect(a.newRace, &QAction::triggered, this, &MainWindow::newRace);
    connect(a.openFile, &QAction::triggered, this, &MainWindow::openPredictionFile);
    connect(a.save, &QAction::triggered, this, &MainWindow::save);
    connect(a.saveAs, &QAction::triggered, this, &MainWindow::saveAs);
    connect(a.exit, &QAction::triggered, this, &MainWindow::exitCommand);
    connect(a.help, &QAction::triggered, this, &MainWindow::helpContents);
    connect(a.about, &QAction::triggered, this, &MainWindow::about);
    connect(a.predict, &QAction::triggered, this, &MainWindow::predict);
    connect(a.bets, &QAction::triggered, this, &MainWindow::bets);
    connect(a.trainer, &QAction::triggered, this, &MainWindow::trainer);
    connect(a.sports, &QAction::triggered, this, &MainWindow::sportsPage);
    connect(a.openJraVan, &QAction::triggered, jvCommands_, &JvCommands::openJraVanFile);
    connect(a.importJvData, &QAction::triggered, jvDataImport_,
            &JvDataImportCommand::chooseAndImport);
    connect(a.checkJvData, &QAction::triggered, jvDataImport_, &JvDataImportCommand::checkStore);
    connect(a.openJvDataRaces, &QAction::triggered, jvCommands_, &JvCommands::openStoreRaces);
    connect(a.changeRace, &QAction::triggered, jvCommands_, &JvCommands::changeRace);
    connect(a.backtest, &QAction::triggered, jvCommands_, &JvCommands::backtestPastRaces);
    connect(a.newspaperSettings, &QAction::triggered, jvCommands_, &JvCommands::newspaperSettings);
}

void MainWindow::connectSession() {
    RaceSession& s = *session_;
    connect(&s, &RaceSession::raceNamed, this, [this](const QString& name) {
        if (name.isNull())
            setWindowTitle(toQt(kAppTitle));
        else
            setRaceCaption(name);
        captionName_ = toQt(session_->sheet().raceName);
    });
    connect(&s, &RaceSession::predictionChanged, this, [this](unsigned changes) {
        form_->showPrediction(session_->prediction(), changes);
        updateCommandStates();
        updateStatus();
    });
    connect(&s, &RaceSession::sheetReplaced, this, [this] { form_->chances().showNotPredicted(); });
    connect(&s, &RaceSession::pageRewritten, viewer_, &PageViewer::showPageFile);
    connect(&s, &RaceSession::pageRewritten, this, &MainWindow::updateStatus);
    connect(&s, &RaceSession::sourceChanged, this, [this] {
        updateCommandStates();
        updateStatus();
    });
    connect(&s, &RaceSession::modifiedChanged, this, &MainWindow::updateStatus);
    connect(&s, &RaceSession::sheetEdited, this, &MainWindow::updateStatus);

    connect(form_, &MainForm::committed, &s, &RaceSession::refreshPage);
    // Passing through the name leaves the caption as it is (a new race
    // keeps the plain one); a new name takes it.
    captionName_ = toQt(session_->sheet().raceName);
    connect(form_, &MainForm::raceNameLeft, this, [this](const QString& name) {
        if (name == captionName_)
            return;
        captionName_ = name;
        setRaceCaption(name);
    });
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
        session_->selectResult(line);
    });
    connect(viewer_, &PageViewer::linkClicked, this, [this](const QUrl& address) {
        services_.shell.openUrl(shellAddress(address.toString()));
    });
    connect(viewer_, &PageViewer::helpRequested, this,
            [this] { openHelp(services_.shell, kHelpViewer); });
    connect(jvCommands_, &JvCommands::archiveOpened, this,
            [this](const QString& path) { windowState_.addRecentFile(path); });
    connect(jvDataImport_, &JvDataImportCommand::storeChanged, this,
            &MainWindow::updateCommandStates);
    connect(jvCommands_, &JvCommands::statusText, this, &MainWindow::tellInStatusBar);
}

void MainWindow::buildMenus() {
    const MainActions& a = actions_;
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->addActions(
        {a.newRace, a.openFile, a.openJraVan, a.importJvData, a.openJvDataRaces, a.checkJvData});
    file->addSeparator();
    file->addActions({a.changeRace, a.backtest});
    file->addSeparator();
    file->addActions({a.save, a.saveAs});
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("最近使ったファイル(&R)"));
    recentMenu_->setObjectName(QStringLiteral("recentFilesMenu"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentFiles);
    file->addSeparator();
    file->addAction(a.exit);
    QMenu* prediction = menuBar()->addMenu(QStringLiteral("予想(&R)"));
    prediction->addActions({a.predict, a.bets, a.trainer, a.sports});
    viewMenu_ = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    viewMenu_->addAction(viewer_->toggleViewAction());
    new PaneKeys(*this,
                 {{form_, form_->ui().racecourseBox},
                  {form_->ui().resultList, form_->ui().resultList},
                  {viewer_->browser(), viewer_->browser()}},
                 *viewer_, *viewMenu_);
    QMenu* settingsMenu = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    settingsMenu->addAction(a.newspaperSettings);
    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->addAction(a.help);
    help->addSeparator();
    help->addAction(a.about);
}

void MainWindow::buildToolBar() {
    const MainActions& a = actions_;
    QToolBar* bar = addToolBar(QStringLiteral("ツールバー"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    // Text beside small icons: one line of buttons leaves the form its
    // height for a full field.
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(20, 20));
    bar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    bar->addActions({a.newRace, a.openFile, a.openJraVan, a.changeRace, a.backtest, a.save});
    bar->addSeparator();
    bar->addActions({a.predict, a.bets, a.trainer, a.sports});
    bar->addSeparator();
    bar->addAction(a.newspaperSettings);
    bar->addSeparator();
    bar->addAction(a.help);
}

void MainWindow::buildStatusBar() {
    fileStatus_ = new QLabel(this);
    fileStatus_->setObjectName(QStringLiteral("fileStatus"));
    raceStatus_ = new QLabel(this);
    raceStatus_->setObjectName(QStringLiteral("raceStatus"));
    stateStatus_ = new QLabel(this);
    stateStatus_->setObjectName(QStringLiteral("stateStatus"));
    // Long paths and race names are cut, never widening the window.
    for (QLabel* label : {fileStatus_, raceStatus_})
        label->setMinimumWidth(1);
    statusBar()->addWidget(fileStatus_, 1);
    statusBar()->addWidget(raceStatus_);
    statusBar()->addPermanentWidget(stateStatus_);
}

void MainWindow::updateStatus() {
    const RaceSession& s = *session_;
    const QString& path = s.currentFilePath();
    fileStatus_->setText(path.isEmpty() ? QStringLiteral("未保存のレース")
                                        : QDir::toNativeSeparators(path));
    const RaceSheet& sheet = session_->sheet();
    raceStatus_->setText(
        QStringLiteral("%1 %2R %3")
            .arg(toQt(sheet.racecourse), QString::number(sheet.raceNumber), toQt(sheet.raceName))
            .trimmed());
    QStringList state;
    if (!session_->prediction().lines().positions.empty())
        state << QStringLiteral("予想済み");
    if (s.isModified())
        state << QStringLiteral("変更あり");
    stateStatus_->setText(state.join(QStringLiteral("・")));
}

void MainWindow::tellInStatusBar(const QString& text) {
    statusBar()->showMessage(
        browserProblem_.isEmpty() ? text : text + QStringLiteral("。") + browserProblem_);
    browserProblem_.clear();
}

void MainWindow::fillRecentFiles() {
    recentMenu_->clear();
    const QStringList files = windowState_.recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* entry = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setStatusTip(entry->toolTip());
        connect(entry, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    if (files.isEmpty())
        recentMenu_->addAction(QStringLiteral("(なし)"))->setEnabled(false);
}

void MainWindow::start(const QString& commandLineText) {
    const bool firstUse = session_->open();
    placeWindow();
    show();
    // The notes stand over the window where the user sees it.
    waitUntilShown();
    settleDocks();
    session_->prepareFolder();
    // The empty sheet stands behind the notes, as it did before the page
    // file was made after the first paint.
    session_->refreshPage();
    if (!session_->settingsProblem().empty())
        services_.prompt.showMessage(session_->settingsProblem());
    if (firstUse)
        services_.prompt.showNote(kFirstUseNote, MessageIcon::Question);

    // Opened as the recent files are, from wherever the program was started.
    const QString file = withoutSurroundingQuotes(commandLineText);
    if (!file.isEmpty())
        openFile(QFileInfo(file).absoluteFilePath());
    updateCommandStates();
}

// Room for the window manager's frame, which is not known before the window
// is shown.
constexpr QSize kFrame(16, 40);

void MainWindow::placeWindow() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        arrangeForScreen(*screen);
    if (restoreGeometry(windowState_.geometry())) {
        restoreState(windowState_.dockState());
        return;
    }
    // At first as big as the form and the viewer like to be, within the
    // screen, in its middle.
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize frame = kFrame;
    // The viewer takes what the screen has to spare, up to a page's width.
    const QSize size = (sizeHint() + QSize(200, 0))
                           .boundedTo(available.size() - frame)
                           .expandedTo(minimumSizeHint());
    resize(size);
    // The form keeps its width where there is room: the viewer takes the
    // rest but the separator between them.
    resizeDocks({viewer_},
                {std::max(viewer_->minimumSizeHint().width(),
                          size.width() - form_->sizeHint().width() - dockSeparator())},
                Qt::Horizontal);
    // Centred with its frame; a window that fills the height leaves what
    // there is above it for the title bar.
    const int wide = available.width() - width() - frame.width();
    const int high = available.height() - height() - frame.height();
    move(available.left() + std::max(0, wide / 2),
         available.top() + (high >= 0 ? high / 2 : std::max(0, high + frame.height())));
}

// Once the window stands where the window manager put it, the docks take
// the widths they were left with (restored before, they were shared out
// anew for the window's final size), and a floating one comes up on a
// screen in front of the window it belongs to.
void MainWindow::settleDocks() {
    const QByteArray docks = windowState_.dockState();
    if (docks.isEmpty())
        return;
    restoreState(docks);
    for (QDockWidget* dock : findChildren<QDockWidget*>()) {
        if (!dock->isFloating() || !dock->isVisible())
            continue;
        // Its title bar must be on a screen for the user to take hold of it.
        const QRect frame = dock->frameGeometry();
        if (!QGuiApplication::screenAt(QPoint(frame.center().x(), frame.top() + 8))) {
            const QRect available = screen()->availableGeometry();
            dock->resize(dock->size().boundedTo(available.size() - kFrame));
            dock->move(available.center() - dock->rect().center());
        }
        dock->raise();
    }
}

int MainWindow::dockSeparator() const {
    return style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
}

void MainWindow::arrangeForScreen(const QScreen& screen) {
    // Too narrow for the form beside a page's width: the viewer gives way,
    // down to half of that, so the form shows whole where it can.
    QWidget* page = viewer_->browser();
    const int room = screen.availableGeometry().width() - kFrame.width() -
                     centralWidget()->sizeHint().width() - dockSeparator() -
                     (viewer_->minimumSizeHint().width() - page->minimumWidth());
    page->setMinimumWidth(std::clamp(room, page->minimumWidth() / 2, page->minimumWidth()));
    if (predictionDock_ ||
        sizeHint().height() <= screen.availableGeometry().height() - kFrame.height())
        return;
    // Too low for the form above a full field (a small screen, or large
    // text): the results and the report become a tab beside the viewer,
    // brought forward by the prediction commands.
    predictionDock_ = new QDockWidget(QStringLiteral("ゼルコ馬予想"), this);
    predictionDock_->setObjectName(QStringLiteral("predictionDock"));
    predictionDock_->setWidget(form_->takePrediction());
    addDockWidget(Qt::RightDockWidgetArea, predictionDock_);
    tabifyDockWidget(viewer_, predictionDock_);
    viewer_->raise();
    predictionDock_->toggleViewAction()->setText(QStringLiteral("ゼルコ馬予想(&Y)"));
    viewMenu_->insertAction(viewMenu_->actions().value(1), predictionDock_->toggleViewAction());
}

void MainWindow::bringPredictionForward() {
    if (!predictionDock_)
        return;
    predictionDock_->show();
    predictionDock_->raise();
}

void MainWindow::waitUntilShown() {
    QWindow* window = windowHandle();
    // Sleeps until the window system answers, rather than polling it, which
    // took the processor from the server and the window manager mapping the
    // window; the timer wakes the last wait.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    giveUp.start(1000);
    while (window && !window->isExposed() && giveUp.isActive())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
}

void MainWindow::setRaceCaption(const QString& raceName) {
    setWindowTitle(QStringLiteral("[%1] - %2").arg(raceName, kProgramCaption));
}

void MainWindow::updateCommandStates() {
    const PredictionCommands& p = session_->prediction();
    actions_.bets->setEnabled(p.betsEnabled());
    actions_.trainer->setEnabled(p.trainerEnabled());
    actions_.sports->setEnabled(p.sportsEnabled());
    // Greyed until races of an archive or the store have been opened, never
    // again after; the backtest needs only an archive or a store to look at.
    actions_.changeRace->setEnabled(session_->hasRaceSource());
    actions_.backtest->setEnabled(!session_->raceCardPath().empty() || session_->storeAtHand());
}

bool MainWindow::askToSaveChanges() {
    form_->commit();
    if (!session_->isModified())
        return true;
    switch (services_.prompt.askSaveChanges()) {
    case SaveChoice::Save:
        return save();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

void MainWindow::openFile(const QString& path) {
    if (!askToSaveChanges())
        return;
    if (!QFileInfo::exists(path))
        windowState_.removeRecentFile(path); // the reader says it is gone
    if (isJraVanArchive(path))
        jvCommands_->openArchiveFile(path);
    else
        openPredictionFileAt(path);
}

bool MainWindow::openPredictionFileAt(const QString& path) {
    if (!session_->loadPredictionFile(path, services_.prompt))
        return false;
    session_->setCurrentFile(path, QFileInfo(path).fileName());
    windowState_.addRecentFile(path);
    return true;
}

void MainWindow::newRace() {
    if (!askToSaveChanges())
        return;
    session_->newRace();
}

void MainWindow::openPredictionFile() {
    if (!askToSaveChanges())
        return;
    FileDialogRequest request{
        QStringLiteral("ゼルコ馬ファイルを開く"), kZelFilter, QStringLiteral("zel"), {}, {}};
    const QString path = files_.chooseOpenFile(this, request);
    if (!path.isEmpty())
        openPredictionFileAt(path);
}

bool MainWindow::save() {
    if (session_->currentFilePath().isEmpty())
        return saveAs();
    form_->commit();
    const QString path = session_->currentFilePath();
    if (!session_->savePredictionFile(path, services_.prompt))
        return false;
    windowState_.addRecentFile(path);
    return true;
}

bool MainWindow::saveAs() {
    form_->commit();
    if (session_->currentFileName().isEmpty())
        session_->setSuggestedFileName(toQt(defaultPredictionFileName(session_->sheet())));
    FileDialogRequest request{QStringLiteral("ゼルコ馬ファイルとして保存"),
                              kZelFilter,
                              QStringLiteral("zel"),
                              session_->currentFileName(),
                              {}};
    const QString path = files_.chooseSaveFile(this, request);
    if (path.isEmpty() || !session_->savePredictionFile(path, services_.prompt))
        return false;
    session_->setCurrentFile(path, QFileInfo(path).fileName());
    windowState_.addRecentFile(path);
    return true;
}

bool MainWindow::userAgreesToExit() {
    // One question: whether to keep a changed race (キャンセル stays),
    // else whether to end at all.
    form_->commit();
    return session_->isModified() ? askToSaveChanges() : userConfirmsExit(services_.prompt);
}

void MainWindow::exitCommand() {
    if (!userAgreesToExit())
        return;
    exitConfirmed_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close box asks as the exit command does.
    if (!exitConfirmed_ && !userAgreesToExit()) {
        event->ignore();
        return;
    }
    exitConfirmed_ = true;
    windowState_.setWindow(saveGeometry(), saveState());
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // F1 reaches here from whichever control has the focus; the viewer
    // answers its own F1.
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

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    acceptAsCopy(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    acceptAsCopy(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!acceptAsCopy(event))
        return;
    const QStringList paths = draggedPaths(event->mimeData());
    // Opened once the drag is over, so its source is not kept waiting by
    // the questions and dialogs of the command.
    QMetaObject::invokeMethod(
        this, [this, paths] { openDroppedPaths(paths); }, Qt::QueuedConnection);
}

void MainWindow::openDroppedPaths(const QStringList& paths) {
    const QString& first = paths.front();
    if (paths.size() == 1 && QFileInfo(first).isFile() &&
        (isPredictionFile(first) || isJraVanArchive(first)))
        openFile(first);
    else
        jvDataImport_->importPaths(paths);
}

void MainWindow::helpContents() {
    openHelp(services_.shell, kHelpContents);
}

void MainWindow::about() {
    form_->commit();
    AboutDialog dialog(services_.shell, this);
    dialog.exec();
}

void MainWindow::predict() {
    form_->commit();
    session_->predict(services_.prompt);
    if (!session_->prediction().lines().positions.empty())
        showChancesOfRace(this, *session_, services_.shell, form_->chances());
    bringPredictionForward();
}

void MainWindow::bets() {
    form_->commit();
    session_->showBets(services_.prompt);
    bringPredictionForward();
}

void MainWindow::trainer() {
    form_->commit();
    session_->showTrainer(services_.prompt);
    bringPredictionForward();
}

void MainWindow::sportsPage() {
    const PredictionCommands& p = session_->prediction();
    if (!p.predictEnabled() || !p.sportsEnabled()) {
        services_.prompt.showMessage("先に予想してください。");
        return;
    }
    const std::tm now = currentLocalTime();
    const RaceSheet& sheet = session_->sheet();
    const FileDialogRequest request =
        pageSaveRequest(QStringLiteral("名前を付けて保存"), suggestedSportsFileName(sheet, now));
    const QString path = files_.chooseSaveFile(this, request);
    if (path.isEmpty())
        return;
    if (!writeSportsPage(toNativePath(path), sheet, session_->settings(), session_->programFolder(),
                         now, services_.prompt))
        return;
    services_.shell.openDocument(toNativePath(path));
    tellInStatusBar(writtenText(u"ZELスポ", toNativePath(path)));
}

} // namespace zelkor
