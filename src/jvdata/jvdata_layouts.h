#pragma once

#include "race/fixed_record.h"

#include <cstddef>
#include <string_view>

// Byte offsets of the JV-Data record fields the program reads and writes
// (0-based from the start of the record; widths beside them). Records are
// fixed-width CP932; every length counts the final CR LF.
namespace zelkor::jvlayout {

using jvrecord::Field;
using jvrecord::Repeated;

inline constexpr size_t kLineEndBytes = 2;

// Every record type with its length, the five the program uses first.
struct RecordType {
    std::string_view type;
    size_t length;
};
inline constexpr RecordType kRecordTypes[] = {
    {"RA", 1272},  {"SE", 555},   {"UM", 1609},   {"UM", 1577}, {"HR", 719},  {"O1", 962},
    {"TK", 21657}, {"H1", 28955}, {"H6", 102890}, {"O2", 2042}, {"O3", 2654}, {"O4", 4031},
    {"O5", 12293}, {"O6", 83285}, {"KS", 4173},   {"CH", 3862}, {"BR", 545},  {"BN", 477},
    {"HN", 251},   {"SK", 208},   {"RC", 501},    {"HC", 60},   {"WH", 847},  {"WE", 42},
    {"AV", 78},    {"JC", 161},   {"TC", 45},     {"CC", 50},   {"DM", 303},  {"YS", 382},
    {"HS", 200},   {"HY", 123},   {"CK", 6870},   {"BT", 6889}, {"CS", 6829}, {"TM", 141},
    {"WF", 7215},  {"JG", 80},    {"WC", 105},
};
// The longest record of any type: no line end is looked for further away.
inline constexpr size_t kLongestRecord = 102890;

// ---- Header of every record and the race key (RA, SE, HR, O1) ----
inline constexpr Field kType{0, 2};
inline constexpr Field kDataKind{2, 1};
inline constexpr Field kMadeOn{3, 8};
inline constexpr Field kRaceKey{11, 16};
inline constexpr Field kYear{11, 4};
inline constexpr Field kMonthDay{15, 4};
inline constexpr Field kCourse{19, 2};
inline constexpr Field kMeeting{21, 2};
inline constexpr Field kMeetingDay{23, 2};
inline constexpr Field kRaceNo{25, 2};

namespace ra {
inline constexpr size_t kLength = 1272;
inline constexpr Field kWeekday{27, 1};
inline constexpr Field kSpecialRaceNo{28, 4};
inline constexpr Field kName{32, 60};
inline constexpr Field kSubtitle{92, 60};
inline constexpr Field kNameParen{152, 60};
inline constexpr Field kNameEn{212, 120};
inline constexpr Field kShort10{572, 20};
inline constexpr Field kShort6{592, 12};
inline constexpr Field kShort3{604, 6};
inline constexpr Field kEditionPlace{610, 1};
inline constexpr Field kEdition{611, 3};
inline constexpr Field kGrade{614, 1};
inline constexpr Field kRaceKind{616, 2};
inline constexpr Field kSymbol{618, 3};
inline constexpr Field kWeightRule{621, 1};
inline constexpr Repeated kCondition{622, 3, 5};
inline constexpr size_t kConditionWidth = 3;
inline constexpr Field kDistance{697, 4};
inline constexpr Field kTrack{705, 2};
inline constexpr Field kCourseLane{709, 2};
inline constexpr Repeated kPrize{713, 8, 7};
inline constexpr Repeated kAddedPrize{809, 8, 5};
inline constexpr size_t kMoneyWidth = 8;
inline constexpr Field kPostTime{873, 4};
inline constexpr Field kEntered{881, 2};
inline constexpr Field kStarters{883, 2};
inline constexpr Field kFinishers{885, 2};
inline constexpr Field kWeather{887, 1};
inline constexpr Field kGoingTurf{888, 1};
inline constexpr Field kGoingDirt{889, 1};
inline constexpr Repeated kLap{890, 3, 25};
inline constexpr Field kLast3F{975, 3};
inline constexpr Repeated kCorner{981, 72, 4};
inline constexpr Field kRecordFlag{1269, 1};
} // namespace ra

namespace se {
inline constexpr size_t kLength = 555;
inline constexpr Field kBracket{27, 1};
inline constexpr Field kHorseNo{28, 2};
inline constexpr Field kHorseId{30, 10};
inline constexpr Field kHorseName{40, 36};
inline constexpr Field kHorseMark{76, 2};
inline constexpr Field kSex{78, 1};
inline constexpr Field kBreed{79, 1};
inline constexpr Field kCoat{80, 2};
inline constexpr Field kAge{82, 2};
inline constexpr Field kTrainerRegion{84, 1};
inline constexpr Field kTrainerCode{85, 5};
inline constexpr Field kTrainerShort{90, 8};
inline constexpr Field kOwnerCode{98, 6};
inline constexpr Field kOwnerName{104, 64};
inline constexpr Field kSilks{168, 60};
inline constexpr Field kWeightCarried{288, 3};
inline constexpr Field kBlinkers{294, 1};
inline constexpr Field kJockeyCode{296, 5};
inline constexpr Field kJockeyShort{306, 8};
inline constexpr Field kApprentice{322, 1};
inline constexpr Field kBodyWeight{324, 3};
inline constexpr Field kBodyWeightSign{327, 1};
inline constexpr Field kBodyWeightDiff{328, 3};
inline constexpr Field kAbnormal{331, 1};
inline constexpr Field kArrivalOrder{332, 2};
inline constexpr Field kFinish{334, 2};
inline constexpr Field kDeadHeat{336, 1};
inline constexpr Field kDeadHeatCount{337, 1};
inline constexpr Field kTime{338, 4};
inline constexpr Field kMargin{342, 3};
inline constexpr Repeated kCornerPos{351, 2, 4};
inline constexpr size_t kCornerWidth = 2;
inline constexpr Field kWinOdds{359, 4};
inline constexpr Field kPopularity{363, 2};
inline constexpr Field kPrizeWon{365, 8};
inline constexpr Field kAddedWon{373, 8};
inline constexpr Field kLast3F{390, 3};
inline constexpr Repeated kOpponent{393, 46, 3};
inline constexpr size_t kOpponentIdWidth = 10;
inline constexpr size_t kOpponentNameWidth = 36;
inline constexpr Field kTimeDiff{531, 4};
inline constexpr Field kRecordFlag{535, 1};
inline constexpr Field kStyle{552, 1};
} // namespace se

// UM comes in two lengths; from offset 204 on the fields lie apart.
namespace um {
inline constexpr Field kHorseId{11, 10};
inline constexpr Field kRetired{21, 1};
inline constexpr Field kRegisteredOn{22, 8};
inline constexpr Field kRetiredOn{30, 8};
inline constexpr Field kBirthDate{38, 8};
inline constexpr Field kName{46, 36};
inline constexpr Field kNameKana{82, 36};
inline constexpr Field kNameEn{118, 60};
inline constexpr Field kHorseMark{198, 2};
inline constexpr Field kSex{200, 1};
inline constexpr Field kBreed{201, 1};
inline constexpr Field kCoat{202, 2};
inline constexpr int kPedigreeCount = 14;
inline constexpr size_t kPedigreeNameWidth = 36;

struct Layout {
    size_t length;
    Repeated pedigree; // each: breeding number, then the 36-byte name
    size_t breedingNoWidth;
    Field trainerRegion;
    Field trainerCode;
    Field trainerShort;
    Field breederCode;
    Field breederName;
    Field birthplace;
    Field ownerCode;
    Field ownerName;
    Field prizeFlat;
    Field earnedFlat;
    size_t countsAll; // 6 counts of 3 digits; six groups of prize totals before
    Field raceCount;
};
inline constexpr Layout kCurrent{1609,      {204, 46, 14}, 10,        {848, 1},  {849, 5},
                                 {854, 8},  {882, 8},      {890, 72}, {962, 20}, {982, 6},
                                 {988, 64}, {1052, 9},     {1088, 9}, 1106,      {1604, 3}};
inline constexpr Layout kBefore2023{1577,      {204, 44, 14}, 8,         {820, 1},  {821, 5},
                                    {826, 8},  {854, 6},      {860, 70}, {930, 20}, {950, 6},
                                    {956, 64}, {1020, 9},     {1056, 9}, 1074,      {1572, 3}};
// Totals after prizeFlat, each 9 digits: prizeJump, addedFlat, addedJump,
// earnedFlat, earnedJump.
inline constexpr size_t kTotalWidth = 9;
// The layout of a UM record of `length` bytes; the current one otherwise.
constexpr const Layout& layoutFor(size_t length) {
    return length == kBefore2023.length ? kBefore2023 : kCurrent;
}
} // namespace um

namespace hr {
inline constexpr size_t kLength = 719;
inline constexpr Field kEntered{27, 2};
inline constexpr Field kStarters{29, 2};
inline constexpr Repeated kNotEstablished{31, 1, 9};
inline constexpr Repeated kSpecialPay{40, 1, 9};
inline constexpr Repeated kRefund{49, 1, 9};
inline constexpr Repeated kRefundHorse{58, 1, 28};
inline constexpr Repeated kRefundBracket{86, 1, 8};
inline constexpr Repeated kRefundSameBracket{94, 1, 8};

// One bet type's payout slots: combination, pay (9 digits), popularity.
struct PayTable {
    Repeated slots;
    size_t comboWidth;
    size_t popWidth;
};
inline constexpr size_t kPayWidth = 9;
inline constexpr PayTable kWin{{102, 13, 3}, 2, 2};
inline constexpr PayTable kPlace{{141, 13, 5}, 2, 2};
inline constexpr PayTable kBracketQ{{206, 13, 3}, 2, 2};
inline constexpr PayTable kQuinella{{245, 16, 3}, 4, 3};
inline constexpr PayTable kWide{{293, 16, 7}, 4, 3};
inline constexpr PayTable kReserved{{405, 16, 3}, 4, 3};
inline constexpr PayTable kExacta{{453, 16, 6}, 4, 3};
inline constexpr PayTable kTrio{{549, 18, 3}, 6, 3};
inline constexpr PayTable kTrifecta{{603, 19, 6}, 6, 4};
// In the order of the flag arrays.
inline constexpr PayTable kPayTables[] = {kWin,      kPlace,  kBracketQ, kQuinella, kWide,
                                          kReserved, kExacta, kTrio,     kTrifecta};
} // namespace hr

namespace o1 {
inline constexpr size_t kLength = 962;
inline constexpr Field kAnnounced{27, 8};
inline constexpr Field kEntered{35, 2};
inline constexpr Field kStarters{37, 2};
inline constexpr Field kWinSale{39, 1};
inline constexpr Field kPlaceSale{40, 1};
inline constexpr Field kBracketSale{41, 1};
inline constexpr Field kPlacePaysTo{42, 1};
// Win: horse number (2), odds in tenths (4), popularity (2).
inline constexpr Repeated kWinOdds{43, 8, 28};
// Place: horse number (2), lowest (4), highest (4), popularity (2).
inline constexpr Repeated kPlaceOdds{267, 12, 28};
// Bracket quinella 1-1..8-8: pair (2), odds (5), popularity (2).
inline constexpr Repeated kBracketOdds{603, 9, 36};
inline constexpr Field kWinPool{927, 11};
inline constexpr Field kPlacePool{938, 11};
inline constexpr Field kBracketPool{949, 11};
} // namespace o1

} // namespace zelkor::jvlayout
