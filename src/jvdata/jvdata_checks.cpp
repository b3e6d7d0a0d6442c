#include "jvdata/jvdata_checks.h"

#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "jvdata/jvdata_versions.h"
#include "text/format.h"

#include <algorithm>
#include <span>

namespace zelkor::jvdata {
namespace {

using namespace jvlayout;

// A numeric field of a record, or every element of a repeated one.
struct NumberField {
    const char* name; // CP932
    Field field;
    Repeated each{0, 0, 1};
};

constexpr NumberField kRaceKeyNumbers[] = {
    {"作成日", kMadeOn},  {"開催年", kYear},         {"開催月日", kMonthDay},
    {"開催回", kMeeting}, {"開催日目", kMeetingDay}, {"レース番号", kRaceNo},
};

constexpr NumberField kRaNumbers[] = {
    {"曜日", ra::kWeekday},
    {"回次", ra::kEdition},
    {"競走種別", ra::kRaceKind},
    {"重量種別", ra::kWeightRule},
    {"競走条件", {0, ra::kConditionWidth}, ra::kCondition},
    {"距離", ra::kDistance},
    {"トラック", ra::kTrack},
    {"本賞金", {0, ra::kMoneyWidth}, ra::kPrize},
    {"付加賞金", {0, ra::kMoneyWidth}, ra::kAddedPrize},
    {"発走時刻", ra::kPostTime},
    {"登録頭数", ra::kEntered},
    {"出走頭数", ra::kStarters},
    {"入線頭数", ra::kFinishers},
    {"天候", ra::kWeather},
    {"芝馬場状態", ra::kGoingTurf},
    {"ダート馬場状態", ra::kGoingDirt},
};

constexpr NumberField kSeNumbers[] = {
    {"枠番", se::kBracket},
    {"馬番", se::kHorseNo},
    {"馬記号", se::kHorseMark},
    {"性別", se::kSex},
    {"品種", se::kBreed},
    {"毛色", se::kCoat},
    {"馬齢", se::kAge},
    {"調教師コード", se::kTrainerCode},
    {"負担重量", se::kWeightCarried},
    {"ブリンカー", se::kBlinkers},
    {"騎手コード", se::kJockeyCode},
    {"見習区分", se::kApprentice},
    {"馬体重", se::kBodyWeight},
    {"増減差", se::kBodyWeightDiff},
    {"異常区分", se::kAbnormal},
    {"確定着順", se::kFinish},
    {"走破タイム", se::kTime},
    {"コーナー順位", {0, se::kCornerWidth}, se::kCornerPos},
    {"人気", se::kPopularity},
    {"後3ハロン", se::kLast3F},
};

constexpr NumberField kUmNumbers[] = {
    {"作成日", kMadeOn}, {"生年月日", um::kBirthDate}, {"馬記号", um::kHorseMark},
    {"性別", um::kSex},  {"品種", um::kBreed},         {"毛色", um::kCoat},
};

constexpr NumberField kHrNumbers[] = {
    {"登録頭数", hr::kEntered},
    {"出走頭数", hr::kStarters},
    {"単勝払戻金", {hr::kWin.comboWidth, hr::kPayWidth}, hr::kWin.slots},
    {"複勝払戻金", {hr::kPlace.comboWidth, hr::kPayWidth}, hr::kPlace.slots},
    {"枠連払戻金", {hr::kBracketQ.comboWidth, hr::kPayWidth}, hr::kBracketQ.slots},
    {"馬連払戻金", {hr::kQuinella.comboWidth, hr::kPayWidth}, hr::kQuinella.slots},
    {"ワイド払戻金", {hr::kWide.comboWidth, hr::kPayWidth}, hr::kWide.slots},
    {"馬単払戻金", {hr::kExacta.comboWidth, hr::kPayWidth}, hr::kExacta.slots},
    {"3連複払戻金", {hr::kTrio.comboWidth, hr::kPayWidth}, hr::kTrio.slots},
    {"3連単払戻金", {hr::kTrifecta.comboWidth, hr::kPayWidth}, hr::kTrifecta.slots},
    {"単勝馬番", {0, hr::kWin.comboWidth}, hr::kWin.slots},
    {"複勝馬番", {0, hr::kPlace.comboWidth}, hr::kPlace.slots},
    {"枠連組番", {0, hr::kBracketQ.comboWidth}, hr::kBracketQ.slots},
    {"馬連組番", {0, hr::kQuinella.comboWidth}, hr::kQuinella.slots},
    {"ワイド組番", {0, hr::kWide.comboWidth}, hr::kWide.slots},
};

constexpr NumberField kO1Numbers[] = {
    {"登録頭数", o1::kEntered},
    {"出走頭数", o1::kStarters},
};

bool isZeroFilledOrUnset(std::string_view bytes) {
    return allDigits(bytes) ||
           std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' '; });
}

// The first numeric field that is neither (its name and offset), or none.
struct BadNumber {
    const char* name = nullptr;
    size_t offset = 0;
};
BadNumber badNumber(std::string_view body, std::span<const NumberField> fields) {
    for (const NumberField& f : fields)
        for (int i = 0; i < f.each.count; ++i) {
            const Field at{f.each.at(i) + f.field.offset, f.field.width};
            if (!isZeroFilledOrUnset(slice(body, at)))
                return {f.name, at.offset};
        }
    return {};
}

std::span<const NumberField> numbersOf(std::string_view type) {
    if (type == "RA")
        return kRaNumbers;
    if (type == "SE")
        return kSeNumbers;
    if (type == "UM")
        return kUmNumbers;
    if (type == "HR")
        return kHrNumbers;
    return kO1Numbers;
}

} // namespace

bool isJraCourse(std::string_view course) {
    return course.size() == 2 && course >= "01" && course <= "10";
}

bool holdsHorseNumber(char kind) {
    return kind != kThursdayKind && kind != kCancelKind && kind != kDeleteKind;
}

bool isCalendarDate(int yyyymmdd) {
    const int year = yyyymmdd / 10000, month = yyyymmdd / 100 % 100, day = yyyymmdd % 100;
    if (year < 1000 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string recordFault(std::string_view type, std::string_view body) {
    const bool race = type != "UM";
    for (const std::span<const NumberField> fields :
         {race ? std::span<const NumberField>(kRaceKeyNumbers) : std::span<const NumberField>(),
          numbersOf(type)})
        if (const BadNumber bad = badNumber(body, fields); bad.name != nullptr)
            return format("%.2sレコードの%s (%zuバイト目から) が0で埋めた数字ではありません",
                          type.data(), bad.name, bad.offset + 1);
    if (!isCalendarDate(number(body, kMadeOn)))
        return format("%.2sレコードの作成日%.8sは暦にない日付です", type.data(),
                      slice(body, kMadeOn).data());
    if (race && !isCalendarDate(number(body, kYear) * 10000 + number(body, kMonthDay)))
        return format("%.2sレコードの開催年月日%.8sは暦にない日付です", type.data(),
                      slice(body, {kYear.offset, 8}).data());
    if (type != "SE")
        return {};
    const char kind = body[kDataKind.offset];
    const int horseNo = number(body, se::kHorseNo);
    const int highest = isJraCourse(slice(body, kCourse)) ? 18 : 99;
    if (horseNo > highest || (horseNo == 0 && holdsHorseNumber(kind)))
        return format("SEレコードの馬番%02dは1～%dのどれでもありません", horseNo, highest);
    return {};
}

} // namespace zelkor::jvdata
