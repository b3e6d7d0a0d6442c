#include "app/race_session.h"

#include "app/page_file_guard.h"
#include "app/qt_text.h"
#include "core/prediction_file.h"
#include "html/race_sheet_page.h"
#include "store/jvdata_store.h"

#include <QDir>
#include <QFileInfo>

namespace zelkor {

RaceSession::RaceSession(std::string programFolder, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)),
      savedText_(predictionFileText(sheet_)) {}

RaceSession::~RaceSession() = default;

std::string RaceSession::configPath() const {
    return programFolder_ + kConfigFileName;
}

bool RaceSession::open() {
    settingsProblem_ = readSettings(settings_, configPath()).message();
    const bool firstUse = settings_.showFirstUseMessage != 0;
    settings_.showFirstUseMessage = 0;
    return firstUse;
}

void RaceSession::prepareFolder() {
    for (const char* folder : {"HTML", "JRA-VAN", "KTDAT"})
        QDir().mkdir(fromNativePath(programFolder_ + folder));
    removeStaleRaceSheetPages(programFolder_);
    pageFile_ = std::make_unique<RaceSheetPageFile>(programFolder_);
    // From its making on, a signal ending the program takes the page file
    // along (a crash leaves it to the next start).
    removeFileOnTerminationSignals(pageFile_->path());
    static_cast<void>(writeSettings(settings_, configPath()));
}

void RaceSession::setRaceCardPath(const std::string& path) {
    raceCardPath_ = path;
    storeDate_ = 0;
    emit sourceChanged();
}

void RaceSession::setStoreDate(int date) {
    storeDate_ = date;
    raceCardPath_.clear();
    emit sourceChanged();
}

bool RaceSession::storeAtHand() const {
    return QFileInfo(fromNativePath(jvStorePath(programFolder_))).size() > 0;
}

void RaceSession::setCurrentFile(const QString& path, const QString& name) {
    currentFilePath_ = path;
    currentFileName_ = name;
    emit sourceChanged();
}

std::string RaceSession::pageFilePath() const {
    return pageFile_ ? pageFile_->path() : std::string();
}

bool RaceSession::refreshPage() {
    updateModified();
    if (!pageFile_)
        return false;
    // A page that could not be written is shown as the file stands.
    const Result<PageRefresh> refreshed = pageFile_->refresh(sheet_, settings_);
    if (refreshed && *refreshed == PageRefresh::Unchanged)
        return false;
    prediction_.setPredictFlag(pageFile_->predictEnabled());
    emit pageRewritten(fromNativePath(pageFile_->path()));
    emit predictionChanged(PredictionCommands::Flags);
    return true;
}

void RaceSession::updateModified() {
    const bool modified = predictionFileText(sheet_) != savedText_;
    if (modified == modified_)
        return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}

void RaceSession::markUnchanged() {
    savedText_ = predictionFileText(sheet_);
    updateModified();
}

void RaceSession::newRace() {
    sheet_.currentRunner = 1;
    sheet_.resetRaceConditions();
    sheet_.resetRunners();
    markUnchanged();
    forgetCurrentFile();
    clearResults();
    emit sheetReplaced();
    emit raceNamed(QString());
    refreshPage();
}

bool RaceSession::loadPredictionFile(const QString& path, UserPrompt& prompt) {
    if (!readPredictionFile(sheet_, toNativePath(path), prompt))
        return false;
    markUnchanged();
    clearResults();
    emit sheetReplaced();
    emit raceNamed(toQt(sheet_.raceName));
    refreshPage();
    return true;
}

bool RaceSession::savePredictionFile(const QString& path, UserPrompt& prompt) {
    if (!writePredictionFile(sheet_, toNativePath(path), prompt))
        return false;
    markUnchanged();
    return true;
}

void RaceSession::showLoadedRace() {
    // Another race now: saving must not overwrite the file of the race
    // that was shown before.
    forgetCurrentFile();
    sheet_.currentRunner = 1;
    markUnchanged();
    clearResults();
    emit sheetReplaced();
    emit raceNamed(toQt(sheet_.raceName));
    refreshPage();
}

void RaceSession::applyPrediction(unsigned changes) {
    emit predictionChanged(changes);
}

} // namespace zelkor
