#pragma once

// Generated JRA-VAN data and fakes shared by the newspaper and predict-all
// tests.

#include "archive/archive_race_source.h"
#include "core/ports.h"
#include "core/settings.h"
#include "html/newspaper_set.h"
#include "html/predict_all.h"
#include "html_test_sheets.h"
#include "race/race_card.h"
#include "race/race_loader.h"
#include "support/jv_generator.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace zelkor::test {

// The index page of a day's set: its menu framed beside the page `news`.
inline std::string framedIndex(const std::string& title, const std::string& news) {
    return "<HTML>\r\n<HEAD>\r\n" + kMeta + " <TITLE>" + title +
           "</TITLE></HEAD>\r\n<FRAMESET COLS=\"30%,*\">\r\n"
           " <FRAME SRC=\"2026-0105menu.html\" NAME=\"MENU\">\r\n <FRAME SRC=\"" +
           news +
           "\" NAME=\"NEWS\">\r\n <NOFRAMES>\r\n このブラウザはフレーム機能に対応していません。"
           "<br>\r\n各htmlファイルを直接開いてください。\r\n "
           "</NOFRAMES>\r\n</FRAMESET>\r\n</HTML>\r\n";
}

// A menu link to `page` that starts the group of `course` (every test day
// changes racecourse at each race).
inline std::string menuGroup(const std::string& course, const std::string& page,
                             const std::string& raceNo, const std::string& name) {
    return "<br><br><b>" + course + "競馬場</b><br>\r\n　<font size=1><a href=\"" + page +
           "\" target=\"NEWS\"><b>" + raceNo + "</b> " + name + "</font></a><br>\r\n";
}

// A fresh folder for one newspaper or predict-all test, removed at its end.
struct PaperTestDir : TempFolder {
    PaperTestDir() : TempFolder("zelkor-paper") {}
};

class RecordingProgress : public ProgressSink {
  public:
    void setText(const std::string& text) override { texts.push_back(text); }
    void setPosition(int p) override {
        position = p;
        positions.push_back(p);
    }
    void setStep(int s) override { stepSize = s; }
    void step() override { position += stepSize; }

    std::vector<std::string> texts;
    std::vector<int> positions;
    int position = -1;
    int stepSize = 10;
};

class RecordingShell : public Shell {
  public:
    void openDocument(const std::string& path) override { documents.push_back(path); }
    void openUrl(const std::string& url) override { urls.push_back(url); }
    std::vector<std::string> documents;
    std::vector<std::string> urls;
};

inline constexpr const char* kPaperDbUrl1 = "http://db.example.jp/s?key=";
inline constexpr const char* kPaperDbUrl2 = "&x=1";

inline AppSettings paperSettings(int images, int links, int howToRead, int edition = 1,
                                 int pastRuns = 5) {
    AppSettings s;
    s.sportsShowImages = images;
    s.sportsLinkNames = links;
    s.paperShowImages = images;
    s.paperLinkNames = links;
    s.paperHowToRead = howToRead;
    s.paperEdition = edition;
    s.paperPastRuns = pastRuns;
    s.dbUrl1 = kPaperDbUrl1;
    s.dbUrl2 = kPaperDbUrl2;
    return s;
}

// Horse of runner 1 of the test race: two past runs, the most recent under
// another jockey, the older one won with equal times.
inline JvHorseData redStar() {
    JvHorseData h;
    h.id = "2022100001";
    h.name = "アカイホシ";
    h.birthYear = 2022;
    h.birthMonthDay = 315;
    h.coatCode = 3;
    h.markCode = 1;
    h.earnings = 1500;
    h.prizeTotal = 2300;
    h.bandCounts[0][0] = {1, 0, 0, 2};
    h.bandCounts[1][0] = {1, 1, 0, 0};
    h.bandCounts[0][1] = {0, 1, 0, 1};

    JvRunData last;
    last.year = 2025;
    last.monthDay = 1220;
    last.courseCode = "06";
    last.meeting = 5;
    last.meetingDay = 8;
    last.gradeCode = "B";
    last.conditionCode = 999;
    last.raceName = "ジャパンカップステークス";
    last.distanceMetres = 2000;
    last.trackCode = 17;
    last.trackConditionCode = 2;
    last.fieldSize = 16;
    last.popularity = 3;
    last.horseNumber = 5;
    last.bracket = 3;
    last.weightCarried = 560;
    last.jockeyName = "騎手二";
    last.finish = 2;
    last.time = 2015;
    last.timeDiff = 3;
    last.corners = {3, 3, 2, 2};
    last.lastThreeFurlongs = 352;
    last.bodyWeight = 482;
    last.otherHorseName = "ライバルスター";

    JvRunData before;
    before.year = 2025;
    before.monthDay = 1025;
    before.courseCode = "05";
    before.meeting = 4;
    before.meetingDay = 7;
    before.gradeCode = " ";
    before.conditionCode = 5;
    before.raceName = "オクトーバーステークス";
    before.distanceMetres = 1600;
    before.trackCode = 23;
    before.trackConditionCode = 1;
    before.fieldSize = 12;
    before.popularity = 1;
    before.horseNumber = 7;
    before.bracket = 6;
    before.weightCarried = 550;
    before.jockeyName = "騎手一";
    before.finish = 1;
    before.time = 1359;
    before.timeDiff = 0;
    before.corners = {1, 1, 1, 1};
    before.lastThreeFurlongs = 360;
    before.bodyWeight = 478;
    before.otherHorseName = "ニバンテ";
    h.runs = {last, before};
    return h;
}

