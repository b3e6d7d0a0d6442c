#include "archive/archive_intake.h"

#include "archive/lzh_archive.h"
#include "archive/race_card_file.h"
#include "race/race_loader.h"
#include "race/race_source.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"
#include "text/sjis.h"

#include <filesystem>
#include <system_error>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// File names come from the file system (UTF-8 on this platform); messages
// are CP932.
std::string displayFileName(const std::string& path) {
    return pathForDisplay(fs::path(path).filename().string());
}

// Existence as a directory search for that exact path would see it.
// The failure of a race whose source told why before the load began.
constexpr const char* kRaceNotRead = "レースを読み込めませんでした";

bool entryExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

void offerCopy(const std::string& from, const std::string& to, const char* question,
               UserPrompt& prompt) {
    if (!entryExists(from))
        return;
    if (!prompt.askYesNo(question))
        return;
    std::error_code ec;
    fs::create_directories(fs::path(to).parent_path(), ec);
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}

} // namespace

std::string jvWorkingFolder(const std::string& programFolder) {
    return programFolder + "JRA-VAN/";
}

std::string staffFolder(const std::string& programFolder) {
    return programFolder + "KTDAT/";
}

Outcome checkJvArchive(const std::string& archivePath) {
    if (isLzhArchive(archivePath))
        return {};
    return Failure{
        format("ファイル '%s' は書庫ではありません", displayFileName(archivePath).c_str())};
}

void clearJvWorkingFolder(const std::string& workingFolder) {
    std::error_code ec;
    for (const char* name : {kJockeyFileName, kTrainerFileName, kRaceCardFileName, kHorseFileName})
        fs::remove(workingFolder + name, ec);
}

Outcome unpackJvArchive(const std::string& archivePath, const std::string& workingFolder,
                        std::vector<std::string>* skipped) {
    std::error_code ec;
    fs::create_directories(workingFolder, ec);
    Result<LzhExtraction> extraction = extractLzhArchive(archivePath, workingFolder);
    // The new files may carry the old ones' sizes and times.
    forgetJvFileIndexes();
    if (!extraction)
        return Failure{"ファイルを解凍できませんでした"};
    if (skipped != nullptr)
        *skipped = std::move(extraction->skipped);
    return {};
}

void setJvCardPaths(JvRaceCard& card, const std::string& workingFolder) {
    card.raceCardPath = workingFolder + kRaceCardFileName;
    card.horseFilePath = workingFolder + kHorseFileName;
}

Outcome checkJvCardFiles(const JvRaceCard& card) {
    if (!entryExists(card.raceCardPath))
        return Failure{"このファイルには出馬表データがありません\r\n"
                       "出馬表データが含まれている圧縮ファイルをダウンロードしてください"};
    if (!entryExists(card.horseFilePath))
        return Failure{"このファイルには競走馬データがありません\r\n"
                       "競走馬データが含まれている圧縮ファイルをダウンロードしてください"};
    return {};
}

void offerStaffFiles(const std::string& workingFolder, const std::string& staffFolderPath,
                     UserPrompt& prompt) {
    offerCopy(workingFolder + kTrainerFileName, staffFolderPath + kTrainerFileName,
              "調教師データを更新しますか？\r\n(現在のデータは失われます)", prompt);
    offerCopy(workingFolder + kJockeyFileName, staffFolderPath + kJockeyFileName,
              "騎手データを更新しますか？\r\n(現在のデータは失われます)", prompt);
}

Outcome intakeJvArchive(const std::string& archivePath, const std::string& programFolder,
                        JvRaceCard& card, UserPrompt& prompt) {
    if (Outcome archive = checkJvArchive(archivePath); !archive)
        return tell(prompt, archive.message());
    const std::string working = jvWorkingFolder(programFolder);
    clearJvWorkingFolder(working);
    std::vector<std::string> skipped;
    if (Outcome unpacked = unpackJvArchive(archivePath, working, &skipped); !unpacked)
        return tell(prompt, unpacked.message());
    setJvCardPaths(card, working);
    if (Outcome files = checkJvCardFiles(card); !files)
        return tell(prompt, files.message());
    std::string names;
    for (const std::string& name : skipped)
        names += (names.empty() ? "" : "、") + name;
    if (!names.empty())
        prompt.showNote(format("書庫'%s'のつぎのファイルは出馬表のデータではないため、"
                               "取り出しませんでした。\r\n%s",
                               displayFileName(archivePath).c_str(), names.c_str()),
                        MessageIcon::Information);
    offerStaffFiles(working, staffFolder(programFolder), prompt);
    return {};
}

Outcome openJvCard(const std::string& path, const std::string& programFolder, JvRaceCard& card,
                   UserPrompt& prompt) {
    const std::string extension = fs::path(path).extension().string();
    const bool namedLzh = extension.size() == 4 && startsWithIgnoringAsciiCase(extension, ".lzh");
    if (namedLzh || isLzhArchive(path))
        return intakeJvArchive(path, programFolder, card, prompt);
    card.raceCardPath = path;
    card.horseFilePath = horseFilePathFor(path);
    if (Outcome files = checkJvCardFiles(card); !files)
        return tell(prompt, files.message());
    return {};
}

Outcome loadChosenJvRace(RaceSource& source, int position, JvRaceCard& card, RaceSheet& sheet,
                         UserPrompt& userPrompt) {
    RememberingPrompt prompt(userPrompt);
    JvRaceCard race;
    if (!source.readRace(race, position, prompt) || !checkRaceLoadable(race, prompt))
        return prompt.failure(kRaceNotRead);
    RaceSheet loaded = sheet;
    loadJvRace(loaded, race, source, prompt);
    if (source.failed())
        return prompt.failure(kRaceNotRead);
    card = std::move(race);
    sheet = std::move(loaded);
    return {};
}

} // namespace zelkor
