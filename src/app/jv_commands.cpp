#include "app/jv_commands.h"

#include "app/backtest_period_dialog.h"
#include "app/batch_progress.h"
#include "app/file_chooser.h"
#include "app/newspaper_settings_dialog.h"
#include "app/qt_text.h"
#include "app/race_selection_dialog.h"
#include "app/race_session.h"
#include "app/store_dates_dialog.h"
#include "archive/archive_intake.h"
#include "archive/archive_race_source.h"
#include "backtest/backtest.h"
#include "backtest/returns_backtest.h"
#include "chances/chance_quality.h"
#include "core/program_folder.h"
#include "core/settings.h"
#include "html/backtest_page.h"
#include "html/newspaper_set.h"
#include "html/page_conventions.h"
#include "html/predict_all.h"
#include "html/returns_page.h"
#include "race/race_card.h"
#include "store/jvdata_store.h"
#include "text/cp932.h"
#include "text/format.h"

#include <QScopeGuard>
#include <ctime>

namespace zelkor {

namespace {

const QString kJvFilter = QStringLiteral("JRA-VAN出馬表＋競走馬ﾌｧｲﾙ (*.lzh);;すべてのファイル (*)");

// The race days of the store, newest first. Fails when the store cannot be
// read or has no race day yet.
Result<std::vector<StoreDate>> readRaceDays(const std::string& store) {
    Result<std::vector<StoreDate>> dates = readStoreDates(store);
    if (dates && dates->empty())
        return storeWithoutRaces();
    return dates;
}

} // namespace

JvCommands::JvCommands(RaceSession& session, AppServices services, QWidget* window,
                       std::function<bool()> askToSaveChanges)
    : QObject(window), session_(session), services_(services), window_(window),
      askToSaveChanges_(std::move(askToSaveChanges)) {}

void JvCommands::openJraVanFile() {
    if (!askToSaveChanges_())
        return;
    const FileDialogRequest request{QStringLiteral("JRA-VAN出馬表＋競走馬ﾌｧｲﾙを開く"),
                                    kJvFilter,
                                    QStringLiteral("lzh"),
                                    {},
                                    {}};
    const QString path = services_.files.chooseOpenFile(window_, request);
    if (!path.isEmpty())
        openArchiveFile(path);
}

void JvCommands::openArchiveFile(const QString& archivePath) {
    openJvArchive(archivePath);
}

bool JvCommands::openJvArchive(const QString& archivePath) {
    JvRaceCard card;
    if (!intakeJvArchive(toNativePath(archivePath), session_.programFolder(), card,
                         services_.prompt))
        return false;
    session_.setRaceCardPath(card.raceCardPath);
    loadedPosition_ = 0;
    emit archiveOpened(archivePath);
    ArchiveRaceSource source(session_.raceCardPath(), session_.programFolder());
    return selectAndLoadRace(source);
}

void JvCommands::openStoreRaces() {
    if (!askToSaveChanges_())
        return;
    const std::string store = jvStorePath(session_.programFolder());
    const Result<std::vector<StoreDate>> dates = readRaceDays(store);
    if (!dates) {
        services_.prompt.showMessage(dates.message());
        return;
    }
    StoreDatesDialog dialog(*dates, window_);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenDate() == 0)
        return;
    Result<std::unique_ptr<RaceSource>> source = openStoreDay(store, dialog.chosenDate());
    if (!source) {
        services_.prompt.showMessage(source.message());
        return;
    }
    session_.setStoreDate(dialog.chosenDate());
    loadedPosition_ = 0;
    selectAndLoadRace(**source);
}

void JvCommands::changeRace() {
    if (!session_.hasRaceSource() || !askToSaveChanges_())
        return;
    std::unique_ptr<RaceSource> source = currentSource();
    if (source)
        selectAndLoadRace(*source);
}

std::unique_ptr<RaceSource> JvCommands::currentSource() {
    if (session_.storeDate() != 0) {
        auto day = openStoreDay(jvStorePath(session_.programFolder()), session_.storeDate());
        if (!day) {
            services_.prompt.showMessage(day.message());
            return nullptr;
        }
        return std::move(day).value();
    }
    return std::make_unique<ArchiveRaceSource>(session_.raceCardPath(), session_.programFolder());
}

bool JvCommands::selectAndLoadRace(RaceSource& source) {
    const int position = selectRace(source);
    return position > 0 && loadRace(source, position);
}

int JvCommands::selectRace(RaceSource& source) {
    RaceSelectionDialog dialog(source, services_.prompt, services_.shell, window_);
    connect(&dialog, &RaceSelectionDialog::newspapersRequested, this,
            [this, &dialog](const std::vector<int>& races) { makeNewspapers(dialog, races); });
    connect(&dialog, &RaceSelectionDialog::predictAllRequested, this,
            [this, &dialog](const std::vector<int>&) { predictAllRaces(dialog); });
    if (loadedPosition_ > 0)
        dialog.markLoadedRace(loadedPosition_);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    return dialog.chosenRace();
}

bool JvCommands::loadRace(RaceSource& source, int position) {
    WaitCursor wait;
    // A card that cannot be read leaves the race as it was (the reader has
    // told the user why) rather than loading a half-read race.
    JvRaceCard card;
    RaceSheet sheet = session_.sheet();
    if (!loadChosenJvRace(source, position, card, sheet, services_.prompt))
        return false;
    loadedPosition_ = position;
    session_.takeLoadedRace(std::move(card), std::move(sheet));
    return true;
}

