#include "race/code_tables.h"

#include "text/format.h"

namespace zelkor {

std::string_view keyedText(KeyedCodeTable table, std::string_view code, std::string_view fallback) {
    for (const KeyedCode& entry : table)
        if (entry.key == code)
            return entry.text;
    return fallback;
}

std::string decodeRacecourse(std::string_view code) {
    return std::string(keyedText(kRacecourseTable, code));
}

std::string decodeGrade(std::string_view code) {
    return std::string(keyedText(kGradeTable, code, kGradeDefault));
}

const ClassByWins* classByWins(int code, int yyyymmdd) {
    if (yyyymmdd < kClassesByWinsFrom)
        return nullptr;
    for (const ClassByWins& entry : kClassesByWins)
        if (entry.conditionCode == code)
            return &entry;
    return nullptr;
}

std::string decodeCondition(int code, int yyyymmdd) {
    if (const ClassByWins* byWins = classByWins(code, yyyymmdd))
        return std::string(byWins->name);
    if (code < 100)
        return format("%lld万円以下", static_cast<long long>(code) * 100);
    if (code == 100)
        return format("%d億円以下", 1);
    if (code / 100 == 7) {
        switch (code % 10) {
        case 1:
            return "新馬";
        case 2:
            return "未出走";
        case 3:
            return "未勝利";
        default:
            return "";
        }
    }
    if (code == 999)
        return "オープン";
    return "";
}

std::string earningsClassName(int code, int yyyymmdd) {
    if (const ClassByWins* byWins = classByWins(code, yyyymmdd))
        return std::string(byWins->name);
    return format("%lld万下", static_cast<long long>(code) * 100);
}

std::string decodeTrack(int code) {
    if (code <= 0)
        return "";
    if (code <= 24)
        return std::string(codeText(kTrackTable, code - 9));
    if (code == 29)
        return std::string(codeText(kTrackTable, 16));
    if (code <= 59)
        return std::string(codeText(kTrackTable, code - 34));
    return "";
}

std::string decodeRunnerSex(int code) {
    switch (code) {
    case 1:
        return "牡";
    case 2:
        return "牝";
    case 3:
        return "せ";
    default:
        return "";
    }
}

std::string decodeMargin(std::string_view code) {
    return std::string(keyedText(kMarginTable, code, kMarginDefault));
}

std::string decodeRaceKind(int kindCode) {
    if (kindCode == 0)
        return "";
    return std::string(codeText(kRaceKindTable, kindCode - 10));
}

namespace {

// A symbol character read as a digit; anything else has no table entry.
int symbolDigit(std::string_view code, size_t pos) {
    if (pos >= code.size() || code[pos] < '0' || code[pos] > '9')
        return -1;
    return code[pos] - '0';
}

} // namespace

std::string decodeSymbol(std::string_view symbolCode) {
    std::string text;
    if (!symbolCode.empty()) {
        size_t key = kSymbolKeys.find(symbolCode[0]);
        if (key != std::string_view::npos)
            text += codeText(kSymbolTable, static_cast<int>(key));
    }
    text += codeText(kSexRestrictionTable, symbolDigit(symbolCode, 1));
    text += codeText(kDesignationTable, symbolDigit(symbolCode, 2));
    return text;
}

} // namespace zelkor
