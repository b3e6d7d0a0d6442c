#include "core/report.h"

#include "core/fixed_lists.h"
#include "core/scoring.h"
#include "core/trainer_intent.h"
#include "text/format.h"

namespace zelkor {
namespace {

// Horse at ranking position `position` (1-based), 0 when the position lies
// outside the field.
int rankedHorse(const RaceSheet& sheet, int position) {
    if (position < 1 || position > sheet.usableRunnerCount())
        return 0;
    return sheet.result.horseAt(position);
}

int scoreOf(const RaceSheet& sheet, int horse) {
    return sheet.result.score(horse);
}

int darkHorseCount(const RaceSheet& sheet) {
    const int k = sheet.result.darkHorseCount;
    const int n = sheet.usableRunnerCount();
    return k < 0 ? 0 : k > n ? n : k;
}

int quinellaCount(const RaceSheet& sheet) {
    const int q = sheet.result.quinellaCount;
    return q < 0 ? 0 : q > kMaxQuinellaPairs ? kMaxQuinellaPairs : q;
}

const char* nameOf(const RaceSheet& sheet, int horse) {
    return sheet.runner(horse).name.c_str();
}

} // namespace

void ResultLines::clear() {
    positions.clear();
    brackets.clear();
    names.clear();
    scores.clear();
    odds.clear();
}

ResultLines resultLines(const RaceSheet& sheet) {
    ResultLines lines;
    const int n = sheet.usableRunnerCount();
    for (int i = 1; i <= n; ++i) {
        const int h = rankedHorse(sheet, i);
        lines.positions.push_back(format("%2d", i));
        lines.brackets.push_back(
            format("%d枠%2d番", sheet.shownBracket(h, sheet.runnerCount), sheet.shownNumber(h)));
        lines.names.push_back(sheet.runner(h).name);
        lines.scores.push_back(format("%3d", scoreOf(sheet, h)));
        lines.odds.push_back(std::string(listText(kOddsBandList, sheet.runner(h).oddsBand)));
    }
    return lines;
}

std::string darkHorsesReport(const RaceSheet& sheet) {
    std::string text = "＝＝＝＝＝＝＝ ゼルコ馬予想 ＝＝＝＝＝＝＝\r\n";
    text += "【穴馬】\r\n";
    const int k = darkHorseCount(sheet);
    for (int i = 1; i <= k; ++i)
        appendFormat(text, "   [%s]\r\n", nameOf(sheet, rankedHorse(sheet, i)));
    return text;
}

std::string betsReport(const RaceSheet& sheet) {
    std::string text = "＝＝＝＝＝＝＝  買い目  ＝＝＝＝＝＝＝＝\r\n";
    text += "【複勝】\r\n";
    const int k = darkHorseCount(sheet);
    for (int i = 1; i <= k; ++i) {
        const int h = rankedHorse(sheet, i);
        appendFormat(text, " %d\t[%s]\r\n", sheet.shownNumber(h), nameOf(sheet, h));
    }
    // Up to eight runners every horse has a bracket of its own, so the
    // quinella pairs are the bracket-quinella bets, named by bracket.
    const bool byBracket = sheet.runnerCount <= 8;
    text += byBracket ? "【枠連】\r\n" : "【馬連】\r\n";
    const auto shown = [&](int h) {
        return byBracket ? sheet.shownBracket(h, sheet.runnerCount) : sheet.shownNumber(h);
    };
    const int q = quinellaCount(sheet);
    for (int i = 0; i < q; ++i) {
        const auto& pair = sheet.result.quinellaPairs[static_cast<size_t>(i)];
        appendFormat(text, " %d - %d \t[%s]-[%s]\r\n", shown(pair[0]), shown(pair[1]),
                     nameOf(sheet, pair[0]), nameOf(sheet, pair[1]));
    }
    return text;
}

std::string trainerReport(const RaceSheet& sheet, int selection) {
    if (selection < 0)
        return {};
    const int h = rankedHorse(sheet, selection + 1);
    if (h == 0)
        return {};
    std::string text = "＝＝＝＝＝＝＝ 調教師の本音 ＝＝＝＝＝＝\r\n";
    appendFormat(text, " %d番 %s\r\n\r\n", sheet.shownNumber(h), nameOf(sheet, h));
    const int code = intentCode(sheet, h);
    text += intentMark(code);
    text += ' ';
    text += intentRemark(code);
    return text;
}

std::string buildReportText(const RaceSheet& sheet, int selection) {
    switch (sheet.result.reportMode) {
    case ReportMode::DarkHorses:
        return darkHorsesReport(sheet);
    case ReportMode::Bets:
        return betsReport(sheet);
    case ReportMode::Trainer:
        return trainerReport(sheet, selection);
    default:
        return {};
    }
}

unsigned PredictionCommands::updatePredictFlag(const RaceSheet& sheet) {
    bool allNamed = true;
    const int n = sheet.usableRunnerCount();
    for (int h = 1; h <= n; ++h) {
        if (sheet.runner(h).name.empty())
            allNamed = false;
    }
    return setPredictFlag(allNamed);
}

unsigned PredictionCommands::setPredictFlag(bool on) {
    if (predictFlag_ == on)
        return None;
    predictFlag_ = on;
    return Flags;
}

unsigned PredictionCommands::predict(RaceSheet& sheet, UserPrompt& prompt) {
    if (!predictFlag_) {
        prompt.showMessage("出走馬名をすべて入力してください。");
        return None;
    }
    scoreRace(sheet);
    sheet.result.reportMode = ReportMode::DarkHorses;
    unsigned changes = clearResults();
    lines_ = resultLines(sheet);
    changes |= buildReport(sheet);
    betsFlag_ = true;
    sportsFlag_ = true;
    return changes | Lists | Flags;
}

unsigned PredictionCommands::bets(RaceSheet& sheet, UserPrompt& prompt) {
    // Without shown results there is nothing to bet on, even when every
    // runner has a name.
    if (!predictFlag_ || !betsFlag_) {
        prompt.showMessage("先に予想してください。");
        return None;
    }
    sheet.result.reportMode = ReportMode::Bets;
    return buildReport(sheet);
}

unsigned PredictionCommands::trainer(RaceSheet& sheet, UserPrompt& prompt) {
    if (!predictFlag_) {
        prompt.showMessage("先に予想してください。");
        return None;
    }
    if (!trainerFlag_) {
        prompt.showMessage("ゼルコ馬予想の馬名を選択してください。");
        return None;
    }
    sheet.result.reportMode = ReportMode::Trainer;
    return buildReport(sheet);
}

unsigned PredictionCommands::selectResult(RaceSheet& sheet, int s) {
    // A line beyond the lists cannot be selected; treat it as no selection.
    if (s >= static_cast<int>(lines_.positions.size()))
        s = -1;
    if (s < 0)
        s = -1;
    unsigned changes = Selection | Runner;
    selection_ = s;
    changes |= buildReport(sheet);
    const bool trainerOn = s >= 0 && rankedHorse(sheet, s + 1) != 0;
    if (trainerOn)
        sheet.currentRunner = rankedHorse(sheet, s + 1);
    if (trainerFlag_ != trainerOn) {
        trainerFlag_ = trainerOn;
        changes |= Flags;
    }
    return changes;
}

unsigned PredictionCommands::clearResults() {
    lines_.clear();
    reportText_.clear();
    betsFlag_ = false;
    trainerFlag_ = false;
    sportsFlag_ = false;
    selection_ = -1;
    return Lists | Report | Flags | Selection;
}

unsigned PredictionCommands::buildReport(const RaceSheet& sheet) {
    reportText_ = buildReportText(sheet, selection_);
    return Report;
}

} // namespace zelkor
