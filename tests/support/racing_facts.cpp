#include "support/racing_facts.h"

#include <chrono>

namespace zelkor::test {
namespace {

std::chrono::sys_days daysOf(int date) {
    using namespace std::chrono;
    return sys_days{year_month_day{year{date / 10000},
                                   month{static_cast<unsigned>(date / 100 % 100)},
                                   day{static_cast<unsigned>(date % 100)}}};
}

struct Course {
    std::string_view code;
    bool leftHanded;
    std::span<const int> turf, dirt;
};

constexpr int kSapporoTurf[] = {1200, 1500, 1800, 2000, 2600};
constexpr int kSapporoDirt[] = {1000, 1700, 2400};
constexpr int kHakodateTurf[] = {1000, 1200, 1800, 2000, 2600};
constexpr int kFukushimaTurf[] = {1200, 1800, 2000, 2600};
constexpr int kFukushimaDirt[] = {1150, 1700, 2400};
constexpr int kNiigataTurf[] = {1000, 1200, 1400, 1600, 1800, 2000, 2200, 2400};
constexpr int kNiigataDirt[] = {1200, 1800, 2500};
constexpr int kTokyoTurf[] = {1400, 1600, 1800, 2000, 2300, 2400, 2500, 3400};
constexpr int kTokyoDirt[] = {1300, 1400, 1600, 2100};
constexpr int kNakayamaTurf[] = {1200, 1600, 1800, 2000, 2200, 2500, 3600};
constexpr int kNakayamaDirt[] = {1200, 1800, 2400, 2500};
constexpr int kChukyoTurf[] = {1200, 1400, 1600, 2000, 2200};
constexpr int kChukyoDirt[] = {1200, 1400, 1800, 1900};
constexpr int kKyotoTurf[] = {1200, 1400, 1600, 1800, 2000, 2200, 2400, 3000, 3200};
constexpr int kKyotoDirt[] = {1200, 1400, 1800, 1900};
constexpr int kHanshinTurf[] = {1200, 1400, 1600, 1800, 2000, 2200, 2400, 2600, 3000};
constexpr int kHanshinDirt[] = {1200, 1400, 1800, 2000};
constexpr int kKokuraTurf[] = {1200, 1700, 1800, 2000, 2600};

const Course kCourseFacts[] = {
    {"01", false, kSapporoTurf, kSapporoDirt},     {"02", false, kHakodateTurf, kSapporoDirt},
    {"03", false, kFukushimaTurf, kFukushimaDirt}, {"04", true, kNiigataTurf, kNiigataDirt},
    {"05", true, kTokyoTurf, kTokyoDirt},          {"06", false, kNakayamaTurf, kNakayamaDirt},
    {"07", true, kChukyoTurf, kChukyoDirt},        {"08", false, kKyotoTurf, kKyotoDirt},
    {"09", false, kHanshinTurf, kHanshinDirt},     {"10", false, kKokuraTurf, kSapporoDirt},
};

const Course* courseOf(std::string_view code) {
    for (const Course& c : kCourseFacts)
        if (c.code == code)
            return &c;
    return nullptr;
}

} // namespace

int addDays(int date, int days) {
    using namespace std::chrono;
    const year_month_day moved{daysOf(date) + std::chrono::days{days}};
    return static_cast<int>(moved.year()) * 10000 +
           static_cast<int>(unsigned(moved.month())) * 100 +
           static_cast<int>(unsigned(moved.day()));
}

int jvWeekdayCode(int date) {
    const unsigned w = std::chrono::weekday{daysOf(date)}.c_encoding(); // 0 Sunday
    constexpr int kCodes[] = {2, 4, 5, 6, 7, 8, 1};
    return kCodes[w];
}

std::span<const int> courseDistances(std::string_view course, bool turf) {
    const Course* c = courseOf(course);
    return c == nullptr ? std::span<const int>() : turf ? c->turf : c->dirt;
}

int courseTrackCode(std::string_view course, bool turf) {
    const Course* c = courseOf(course);
    const bool left = c != nullptr && c->leftHanded;
    return turf ? (left ? 11 : 17) : (left ? 23 : 24);
}

std::array<const char*, 3> coursesOfMonth(int month) {
    static constexpr std::array<const char*, 3> kByMonth[] = {
        {"06", "08", "07"}, {"05", "08", "10"}, {"06", "09", "07"}, {"06", "09", "03"},
        {"05", "08", "04"}, {"05", "09", "02"}, {"03", "07", "02"}, {"04", "10", "01"},
        {"06", "09", "01"}, {"05", "08", "04"}, {"05", "08", "03"}, {"06", "09", "07"}};
    return kByMonth[static_cast<size_t>((month + 11) % 12)];
}

int postTimeOf(int raceNo, int courseIndex) {
    // 1R at 9:50, a lunch break after 4R, 11R at about 15:30.
    static constexpr int kMinutes[] = {590, 620, 650, 680, 730, 760, 790, 820, 855, 890, 930, 965};
    const int minutes = kMinutes[static_cast<size_t>((raceNo + 11) % 12)] + 10 * courseIndex;
    return minutes / 60 * 100 + minutes % 60;
}

RaceClass raceClassOf(int month, int raceNo) {
    static constexpr RaceClass kSpring[] = {{12, 703}, {12, 703}, {12, 701}, {12, 703},
                                            {12, 5},   {14, 5},   {14, 5},   {14, 10},
                                            {14, 10},  {14, 16},  {14, 999}, {14, 5}};
    static constexpr RaceClass kSummer[] = {{11, 703}, {11, 703}, {11, 701}, {11, 701},
                                            {13, 5},   {13, 5},   {13, 5},   {13, 10},
                                            {11, 5},   {13, 16},  {13, 999}, {13, 10}};
    const size_t i = static_cast<size_t>((raceNo + 11) % 12);
    RaceClass c = month <= 5 ? kSpring[i] : kSummer[i];
    // 3歳新馬 end with March.
    if (c.condition == 701 && c.kind == 12 && month > 3)
        c.condition = 703;
    return c;
}

std::array<int, 5> conditionSlots(RaceClass c) {
    const int k = c.condition;
    switch (c.kind) {
    case 11:
        return {k, 0, 0, 0, k};
    case 12:
        return {0, k, 0, 0, k};
    case 13:
        return {0, k, k, k, k};
    default:
        return {0, 0, k, k, k};
    }
}

bool ageFitsKind(int age, int kind) {
    switch (kind) {
    case 11:
        return age == 2;
    case 12:
        return age == 3;
    case 13:
        return age >= 3;
    case 14:
        return age >= 4;
    default:
        return false;
    }
}

int winnerTenths(int metres, bool turf) {
    return metres * (555 + metres * 16 / 1000 + (turf ? 0 : 40)) / 1000;
}

bool timeFitsDistance(int tenths, int metres) {
    // Between 54 and 70 seconds a kilometre.
    return metres > 0 && tenths * 1000 >= metres * 540 && tenths * 1000 <= metres * 700;
}

} // namespace zelkor::test
