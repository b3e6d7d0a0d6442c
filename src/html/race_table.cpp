#include "html/race_table.h"

#include "core/fixed_lists.h"
#include "html/page_conventions.h"
#include "text/format.h"

namespace zelkor {

namespace {

std::string text(TextList list, int index) {
    return std::string(listText(list, index));
}

// " <TD><center>%s</center></TD>" of a text from a fixed list.
void appendCentredCell(std::string& out, std::string_view text) {
    out += " <TD><center>";
    out += text;
    out += "</center></TD>";
}

void appendPastRun(std::string& out, const PastRun& run) {
    if (run.raced()) {
        appendFormat(out,
                     " <TD><center><b>%d</b><font size=1>着</font>%d<font size=1>ト</font>%d<font "
                     "size=1>人</center></TD>",
                     run.finish + 1, fieldSizeRunners(run.fieldSize), run.popularity + 1);
    } else {
        out += " <TD><center><font color=008800><b>";
        out += listText(kPastRunKindList, run.kind);
        out += "</center></TD>";
    }
}

} // namespace

int shownRunnerCount(const RaceSheet& sheet) {
    if (sheet.liveRunnerCount < 0)
        return 0;
    return sheet.liveRunnerCount > kMaxRunners ? kMaxRunners : sheet.liveRunnerCount;
}

std::string buildRaceTable(const RaceSheet& sheet, const AppSettings& settings,
                           std::string_view tableAttributes) {
    std::string out;
    appendRaceTable(out, sheet, settings, tableAttributes);
    return out;
}

void appendRaceTable(std::string& out, const RaceSheet& sheet, const AppSettings& settings,
                     std::string_view tableAttributes) {
    appendFormat(out, "<TABLE %s>\r\n", std::string(tableAttributes).c_str());
    // The racecourse in dark green, readable on the lavender row (5 : 1).
    appendFormat(out,
                 "<TR BGCOLOR=9999cc><TH><FONT SIZE=2 COLOR=003300>%s %dR</FONT></TH><TH "
                 "colspan=8 width=500>",
                 HtmlText(sheet.racecourse).c_str(), sheet.raceNumber);

    // An empty race name still leaves its blank, so the grade follows two blanks.
    std::string title =
        sheet.raceName.empty() ? " " : format(" %s", HtmlText(sheet.raceName).c_str());
    appendFormat(title, " (%s)", text(kClassList, sheet.grade).c_str());
    appendFormat(out, "<FONT SIZE=5 COLOR=000000>%s</FONT>\r\n<BR>\r\n", title.c_str());

    // Unknown limits ("？", and "なし" for the sex) leave their place empty;
    // the separators stay.
    std::string ageLimit = text(kAgeLimitList, sheet.ageLimit);
    if (ageLimit == "？")
        ageLimit.clear();
    std::string sexLimit = text(kSexLimitList, sheet.sexLimit);
    if (sexLimit == "なし" || sexLimit == "？")
        sexLimit.clear();
    std::string weightRule = text(kWeightRuleList, sheet.weightRule);
    if (weightRule == "？")
        weightRule.clear();
    appendFormat(out, "<font size=2 color=444444>%s　%s　%s　%s　%sm　%s頭</font></th></tr>",
                 ageLimit.c_str(), sexLimit.c_str(), weightRule.c_str(),
                 text(kSurfaceList, sheet.surface).c_str(),
                 text(kDistanceList, sheet.distance).c_str(),
                 text(kFieldSizeList, fieldSizeIndexOf(sheet.liveRunnerCount)).c_str());

    out += "<tr bgcolor=9999cc><th>枠馬番</th><th>馬名</th><th>性齢</th><th>重量</th>";
    out += "<th>脚質</th><th>適性</th><th>単オッズ</th><th>前々走</th><th>前走</th></tr>\r\n";

    const int count = shownRunnerCount(sheet);
    const HorseNameLinks links(settings.dbUrl1, settings.dbUrl2);
    for (int n = 1; n <= count; ++n) {
        const RunnerEntry& r = sheet.runner(n);
        const int bracket = sheet.shownBracket(n, count);
        const HtmlText name(r.name);
        out += "<TR>\r\n";
        appendFormat(out, " <TD BGCOLOR=%s><p align=right>%d枠%2d番</p></TD>",
                     std::string(bracketColour(bracket)).c_str(), bracket, sheet.shownNumber(n));
        const std::string link = settings.sportsLinkNames ? links.linkOf(r.name) : "";
        if (!link.empty()) {
            appendFormat(out, " <TD><a href=\"%s\" TARGET=_blank><b>%s</a></TD>", link.c_str(),
                         name.c_str());
        } else {
            appendFormat(out, " <TD><b>%s</a></TD>", name.c_str());
        }
        appendFormat(out, " <TD><center>%s%d</center></TD>",
                     std::string(listText(kSexList, r.sex)).c_str(), r.age + 2);
        appendCentredCell(out, listText(kWeightList, r.weight));
        appendCentredCell(out, listText(kRunningStyleList, r.runningStyle));
        appendCentredCell(out, listText(kDistanceList, r.aptitudeDistance));
        appendCentredCell(out, listText(kOddsBandList, r.oddsBand));
        appendPastRun(out, r.pastRuns[kRunBeforeLast]);
        appendPastRun(out, r.pastRuns[kLastRun]);
        out += "\r\n</TR>\r\n";
    }
    out += "</TABLE>\r\n";
}

} // namespace zelkor