void JvCommands::makeNewspapers(RaceSelectionDialog& dialog, const std::vector<int>& positions) {
    if (positions.empty())
        return;
    const std::string& programFolder = session_.programFolder();
    // The writers correct an edition out of range; the correction serves
    // from now on, as the settings dialog's does.
    AppSettings settings = session_.settings();
    const auto keepCorrection = qScopeGuard([&] { session_.setSettings(settings); });
    if (positions.size() == 1) {
        JvRaceCard race;
        if (!dialog.source().readRace(race, positions.front(), services_.prompt) ||
            !checkRaceLoadable(race, services_.prompt))
            return;
        const FileDialogRequest request = pageSaveRequest(QString(), singleNewspaperFileName(race));
        const QString path = services_.files.chooseSaveFile(&dialog, request);
        if (path.isEmpty())
            return;
        WaitCursor wait;
        if (writeSingleNewspaper(race, dialog.source(), settings, programFolder, toNativePath(path),
                                 services_.prompt, services_.shell))
            emit statusText(writtenText(u"競馬新聞", toNativePath(path)));
        return;
    }
    std::string index;
    runBatchJob(&dialog, {}, services_.prompt, services_.shell,
                [&](UserPrompt& prompt, ProgressSink& progress, Shell& shell) {
                    const PageSetJob job{dialog.source(), settings, programFolder,
                                         prompt,          progress, shell};
                    index = writeNewspaperSet(job, positions).valueOr({}).indexPath;
                });
    if (!index.empty())
        emit statusText(writtenText(u"競馬新聞", index));
}

void JvCommands::predictAllRaces(RaceSelectionDialog& dialog) {
    // The day's races go through a sheet of their own: the race the user
    // works on, its prediction and its card stay as they are.
    std::string index;
    runBatchJob(&dialog, {}, services_.prompt, services_.shell,
                [&](UserPrompt& prompt, ProgressSink& progress, Shell& shell) {
                    const PageSetJob job{dialog.source(),
                                         session_.settings(),
                                         session_.programFolder(),
                                         prompt,
                                         progress,
                                         shell};
                    if (Result<PredictedDay> day = predictAll(job, currentLocalTime()))
                        index = day->pages.indexPath;
                });
    if (!index.empty())
        emit statusText(writtenText(u"すべてのレースの予想", index));
}

void JvCommands::backtestPastRaces() {
    const bool archive = !session_.raceCardPath().empty();
    const bool store = session_.storeAtHand();
    int choice = store ? 0 : 1;
    if (archive && store)
        choice = services_.prompt.askChoice(
            "どちらのレースで検証しますか？\n\n"
            "取り込んだJV-Data: 期間を指定して、買い目の回収率を調べます。\n"
            "開いているJRA-VANファイル: 競走馬ファイルの過去レースで予想の当たり方を調べます。",
            {"取り込んだJV-Data(&D)", "JRA-VANファイル(&J)"});
    if (choice == 0)
        backtestStore();
    else if (choice == 1 && archive)
        backtestArchive();
}

void JvCommands::backtestArchive() {
    const std::string horseFile = horseFilePathFor(session_.raceCardPath());
    const PastRaceRules rules;
    Backtest backtest;
    bool done = false;
    runBatchJob(window_, {}, services_.prompt, services_.shell,
                [&](UserPrompt& prompt, ProgressSink& progress, Shell&) {
                    done = backtestHorseFile(horseFile, rules, backtest, prompt, progress).ok();
                });
    if (!done)
        return;
    WaitCursor wait;
    const std::string page = backtestPagePath(session_.programFolder());
    if (writeBacktestPage(page, backtest, rules, services_.prompt, services_.shell))
        emit statusText(writtenText(u"検証の結果", page));
}

void JvCommands::backtestStore() {
    const std::string store = jvStorePath(session_.programFolder());
    const Result<std::vector<StoreDate>> dates = readRaceDays(store);
    if (!dates) {
        services_.prompt.showMessage(dates.message());
        return;
    }
    BacktestPeriodDialog dialog(dates->back().date, dates->front().date, window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    emit storeBacktestRequested(dialog.fromDate(), dialog.toDate());

    ReturnsBacktest backtest;
    // The page judges the chances on the same races, walk forward.
    WalkForwardQuality chances;
    const double threshold = valueThresholdOf(session_.settings());
    bool done = false;
    runBatchJob(window_, {}, services_.prompt, services_.shell,
                [&](UserPrompt& prompt, ProgressSink& progress, Shell&) {
                    done = backtestStoreReturns(store, dialog.fromDate(), dialog.toDate(), backtest,
                                                prompt, progress)
                               .ok() &&
                           !progress.cancelled() &&
                           walkForwardQuality(store, dialog.fromDate(), dialog.toDate(), threshold,
                                              chances, prompt, progress)
                               .ok();
                });
    if (!done)
        return;
    WaitCursor wait;
    const std::string page = returnsPagePath(session_.programFolder());
    if (writeReturnsPage(page, backtest, returnFigures(backtest.races), &services_.shell,
                         &chances))
        emit statusText(writtenText(u"回収率の検証結果", page));
    else
        reportPageNotWritten(services_.prompt, page);
}

void JvCommands::newspaperSettings() {
    // The dialog's corrections serve even when it is cancelled; only OK
    // keeps them in the settings file.
    AppSettings settings = session_.settings();
    NewspaperSettingsDialog dialog(settings, services_.shell, session_.programFolder(), window_);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    session_.setSettings(settings);
    if (accepted)
        session_.saveSettings();
}

} // namespace zelkor
