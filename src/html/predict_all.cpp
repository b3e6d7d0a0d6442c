#include "html/predict_all.h"

#include "core/scoring.h"
#include "html/newspaper_set.h"
#include "html/page_conventions.h"
#include "html/sports_page.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "race/race_loader.h"
#include "text/file_io.h"
#include "text/format.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace zelkor {

namespace {

constexpr const char* kSummaryTitle = "ゼルコ馬・買い目一覧";

int scoreOf(const RaceSheet& sheet, int horse) {
    return sheet.result.score(horse);
}

} // namespace

std::string predictAllFolder(const std::string& programFolder, const JvRaceCard& race) {
    return programFolder + "HTML/" + format("Jvzel%d_%04d/", race.year, race.monthDay);
}

std::string predictAllPageName(const JvRaceCard& race) {
    return format("Jvzel%d-%04d_%s%dR%s.html", race.year, race.monthDay,
                  fileNamePart(race.courseName).c_str(), race.raceNumber,
                  fileNamePart(race.shortName).c_str());
}

std::string betsSummaryRow(const JvRaceCard& race, const RaceSheet& sheet) {
    const PredictionResult& result = sheet.result;
    const int top = result.horseAt(1);
    return format("<tr><td><font size=2>%s %dR %s</font></td><td>%s</td><td><font "
                  "size=2>%d</font></td><td>%s</td><td>%s</td></tr>\r\n",
                  HtmlText(race.courseName).c_str(), race.raceNumber,
                  HtmlText(race.raceName).c_str(), HtmlText(sheet.runner(top).name).c_str(),
                  scoreOf(sheet, top), placeBetsText(sheet).c_str(),
                  quinellaBetsText(sheet).c_str());
}

Result<PredictedDay> predictAll(const PageSetJob& job, const std::tm& localTime,
                                const PredictAllRaceHook& onRaceLoaded) {
    RaceSource& source = job.source;
    const AppSettings& settings = job.settings;
    const std::string& programFolder = job.programFolder;
    RememberingPrompt prompt(job.prompt);
    ProgressSink& progress = job.progress;
    // A card without races has nothing to predict (and no progress step to
    // divide by). The first race that can be loaded is shown first.
    const int raceCount = source.raceCount(prompt);
    if (raceCount < 1)
        return prompt.failure("出馬表にレースがありません");
    JvRaceCard race;
    if (!source.readRace(race, 1, prompt))
        return prompt.failure(kSourceNotRead);
    for (int r = 1; !raceLoadable(race);) {
        if (++r > raceCount)
            return Failure{"予想できるレースがありません"};
        if (!source.readRace(race, r, prompt))
            return prompt.failure(kSourceNotRead);
    }
    PredictedDay day;
    RaceSheet& sheet = day.sheet;
    JvRaceCard& currentRace = day.race;

    const std::string folder = predictAllFolder(programFolder, race);
    UnwrittenFiles unwritten;
    const std::string indexPath = startFramedSet(
        folder, race, format("%d %04d ゼルコ馬予想 from JRA-VAN", race.year, race.monthDay),
        predictAllPageName(race), progress, unwritten);
    const PageFolder pages(folder);
    const std::string menuName = setMenuName(race);
    const std::string summaryName = format("%d-%04dkaime.html", race.year, race.monthDay);

    std::string menu = setMenuHead();
    appendFormat(menu, "<center><h2>%d年<br>%d月%d日<br>ゼルコ馬予想一覧</h2></center><br><br>\r\n",
                 race.year, race.monthDay / 100, race.monthDay % 100);
    appendFormat(menu, "<center><a href=\"%s\" target=\"NEWS\">%s</a></center><br>\r\n",
                 fileAddress(folder + summaryName).c_str(), kSummaryTitle);

    std::string summary = format(
        "<HTML>\r\n<HEAD>\r\n%s\r\n<TITLE>%s</TITLE></HEAD>\r\n<BODY bgcolor=dddddd><br>\r\n",
        std::string(kPageMetaLine).c_str(), kSummaryTitle);
    appendFormat(summary,
                 "<center><h2>%d年<br>%d月%d日<br>%s</h2></center><br><br>\r\n<table "
                 "border=1><tr BGCOLOR=9999cc><td><font "
                 "size=2>レース名</font></td><td>ゼルコ馬</td><td>ZEL度</td><td>複勝</"
                 "td><td>馬連</td></tr>\r\n",
                 race.year, race.monthDay / 100, race.monthDay % 100, kSummaryTitle);
    std::string previousCourse;

    for (int r = 1; r <= raceCount; ++r) {
        if (unwritten.removeIfCancelled(progress, folder, prompt))
            return prompt.failure({});
        if (source.readRace(race, r, prompt) && raceLoadable(race)) {
            const std::string pageName = predictAllPageName(race);
            const std::string pagePath = folder + pageName;
            progress.setText(savingProgressText(pagePath));
            // Moved, not copied: the next read fills `race` anew.
            currentRace = std::move(race);
            loadJvRace(sheet, currentRace, source, prompt);
            if (source.failed())
                return prompt.failure(kSourceNotRead);
            if (onRaceLoaded)
                onRaceLoaded(currentRace, sheet);
            scoreRace(sheet);
            // The set tells of its unwritten pages together, at its end.
            const bool written =
                pages.write(pageName, buildSportsPage(sheet, settings, programFolder, localTime));
            unwritten.note(written, pagePath);
            if (written)
                appendRaceToMenu(menu, previousCourse, currentRace, pagePath);
            summary += betsSummaryRow(currentRace, sheet);
        }
        if (source.failed())
            return prompt.failure(kSourceNotRead);
        // Positions rather than a fixed step, so the bar ends at 100 for any
        // number of races.
        progress.setPosition(setProgressPosition(r, raceCount));
    }

    menu += "</BODY></HTML>";
    unwritten.note(pages.write(menuName, menu), folder + menuName);
    summary += "</table></BODY></HTML>";
    unwritten.note(pages.write(summaryName, summary), folder + summaryName);
    unwritten.report(prompt);
    job.shell.openDocument(indexPath);
    day.pages = {indexPath, unwritten.count()};
    return day;
}

} // namespace zelkor