// A two-runner 3-year-olds-and-up ＧⅢ. Runner 1 wears blinkers and has an
// apprentice jockey; runner 2's horse is missing from the horse file.
inline JvRaceData testRace() {
    JvRaceData race;
    race.year = 2026;
    race.monthDay = 105;
    race.courseCode = "05";
    race.raceNumber = 11;
    race.raceName = "テスト記念";
    race.shortName = "テスト";
    race.edition = 12;
    race.gradeCode = "C";
    race.kindCode = 13;
    race.symbolCode = "A10";
    race.weightRuleCode = 2;
    race.conditionCodes = {0, 5, 5, 0, 0};
    race.distanceMetres = 1600;
    race.trackCode = 17;
    race.prizeMoney = {12000, 4800, 3000, 1800, 1200};
    race.postTime = 1025;
    race.saleCode = 2;

    JvRunnerData one;
    one.horseId = "2022100001";
    one.horseName = "アカイホシ";
    one.sexCode = 1;
    one.weightCarried = 550;
    one.blinkers = 1;
    one.jockeyName = "騎手一";
    one.apprenticeCode = 2;
    one.trainerName = "調教師";

    JvRunnerData two;
    two.horseId = "2022100099";
    two.horseName = "マイゴノウマ";
    two.sexCode = 2;
    two.weightCarried = 540;
    two.jockeyName = "騎手三";
    two.trainerName = "調教師二";
    race.runners = {one, two};
    return race;
}

// Writes the race card and horse file into `folder` and returns the race
// card path.
inline std::string writeTestCard(const std::string& folder, const std::vector<JvRaceData>& races,
                                 const std::vector<JvHorseData>& horses) {
    const std::string card = folder + "JracDen1.dat";
    writeJvRaceCard(card, races);
    writeJvHorseFile(folder + "JracUmaj.dat", horses);
    forgetJvFileIndexes();
    return card;
}

// The page writers on the archive of the race card `cardPath`, read with
// `programFolder`'s staff paths, as the commands call them.
inline std::string newspaperSetOf(const std::string& cardPath, std::vector<int> positions,
                                  AppSettings& settings, const std::string& programFolder,
                                  UserPrompt& prompt, ProgressSink& progress, Shell& shell) {
    ArchiveRaceSource source(cardPath, programFolder);
    return writeNewspaperSet({source, settings, programFolder, prompt, progress, shell},
                             std::move(positions))
        .valueOr({})
        .indexPath;
}

inline std::string predictAllOf(const std::string& cardPath, RaceSheet& sheet,
                                JvRaceCard& currentRace, const AppSettings& settings,
                                const std::string& programFolder, const std::tm& localTime,
                                UserPrompt& prompt, ProgressSink& progress, Shell& shell,
                                const PredictAllRaceHook& hook = {}) {
    ArchiveRaceSource source(cardPath, programFolder);
    Result<PredictedDay> day =
        predictAll({source, settings, programFolder, prompt, progress, shell}, localTime, hook);
    if (!day)
        return {};
    sheet = day->sheet;
    currentRace = day->race;
    return day->pages.indexPath;
}

// The page or the sheet of a race read before, its horses read afresh.
inline std::string newspaperOf(NewspaperEdition edition, const JvRaceCard& race,
                               const AppSettings& settings, const std::string& programFolder,
                               UserPrompt& prompt) {
    ArchiveRaceSource source(race.raceCardPath);
    return buildNewspaper(edition, race, source, settings, programFolder, prompt);
}

inline void loadRaceOf(RaceSheet& sheet, const JvRaceCard& race, UserPrompt& prompt) {
    ArchiveRaceSource source(race.raceCardPath);
    loadJvRace(sheet, race, source, prompt);
}

} // namespace zelkor::test
