#include "html/sports_page.h"

#include "core/analysis.h"
#include "core/crown_name.h"
#include "core/deciding_factors.h"
#include "core/trainer_intent.h"
#include "html/page_conventions.h"
#include "html/race_table.h"
#include "text/file_io.h"
#include "text/format.h"

#include <algorithm>
#include <array>

namespace zelkor {

namespace {

constexpr std::array<std::string_view, 7> kWeekdayNames = {"日曜日", "月曜日", "火曜日", "水曜日",
                                                           "木曜日", "金曜日", "土曜日"};

// A headline name longer than six full-width characters is set a size
// smaller to stay on its line beside the masthead.
constexpr size_t kLongHeadlineBytes = 12;

// About what the page of 18 runners takes.
constexpr size_t kFullPageBytes = 24 * 1024;

std::string_view intentMarkColour(std::string_view mark) {
    if (mark == "↑")
        return "ff3333";
    if (mark == "→")
        return "ffff33";
    return "0000ff";
}

} // namespace

std::string quinellaBetsText(const RaceSheet& sheet) {
    const PredictionResult& result = sheet.result;
    std::string text;
    const int pairs = std::clamp(result.quinellaCount, 0, kMaxQuinellaPairs);
    for (int i = 0; i < pairs; ++i) {
        const auto& pair = result.quinellaPairs[static_cast<size_t>(i)];
        // Whole pairs on a line: a browser may break after the hyphen.
        appendFormat(text, "<nobr>%d-%d</nobr>　", sheet.shownNumber(pair[0]),
                     sheet.shownNumber(pair[1]));
    }
    return text;
}

std::string placeBetsText(const RaceSheet& sheet) {
    const PredictionResult& result = sheet.result;
    std::string text;
    const int darkHorses = std::clamp(result.darkHorseCount, 0, kMaxRunners);
    for (int i = 1; i <= darkHorses; ++i)
        appendFormat(text, "%d　\r\n", sheet.shownNumber(result.horseAt(i)));
    return text;
}

std::string_view japaneseWeekdayName(int weekday) {
    if (weekday < 0 || weekday > 6)
        return {};
    return kWeekdayNames[static_cast<size_t>(weekday)];
}

std::string buildSportsPage(const RaceSheet& sheet, const AppSettings& settings,
                            const std::string& programFolder, const std::tm& localTime) {
    const HtmlText racecourse(sheet.racecourse);
    const PredictionResult& result = sheet.result;
    const int runnerCount = sheet.usableRunnerCount();
    const int topHorse = result.horseAt(1);

    std::string page = settings.sportsShowImages ? imageFolderHead(sheet.raceName, programFolder)
                                                 : plainHead(sheet.raceName);
    // Room for the page of a full field at once, rather than grown by steps.
    page.reserve(kFullPageBytes);
    page += "<h6 ALIGN=center><I>ゼルコ馬スポーツ</I></h6>\r\n";
    appendFormat(page, "<p align=right><font size=2>%d年 %02d月%02d日（%s）</font></p>\r\n",
                 localTime.tm_year + 1900, localTime.tm_mon + 1, localTime.tm_mday,
                 std::string(japaneseWeekdayName(localTime.tm_wday)).c_str());
    page += "<HR size=4>\r\n";

    const char* left = settings.sportsShowImages ? "<img src=\"Logo.gif\">"
                                                 : "<font size=6 color=0000ff><i>ゼルコ馬スポーツ";
    const char* right = settings.sportsShowImages ? "<img src=\"Zelji.gif\">"
                                                  : "<font size=6 color=00aaaa>穴</font>";
    page += "<center><TABLE border bgcolor=5555ff width=630> <TR BGCOLOR=ffffff><TH>";
    appendFormat(page, "%s</TH><TH width=1 bgcolor=0000ff><font color=ffffff>%s競馬確定</TH>", left,
                 racecourse.c_str());
    // The name on one line, a size smaller when it is long, so no
    // character is left alone below the rest.
    const std::string topName = stripCrownName(sheet.runner(topHorse).name);
    appendFormat(page, "<TH >%s<font size=%d><blink><nobr>%s</nobr></font></TH></TR></TABLE>\r\n",
                 right, topName.size() > kLongHeadlineBytes ? 6 : 7, htmlEscape(topName).c_str());

    appendRaceTable(page, sheet, settings, "border=1 width=630");
    page += "<TABLE width=630 border>";

    // Deciding factors of the top-ranked horse; the header spans at least one row.
    const auto factors = decidingFactors(sheet, topHorse);
    const int factorCount =
        std::max(1, static_cast<int>(std::count_if(factors.begin(), factors.end(),
                                                   [](int code) { return code != 0; })));
    appendFormat(page,
                 "<TR><TH width=150 rowspan=%d BGCOLOR=0000ff><font "
                 "color=eeeeee>ゼルコ馬の決め手</th>",
                 factorCount);
    bool firstFactor = true;
    for (int code : factors) {
        if (code == 0)
            continue;
        appendFormat(page, "%s<TD colspan=2><font size=2>%s</TD></TR>\r\n",
                     firstFactor ? "" : "<TR>", std::string(decidingFactorText(code)).c_str());
        firstFactor = false;
    }

    page += "<TR><TH rowspan=2 BGCOLOR=0000ff><font size=3 color=eeeeee>";
    appendFormat(page, "%s%dR推奨馬券</TH>", racecourse.c_str(), sheet.raceNumber);
    page += "<TH width=130 bgcolor=77dd77>馬連</TH><TD>";
    page += quinellaBetsText(sheet);
    page += "</TD></TR>\r\n";
    page += "<TR><TH bgcolor=77dd77>複勝</TH><TD>";
    page += placeBetsText(sheet);
    page += "</TD></TR>\r\n";

    const AnalysisRows rows = shownAnalysisRows(sheet);
    page += "<TR><TH rowspan=4 BGCOLOR=0000ff><font size=3 color=eeeeee>分析</TH>\r\n";
    appendFormat(page, "<TH bgcolor=77dd77>上位人気</TH><TD>%d　%d　%d</TD></TR>\r\n",
                 rows.popularity[0], rows.popularity[1], rows.popularity[2]);
    appendFormat(page, "<TR><TH bgcolor=77dd77>距離適性</TH><TD>%d　%d　%d</TD></TR>\r\n",
                 rows.distance[0], rows.distance[1], rows.distance[2]);
    appendFormat(page, "<TR><TH bgcolor=77dd77>調子</TH><TD>%d　%d　%d</TD></TR>\r\n", rows.form[0],
                 rows.form[1], rows.form[2]);
    appendFormat(page, "<TR><TH bgcolor=77dd77>重量軽量化</TH><TD>%d　%d　%d</TD></TR>\r\n",
                 rows.weightDrop[0], rows.weightDrop[1], rows.weightDrop[2]);

    appendFormat(page,
                 "<TR><TH rowspan=%d BGCOLOR=0000ff><font size=3 "
                 "color=eeeeee>調教師の本音</th>\r\n",
                 runnerCount);
    for (int h = 1; h <= runnerCount; ++h) {
        if (h >= 2)
            page += "<TR>";
        appendFormat(page, "<TD BGCOLOR=%s>",
                     std::string(bracketColour(sheet.shownBracket(h, runnerCount))).c_str());
        appendFormat(page, "<font size=2><b>%d %s</TD>", sheet.shownNumber(h),
                     HtmlText(sheet.runner(h).name).c_str());
        const std::string mark = trainerIntent(sheet, h, IntentPart::Mark);
        appendFormat(
            page, "<TD><font color=222222 size=2><font color=%s><b>%s</b></font>　%s</TD></TR>\r\n",
            std::string(intentMarkColour(mark)).c_str(), mark.c_str(),
            trainerIntent(sheet, h, IntentPart::Remark).c_str());
    }
    page += "\r\n</TABLE>\r\n";
    page += "<br><font size=2><b><font color=ff0000>↑</font><font color=ffff33>→</font><font "
            "color=0000ff>↓</font>は調子ではなく、やる気度を示しています</b></font>\r\n";
    page += "</BODY>\r\n</HTML>";
    return page;
}

Outcome writeSportsPage(const std::string& path, const RaceSheet& sheet,
                        const AppSettings& settings, const std::string& programFolder,
                        const std::tm& localTime, UserPrompt& prompt) {
    return writePage(path, buildSportsPage(sheet, settings, programFolder, localTime), prompt);
}

std::string suggestedSportsFileName(const RaceSheet& sheet, const std::tm& localTime) {
    // The race name is free text; a separator in it would send the file
    // elsewhere.
    const std::string name = safeFileNamePart(sheet.raceName);
    const std::string date =
        format("%d-%02d%02d", localTime.tm_year + 1900, localTime.tm_mon + 1, localTime.tm_mday);
    return format("Zspo_%s_%s.html", date.c_str(), name.c_str());
}

} // namespace zelkor
