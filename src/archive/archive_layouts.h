#pragma once

#include "race/fixed_record.h"

// Byte offsets of the fields the program reads from the race-day archive's
// fixed-width files (0-based; widths beside them), in the layout style of
// the JV-Data records.
namespace zelkor::archivelayout {

using jvrecord::Field;
using jvrecord::Repeated;

// ---- One race line of the race card (JracDat) ----
namespace card {
inline constexpr Field kYear{0, 4};
inline constexpr Field kMonthDay{4, 4};
inline constexpr Field kCourse{8, 2};
inline constexpr Field kMeeting{10, 2};
inline constexpr Field kMeetingDay{12, 2};
inline constexpr Field kRaceNo{14, 2};
inline constexpr Field kWeekday{16, 1};
inline constexpr Field kName{17, 60};
inline constexpr Field kShortName{77, 6};
inline constexpr Field kEdition{83, 3};
inline constexpr Field kGrade{86, 1};
inline constexpr Field kRaceKind{87, 2};
inline constexpr Field kSymbol{89, 3};
inline constexpr Field kWeightRule{92, 1};
inline constexpr Repeated kCondition{93, 3, 5};
inline constexpr size_t kConditionWidth = 3;
inline constexpr Field kDistance{132, 4};
inline constexpr Field kTrack{136, 2};
inline constexpr Repeated kPrize{148, 7, 5};
inline constexpr Repeated kAddedPrize{197, 7, 3};
inline constexpr size_t kMoneyWidth = 7;
inline constexpr Field kPostTime{319, 4};
inline constexpr Field kSale{323, 1};
inline constexpr Field kRunnerCount{324, 2};
} // namespace card

// ---- One runner group of a race line, from the group's start ----
namespace runner {
inline constexpr Field kHorseNo{0, 2};
inline constexpr Field kBracket{2, 1};
inline constexpr Field kHorseId{3, 10};
inline constexpr Field kName{13, 18};
inline constexpr Field kSex{31, 1};
inline constexpr Field kWeightCarried{32, 3};
inline constexpr Field kBlinkers{35, 1};
inline constexpr Field kJockeyCode{36, 5};
inline constexpr Field kJockeyName{41, 8};
inline constexpr Field kApprentice{49, 1};
inline constexpr Field kTrainerCode{50, 5};
inline constexpr Field kTrainerName{55, 8};
} // namespace runner

// ---- One horse record of the horse file (JracUmaj) ----
namespace horse {
inline constexpr Field kName{28, 36};
inline constexpr Field kBirthYear{64, 4};
inline constexpr Field kBirthMonthDay{68, 4};
inline constexpr Field kBreed{72, 1};
inline constexpr Field kSex{73, 1};
inline constexpr Field kCoat{74, 2};
inline constexpr Field kMark{76, 2};
inline constexpr Field kSire{78, 36};
inline constexpr Field kDam{135, 36};
inline constexpr Field kDamSire{192, 36};
inline constexpr Field kDamDam{249, 36};
inline constexpr Field kBirthplace{405, 24};
inline constexpr Field kBreeder{429, 40};
inline constexpr Field kOwner{475, 40};
inline constexpr Field kEarnings{573, 7};
inline constexpr Field kPrizeTotal{587, 7};
// Finishing counts: 1st, 2nd, 3rd, 4th or worse of a distance band, three
// bands a set, two sets.
inline constexpr size_t kBandCounts = 817;
inline constexpr size_t kBandCountSetBytes = 36;
inline constexpr size_t kBandCountBandBytes = 12;
inline constexpr size_t kBandCountWidth = 3;
} // namespace horse

// ---- One run block of a horse record, from the block's start ----
namespace run {
inline constexpr Field kYear{0, 4};
inline constexpr Field kMonthDay{4, 4};
inline constexpr Field kCourse{8, 2};
inline constexpr Field kMeeting{10, 2};
inline constexpr Field kMeetingDay{12, 2};
inline constexpr Field kRaceNo{14, 2};
inline constexpr Field kShortName{16, 6};
inline constexpr Field kGrade{22, 1};
inline constexpr Field kCondition{29, 3};
inline constexpr Field kRaceName{32, 24};
inline constexpr Field kDistance{56, 4};
inline constexpr Field kTrack{60, 2};
inline constexpr Field kFieldSize{74, 2};
inline constexpr Field kTrackCondition{78, 1};
inline constexpr Field kWeather{79, 1};
inline constexpr Field kHorseNo{80, 2};
inline constexpr Field kBracket{82, 1};
inline constexpr Field kWeightCarried{84, 3};
inline constexpr Field kJockeyName{93, 8};
inline constexpr Field kAbnormal{115, 1};
inline constexpr Field kBodyWeight{116, 3};
inline constexpr Repeated kCorner{122, 2, 4};
inline constexpr size_t kCornerWidth = 2;
inline constexpr Field kLastThreeFurlongs{133, 3};
inline constexpr Field kTime{136, 4};
inline constexpr Field kMargin{140, 3};
inline constexpr Field kFinish{145, 2};
inline constexpr Field kPopularity{147, 2};
inline constexpr Field kOtherHorseName{191, 18};
inline constexpr Field kTimeDiff{212, 3};
} // namespace run

} // namespace zelkor::archivelayout
