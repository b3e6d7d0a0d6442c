#include "race/race_info.h"

#include "text/format.h"
#include "text/sjis.h"

namespace zelkor {

std::string raceInfoNameLine(const JvRaceCard& card) {
    std::string name = cutBeforeFullWidthSpace(card.raceName);
    std::string line = name.empty()        ? std::string(1, ' ')
                       : card.edition != 0 ? format("第%d回 [%s]", card.edition, name.c_str())
                                           : format(" [%s]", name.c_str());
    // The grades ＧⅠ to ＧⅢ (and a race without a grade code) name their grade.
    if (card.gradeCode < std::string("D"))
        appendFormat(line, " (%s)", card.gradeText.c_str());
    return line;
}

std::string raceInfoText(const JvRaceCard& card) {
    std::string text;
    appendFormat(text, "%s競馬場 第%d回 %d日目 %s%dＲ %d年%d月%d日 %s曜日", card.courseName.c_str(),
                 card.meeting, card.meetingDay, card.raceNumber < 10 ? " " : "", card.raceNumber,
                 card.year, card.monthDay / 100, card.monthDay % 100, card.weekdayText.c_str());
    appendFormat(text, " %.2d:%.2d 発走\r\n\t%s\r\n\r\n", card.postTime / 100, card.postTime % 100,
                 raceInfoNameLine(card).c_str());
    appendFormat(text, "-競争情報-\r\n\t %s %d頭 %dm\r\n", card.trackText.c_str(), card.runnerCount,
                 card.distanceMetres);
    appendFormat(text, "\t %s %s %s\r\n-条件-\r\n", card.symbolText.c_str(), card.kindText.c_str(),
                 card.weightRuleText.c_str());
    static constexpr const char* kAgeLabels[] = {"２歳　　", "３歳　　", "４歳　　", "５歳以上"};
    for (size_t i = 0; i < 4; ++i)
        if (card.conditionCodes[i] != 0)
            appendFormat(text, "\t%s %s\r\n", kAgeLabels[i], card.conditionTexts[i].c_str());
    text += "-本賞金-\r\n";
    for (size_t i = 0; i < card.prizeMoney.size(); ++i)
        appendFormat(text, "\t%d着 %7d万\r\n", static_cast<int>(i + 1), card.prizeMoney[i] / 10);
    text += "-付加賞金-\r\n";
    for (size_t i = 0; i < card.addedMoney.size(); ++i)
        appendFormat(text, "\t%d着 %7d万\r\n", static_cast<int>(i + 1), card.addedMoney[i] / 10);
    appendFormat(text, "-要項-\r\n\t%s", card.saleText.c_str());
    return text;
}

RaceListRow raceListRow(const JvRaceCard& card) {
    // A race that cannot be loaded keeps its place, marked.
    const char* mark = card.cancelled ? " (中止)" : card.entriesOnly ? " (出馬表未確定)" : "";
    return {format("%04d", card.monthDay), card.courseName, format("%d", card.raceNumber),
            card.raceName + mark};
}

Outcome checkRaceLoadable(const JvRaceCard& card, UserPrompt& prompt) {
    if (card.cancelled)
        return tell(prompt, "このレースは中止されました");
    if (card.entriesOnly)
        return tell(prompt, "このレースはまだ出馬表が確定していません");
    return {};
}

RaceList readRaceList(RaceSource& source, UserPrompt& prompt) {
    RaceList list;
    list.raceCount = source.raceCount(prompt);
    JvRaceCard card;
    for (int n = 1; n <= list.raceCount; ++n) {
        if (!source.readRace(card, n, prompt))
            break;
        list.rows.push_back(raceListRow(card));
    }
    return list;
}

} // namespace zelkor
