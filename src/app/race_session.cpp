#include "app/race_session.h"

#include "app/page_file_guard.h"
#include "app/qt_text.h"
#include "core/prediction_file.h"
#include "core/race_presets.h"
#include "html/race_sheet_page.h"
#include "store/jvdata_store.h"

#include <QDir>
#include <QFileInfo>
#include <tuple>

namespace zelkor {

namespace {

// The fields of the race group of the form, in one place for copying and
// comparing them.
template <class Sheet> auto raceFields(Sheet& s) {
    return std::tie(s.racecourse, s.raceNumber, s.raceName, s.grade, s.ageLimit, s.sexLimit,
                    s.weightRule, s.surface, s.distance, s.runnerCount, s.liveRunnerCount);
}

} // namespace

RaceSession::RaceSession(std::string programFolder, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)) {}

RaceSession::~RaceSession() = default;

std::string RaceSession::configPath() const {
    return programFolder_ + kConfigFileName;
}

bool RaceSession::open() {
    settingsProblem_ = readSettings(settings_, configPath()).message();
    const bool firstUse = settings_.showFirstUseMessage;
    settings_.showFirstUseMessage = false;
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
    saveSettings();
}

void RaceSession::setSettings(const AppSettings& settings) {
    settings_ = settings;
    refreshPage();
}

void RaceSession::saveSettings() {
    // Settings that cannot be written are kept for this run.
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

void RaceSession::edit(const RaceSheet& next) {
    if (raceFields(next) == raceFields(sheet_) && next.runners() == sheet_.runners())
        return;
    const bool wasModified = isModified();
    raceFields(sheet_) = raceFields(next);
    sheet_.runners() = next.runners();
    ++revision_;
    emit sheetEdited();
    if (!wasModified)
        emit modifiedChanged(true);
}

void RaceSession::setRaceFields(const RaceSheet& race) {
    RaceSheet next = sheet_;
    raceFields(next) = raceFields(race);
    next.liveRunnerCount = next.runnerCount;
    edit(next);
}

void RaceSession::setRunner(int horse, const RunnerEntry& runner) {
    RaceSheet next = sheet_;
    next.runner(horse) = runner;
    edit(next);
}

void RaceSession::setRunnerName(int horse, const std::string& name) {
    RaceSheet next = sheet_;
    next.runner(horse).name = name;
    edit(next);
    applyPrediction(prediction_.updatePredictFlag(sheet_));
}

void RaceSession::setFieldSize(int runners) {
    RaceSheet next = sheet_;
    next.runnerCount = next.liveRunnerCount = runners;
    edit(next);
}

void RaceSession::setSexLimit(int limit) {
    RaceSheet next = sheet_;
    next.sexLimit = limit;
    applySexLimitRule(next);
    edit(next);
}

bool RaceSession::setAgeLimit(int limit) {
    RaceSheet next = sheet_;
    next.ageLimit = limit;
    const bool ruled = applyAgeLimitRule(next);
    edit(next);
    return ruled;
}

bool RaceSession::chooseRacePreset(int suggestion) {
    RaceSheet next = sheet_;
    if (!applyRacePreset(next, suggestion))
        return false;
    applySexLimitRule(next);
    applyAgeLimitRule(next);
    edit(next);
    return true;
}

void RaceSession::markSaved() {
    const bool wasModified = isModified();
    savedRevision_ = revision_;
    if (wasModified)
        emit modifiedChanged(false);
}

void RaceSession::replaced(const QString& name) {
    markSaved();
    applyPrediction(prediction_.clearResults());
    emit sheetReplaced();
    emit raceNamed(name);
    refreshPage();
}

void RaceSession::newRace() {
    sheet_.resetRaceConditions();
    sheet_.resetRunners();
    forgetCurrentFile();
    replaced(QString());
}

bool RaceSession::loadPredictionFile(const QString& path, UserPrompt& prompt) {
    if (!readPredictionFile(sheet_, toNativePath(path), prompt))
        return false;
    replaced(toQt(sheet_.raceName));
    return true;
}

bool RaceSession::savePredictionFile(const QString& path, UserPrompt& prompt) {
    if (!writePredictionFile(sheet_, toNativePath(path), prompt))
        return false;
    markSaved();
    return true;
}

void RaceSession::takeLoadedRace(JvRaceCard card, RaceSheet sheet) {
    loadedJvRace_ = std::move(card);
    sheet_ = std::move(sheet);
    // Another race now: saving must not overwrite the file of the race
    // that was shown before.
    forgetCurrentFile();
    replaced(toQt(sheet_.raceName));
}

void RaceSession::predict(UserPrompt& prompt) {
    applyPrediction(prediction_.predict(sheet_, prompt));
}

void RaceSession::showBets(UserPrompt& prompt) {
    applyPrediction(prediction_.bets(sheet_, prompt));
}

void RaceSession::showTrainer(UserPrompt& prompt) {
    applyPrediction(prediction_.trainer(sheet_, prompt));
}

void RaceSession::selectResult(int line) {
    const unsigned changes = prediction_.selectResult(sheet_, line);
    applyPrediction(changes & ~unsigned(PredictionCommands::Runner));
    // The selection points at a runner while the trainer's view of it is
    // at hand.
    if (prediction_.trainerEnabled())
        emit runnerChosen(sheet_.currentRunner);
}

void RaceSession::applyPrediction(unsigned changes) {
    emit predictionChanged(changes);
}

} // namespace zelkor
