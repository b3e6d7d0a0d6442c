#include "html/newspaper_edition.h"

#include "html/page_conventions.h"
#include "race/code_tables.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "text/file_io.h"
#include "text/format.h"
#include "text/sjis.h"

#include <algorithm>
#include <cstdlib>

namespace zelkor {

namespace {

constexpr const char* kHowToRead =
    "<br><font color=0000ff><b>新聞の見方</b></font><TABLE border=1 bordercolor=ffffff> <TR>  <TD "
    "rowspan=2>枠番・馬番</TD> <TD>馬記号</TD> <TD>馬名</TD> <TD>性・馬齢</TD> <TD>毛色</TD> "
    "<TD>重量</TD> <TD>騎手名</TD> <TD "
    "rowspan=2>収得金・本賞金<br>距離別成績<br>(1000～1600m)<font "
    "size=1>1着,2着,3着,4着以下</font><br>(1601～2200m)<font "
    "size=1>1着,2着,3着,4着以下</font><br>(2201～3600m)<font "
    "size=1>1着,2着,3着,4着以下</font></TD></TR><TR> <TD "
    "colspan=4>生年月日　産地　生産者<br>父馬　母の父馬<br>母馬　母の母馬</TD> <TD "
    "colspan=2>馬主<br>(調教師・所属)</TD> </TR> ";

constexpr const char* kHowToReadEnd = "</TABLE>";

constexpr const char* kHowToReadPastRuns =
    "<TR> <TD colspan=8>  回次　競馬場　日数　コース　馬場状態　月.日　<b>着順</b><br>  "
    "レース名　出走頭数　単勝人気順位<br>  発走枠(馬番)　距離　<b>タイム</b>(例 "
    "1219=1分21秒9)<br>  <b>クラス(グレード)</b>　重量　騎手　1着(当馬が1着なら2着)"
    "とのタイム差<br>  上り3Fタイム　(1角順位>2角>3角>4角)<br>  馬体重 "
    "1着(当馬が1着なら2着)の馬 </TD> </TR></TABLE>";

// About what the page of the edition with past results takes for 18
// runners; the other editions take less.
constexpr size_t kPageBytes = 48 * 1024;

// The templates that differ between the editions.
struct EditionTemplates {
    const char* tableOpening;
    const char* headingCell;
    const char* conditionsLine;
    const char* prize;
    const char* headingClose;
    const char* picture;
    const char* bracketCell;
    const char* linkedName;
    const char* plainName;
    const char* sexAndAge;
    const char* coatAndWeight;
    const char* jockey;
    const char* record;
    const char* birth;
};

constexpr const char* kColumnHeadingsSimple =
    "<tr BGCOLOR=9999cc><th>枠馬番</th><th colspan=2>馬名</th><th>性齢</th><th>毛色</"
    "th><th>重量</th><th>騎手</th></tr>\r\n";
constexpr const char* kColumnHeadingsDetailed =
    "<tr bgcolor=9999cc><th>枠馬番</th><th colspan=2>馬名</th><th>性齢</th><th>毛色</"
    "th><th>重量</th><th>騎手</th><th>成績</th></tr>\r\n";
constexpr const char* kColumnHeadingsPastResults =
    "<tr BGCOLOR=9999cc><th>枠馬番</th><th colspan=2>馬名</th><th>性齢</th><th>毛色</"
    "th><th>重量</th><th>騎手</th><th>成績</th></tr>\r\n";

constexpr EditionTemplates kSimple = {
    "<CENTER>\r\n<TABLE border=1>\r\n",
    "<TR BGCOLOR=9999cc><TH rowspan=2><FONT SIZE=2 COLOR=47895C>%s %dR<br>%d:%02d発走</FONT></"
    "TH>\r\n <TH COLSPAN=6>",
    "<tr BGCOLOR=9999cc><td colspan=6><BLOCKQUOTE><font size=3 color=444444>\r\n "
    "%s　%s　%d頭<br>\r\n "
    "%s<br>%s　%dm　%s<br>\r\n",
    "%d着%d万　",
    "</td></tr>\r\n",
    "<img src=\"%s.gif\">",
    " <TD BGCOLOR=%s><p align=right>%d枠 %2d番%s</p></TD>\r\n",
    " <TD><font size=1>%s%s</font></TD><TD><a href=\"%s\" TARGET=_blank><b>%s</b></a></TD>\r\n",
    " <TD><font size=1>%s%s</font></TD><TD><b>%s</b></TD>\r\n",
    " <TD><center>%s%d</center></TD>\r\n",
    " <TD><center>%s</center></TD><TD>%2.1f%s</TD>\r\n",
    " <TD>%s%s</TD>\r\n",
    "",
    "",
};

constexpr EditionTemplates kDetailed = {
    "<CENTER>\r\n<TABLE border=1>\r\n",
    "<TR BGCOLOR=9999cc><TH rowspan=2><FONT SIZE=2 COLOR=47895C>%s %dR<br>%d:%02d発走</FONT></"
    "TH>\r\n <TH COLSPAN=7>",
    "<tr BGCOLOR=9999cc><td colspan=7><BLOCKQUOTE><font size=3 color=444444>\r\n %s　%s　%d頭 "
    "%s<br>%s　%dm　%s<br>\r\n",
    "%d着%d万 ",
    "</td></tr>\r\n",
    "<br><img src=\"%s.gif\">",
    " <TD BGCOLOR=%s rowspan=2><p align=right>%d枠 %2d番%s</p></TD>\r\n",
    " <TD><font size=1>%s%s</font></TD><TD><a href=\"%s\" TARGET=_blank><b>%s</b></a></TD>\r\n",
    " <TD><font size=1>%s%s</font></TD><TD><b>%s</b></TD>\r\n",
    " <TD><center>%s%d</center></TD>\r\n",
    " <TD><center>%s</center></TD><TD>%2.1f%s</TD>\r\n",
    " <TD>%s%s</TD>\r\n",
    " <TD rowspan=2><font size=2><p align=left>収得金 %d万<br>本賞金 %d万<br>\r\n",
    " <TR><TD colspan=4><font size=2>%d.%d.%d生 %s %s<br>\r\n",
};

constexpr EditionTemplates kPastResults = {
    "<CENTER>\r\n<TABLE BGCOLOR=9999cc border=1>\r\n",
    "<TR><TH rowspan=2 width=70><FONT SIZE=2 COLOR=47895C>%s %dR<br>%d:%02d発走</FONT></TH>\r\n "
    "<TH width=548>",
    "<tr><td><BLOCKQUOTE><font size=3 color=444444>\r\n %s　%s　%d頭 %s<br>%s　%dm　%s<br>\r\n",
    "%d着%d万　",
    "</td></tr></table>\r\n",
    "<br><img src=\"%s.gif\">",
    " <TD BGCOLOR=%s rowspan=2 width=70><p align=right>%d枠 %2d番%s</p></TD>\r\n",
    " <TD width=20><font size=1>%s%s</font></TD><TD width=140><a href=\"%s\" "
    "TARGET=_blank><b>%s</b></"
    "a></TD>\r\n",
    " <TD width=20><font size=1>%s%s</font></TD><TD width=140><b>%s</b></TD>\r\n",
    " <TD width=35><center>%s%d</center></TD>\r\n",
    " <TD width=50><center>%s</center></TD><TD width=40>%2.1f%s</TD>\r\n",
    " <TD width=107>%s%s</TD>\r\n",
    " <TD rowspan=2 width=120><font size=2><p align=left>収得金 %d万<br>本賞金 %d万<br>\r\n",
    " <TR><TD colspan=4 width=260><font size=2>%d.%d.%d生 %s %s<br>\r\n",
};

const EditionTemplates& templatesOf(NewspaperEdition edition) {
    switch (edition) {
    case NewspaperEdition::Detailed:
        return kDetailed;
    case NewspaperEdition::WithPastResults:
        return kPastResults;
    case NewspaperEdition::Simple:
        break;
    }
    return kSimple;
}

// Page text from a file, escaped.
std::string esc(std::string_view text) {
    return htmlEscape(text);
}

// The first `bytes` bytes of a text, shortened rather than splitting a
// double-byte character.
std::string firstBytes(std::string_view text, size_t bytes) {
    return htmlEscape(prefixWholeChars(text, bytes));
}

size_t slot(int n) {
    return static_cast<size_t>(n);
}

// Number of runners a card can hold.
int printedRunnerCount(const JvRaceCard& race) {
    return std::clamp(race.runnerCount, 0, kJvMaxRunners);
}

// Past runs shown by the edition with past results.
int shownPastRuns(const AppSettings& settings) {
    return std::clamp(settings.paperPastRuns, 1, kJvPastRunCount);
}

// Reads the runner's horse. A horse the file cannot supply leaves a record
// of empty values named after the race-card line, so no value of the
// runner printed before shows up for this one.
void readRunnerHorse(JvHorseRecord& horse, const JvRaceCard& race, int n, RaceSource& source,
                     UserPrompt& prompt) {
    horse.reset();
    if (!source.readHorse(horse, race, n, prompt)) {
        horse.reset();
        horse.name = cutBeforeFullWidthSpace(race.runner(n).horseName);
    }
}

void appendPastRunCell(std::string& out, const JvPastRun& run, const JvPastRunDetails& shown) {
    if (!run.present()) {
        out += "<TH width=120></TH>\r\n";
        return;
    }
    appendFormat(
        out, "<TD width=120><font size=2>%d%s%d%s%s%d.%d<font size=4><b>%d</b></font><br>\r\n",
        run.meeting, firstBytes(shown.courseName, 2).c_str(), run.meetingDay,
        firstBytes(shown.trackText, 2).c_str(), firstBytes(shown.trackConditionText, 2).c_str(),
        run.monthDay / 100, run.monthDay % 100, run.finish);
    appendFormat(out, "%s %d頭%d人<br>\r\n", HtmlText(shown.raceName).c_str(), run.fieldSize,
                 run.popularity);
    appendFormat(out, "%d(%d) %dm<b> %d</b><br>", shown.bracket, run.horseNumber,
                 run.distanceMetres, run.time);
    // Tenths of a second to the other horse, never negative.
    const long long d = std::llabs(static_cast<long long>(run.timeDiff));
    appendFormat(out, "<b>%s</b>%2.1f%s%1lld.%1lld<br>\r\n", esc(pastRunClassLabel(shown)).c_str(),
                 run.weightCarried / 10.0, firstBytes(shown.jockeyName, 4).c_str(), d / 10, d % 10);
    appendFormat(out, "<font size=1>上り</font>%2.1f(%d>%d>%d>%d)<br>\r\n",
                 shown.lastThreeFurlongs / 10.0, runCorner(run, 0), runCorner(run, 1),
                 runCorner(run, 2), runCorner(run, 3));
    appendFormat(out, "%d <font size=1>%s\r\n", shown.bodyWeight,
                 HtmlText(shown.otherHorseName).c_str());
    out += "</TD>";
}

void appendPastResultsTable(std::string& out, const JvHorseRecord& horse, int n, int runsBack) {
    out += "<TABLE border=1>\r\n";
    if (n == 1) {
        out += "<TR BGCOLOR=9999cc>";
        for (int k = runsBack; k >= 1; --k)
            appendFormat(out, "<TH>%d走前</TH>", k);
        out += "</TR>\r\n";
    }
    out += "<TR>\r\n";
    // The oldest run shown stands at the left, the most recent at the right.
    for (int k = runsBack; k >= 1; --k)
        appendPastRunCell(out, horse.pastRuns[slot(k - 1)], horse.pastRunDetails[slot(k - 1)]);
    out += "</TR></TABLE>\r\n";
}

void appendRunnerBlock(std::string& out, NewspaperEdition edition, const EditionTemplates& t,
                       const JvRaceCard& race, const JvHorseRecord& horse, int n,
                       const AppSettings& settings, const HorseNameLinks& links) {
    const JvRunner& runner = race.runner(n);
    const std::string_view coatImage = codeText(kCoatImageTable, horse.coatCode);
    // A horse without a known coat colour has no picture rather than a
    // reference to ".gif".
    const std::string picture = settings.paperShowImages && !coatImage.empty()
                                    ? format(t.picture, std::string(coatImage).c_str())
                                    : std::string();

    if (edition == NewspaperEdition::WithPastResults) {
        out += "<TABLE border=1>\r\n";
        if (n == 1)
            out += kColumnHeadingsPastResults;
    }
    out += "<TR>\r\n";
    appendFormat(out, t.bracketCell,
                 std::string(bracketColour(runner.bracket, BracketColumn::Newspaper)).c_str(),
                 runner.bracket, runnerNumber(race, n), picture.c_str());

    const char* blinker = runner.blinker != 0 ? "B" : "";
    const HtmlText name(horse.name);
    const std::string link = settings.paperLinkNames ? links.linkOf(horse.name) : "";
    if (!link.empty())
        appendFormat(out, t.linkedName, blinker, HtmlText(horse.markText).c_str(), link.c_str(),
                     name.c_str());
    else
        appendFormat(out, t.plainName, blinker, HtmlText(horse.markText).c_str(), name.c_str());
    appendFormat(out, t.sexAndAge, HtmlText(runner.sexText).c_str(), horse.age);

    // A jockey other than the one of the last run is marked 替.
    const JvPastRun& lastRun = horse.pastRuns[0];
    const char* jockeyChange = lastRun.present() && lastRun.finish > 0 &&
                                       horse.pastRunDetails[0].jockeyName != runner.jockeyName
                                   ? "<font size=2>替</font>"
                                   : "";
    appendFormat(out, t.coatAndWeight, HtmlText(horse.coatText).c_str(),
                 runner.weightCarried / 10.0, jockeyChange);
    appendFormat(out, t.jockey,
                 std::string(codeText(kApprenticeMarkTable, runner.apprenticeCode)).c_str(),
                 HtmlText(runner.jockeyName).c_str());
    if (edition == NewspaperEdition::Simple) {
        out += "</TR>\r\n";
        return;
    }

    appendFormat(out, t.record, horse.earnings / 10, horse.prizeTotal / 10);
    static constexpr const char* kBands[] = {"～1600m %d,%d,%d,%d<br>", "～2200m %d,%d,%d,%d<br>",
                                             "2201m～ %d,%d,%d,%d"};
    for (size_t band = 0; band < 3; ++band) {
        const auto& a = horse.bandCounts[0][band];
        const auto& b = horse.bandCounts[1][band];
        appendFormat(out, kBands[band], a[0] + b[0], a[1] + b[1], a[2] + b[2], a[3] + b[3]);
    }
    out += "</p></TD></TR>\r\n";
    appendFormat(out, t.birth, horse.birthYear, horse.birthMonthDay / 100,
                 horse.birthMonthDay % 100, HtmlText(horse.birthplace).c_str(),
                 HtmlText(horse.breeder).c_str());
    appendFormat(out, "  父 %s　母父 %s<br>  母 %s　母母 %s</TD>\r\n", HtmlText(horse.sire).c_str(),
                 HtmlText(horse.damSire).c_str(), HtmlText(horse.dam).c_str(),
                 HtmlText(horse.damDam).c_str());
    appendFormat(out, " <TD colspan=2><font size=2>%s<br>(%s)</TD>\r\n</TR>\r\n",
                 HtmlText(horse.owner).c_str(), HtmlText(runner.trainerName).c_str());
    if (edition == NewspaperEdition::WithPastResults)
        out += "</TABLE>\r\n";
}

} // namespace

std::string newspaperPageName(NewspaperEdition edition, const JvRaceCard& race) {
    const char* pattern =
        edition == NewspaperEdition::Simple ? "Jv%d-%d_%s%dR%s" : "Jv%d-%04d_%s%dR%s";
    return format(pattern, race.year, race.monthDay, race.courseName.c_str(), race.raceNumber,
                  race.raceName.c_str());
}

std::string ageConditionsText(const JvRaceCard& race) {
    const auto& codes = race.conditionCodes;
    const auto& texts = race.conditionTexts;
    std::string text;
    for (size_t i = 0; i < 3; ++i) {
        if (codes[i] == 0 || (i >= 1 && codes[i] == codes[i - 1]))
            continue;
        if (i == 0)
            appendFormat(text, "%d歳%s", 2, texts[0].c_str());
        else if (i == 1)
            appendFormat(text, codes[1] == codes[2] ? "　%d歳上%s" : "　%d歳%s", 3,
                         texts[1].c_str());
        else
            appendFormat(text, "　%d歳上%s", 4, texts[2].c_str());
    }
    return text;
}

std::string pastRunClassLabel(const JvPastRunDetails& run) {
    if (std::string_view(run.gradeText).substr(0, 2) == "Ｇ")
        return run.gradeText;
    for (const ClassByWins& byWins : kClassesByWins)
        if (run.conditionText == byWins.name)
            return std::string(byWins.label);
    const size_t man = findSjis(run.conditionText, "万");
    if (man != std::string::npos)
        return run.conditionText.substr(0, man + std::string_view("万").size());
    return run.conditionText;
}

std::string buildNewspaper(NewspaperEdition edition, const JvRaceCard& race, RaceSource& source,
                           const AppSettings& settings, const std::string& programFolder,
                           UserPrompt& prompt) {
    const EditionTemplates& t = templatesOf(edition);
    const int runners = printedRunnerCount(race);

    const std::string pageName = newspaperPageName(edition, race);
    std::string out =
        settings.paperShowImages ? imageFolderHead(pageName, programFolder) : plainHead(pageName);
    // Room for the page at once, rather than grown by steps.
    out.reserve(kPageBytes);
    out += t.tableOpening;
    appendFormat(out, t.headingCell, HtmlText(race.courseName).c_str(), race.raceNumber,
                 race.postTime / 100, race.postTime % 100);

    std::string title;
    if (race.raceName.empty())
        title = " ";
    else if (race.edition != 0)
        title = format("第%d回 %s", race.edition, HtmlText(race.raceName).c_str());
    else
        title = format(" %s", HtmlText(race.raceName).c_str());
    if (race.gradeCode < "D")
        appendFormat(title, " (%s)", HtmlText(race.gradeText).c_str());
    appendFormat(out, "<FONT SIZE=5 COLOR=000000>%s</FONT></TR>\r\n", title.c_str());

    appendFormat(out, t.conditionsLine, HtmlText(race.symbolText).c_str(),
                 HtmlText(race.weightRuleText).c_str(), runners,
                 esc(ageConditionsText(race)).c_str(), HtmlText(race.trackText).c_str(),
                 race.distanceMetres, HtmlText(race.saleText).c_str());

    std::string prizes;
    for (size_t k = 0; k < race.prizeMoney.size(); ++k)
        appendFormat(prizes, t.prize, static_cast<int>(k) + 1, race.prizeMoney[k] / 10);
    appendFormat(out, "<font size=2>%s</font>\r\n", prizes.c_str());
    out += t.headingClose;
    if (edition == NewspaperEdition::Simple)
        out += kColumnHeadingsSimple;
    else if (edition == NewspaperEdition::Detailed)
        out += kColumnHeadingsDetailed;

    JvHorseRecord horse;
    const int runsBack = shownPastRuns(settings);
    const HorseNameLinks links(settings.dbUrl1, settings.dbUrl2);
    for (int n = 1; n <= runners; ++n) {
        readRunnerHorse(horse, race, n, source, prompt);
        appendRunnerBlock(out, edition, t, race, horse, n, settings, links);
        if (edition == NewspaperEdition::WithPastResults)
            appendPastResultsTable(out, horse, n, runsBack);
    }

    switch (edition) {
    case NewspaperEdition::Simple:
        out += "</TABLE>\r\n</BODY>\r\n</HTML>";
        break;
    case NewspaperEdition::Detailed:
        out += "</TABLE>\r\n";
        if (settings.paperHowToRead) {
            out += kHowToRead;
            out += kHowToReadEnd;
        }
        out += "</BODY>\r\n</HTML>";
        break;
    case NewspaperEdition::WithPastResults:
        if (settings.paperHowToRead) {
            out += kHowToRead;
            out += kHowToReadPastRuns;
        }
        out += "</CENTER>\r\n</BODY>\r\n</HTML>";
        break;
    }
    return out;
}

Outcome writeNewspaper(NewspaperEdition edition, const JvRaceCard& race, RaceSource& source,
                       const AppSettings& settings, const std::string& programFolder,
                       UserPrompt& prompt, const std::string& path) {
    RememberingPrompt told(prompt);
    const std::string page = buildNewspaper(edition, race, source, settings, programFolder, told);
    if (source.failed())
        return told.failure(kSourceNotRead);
    if (!writePageFile(path, page))
        return pageNotWritten(path);
    return {};
}

} // namespace zelkor
