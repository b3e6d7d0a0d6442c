#pragma once

// What JRA racing is like, as far as the generated sample data show it: the
// distances each racecourse runs, the hours races start, the programme of a
// race day by season, the ages a race admits and the times a distance
// takes. The sample generators follow these facts and the sample check
// holds the bundled files to them.

#include <array>
#include <span>
#include <string_view>

namespace zelkor::test {

// A calendar date YYYYMMDD moved by `days`.
int addDays(int date, int days);
// The JV-Data weekday code of a date: 1 土, 2 日, 4 月 … 8 金.
int jvWeekdayCode(int date);

// The flat distances of racecourse `course` ("01" 札幌 … "10" 小倉) on turf
// or dirt; empty for any other code.
std::span<const int> courseDistances(std::string_view course, bool turf);
// The track code of a flat race there: turf or dirt, the course's direction.
int courseTrackCode(std::string_view course, bool turf);
// The racecourses of race days in `month` (1-12), the main one first.
std::array<const char*, 3> coursesOfMonth(int month);

// The post time (hour × 100 + minute) of race `raceNo` (1-12) at the
// `courseIndex`-th racecourse of the day: the courses start ten minutes apart.
int postTimeOf(int raceNo, int courseIndex);

// Race `raceNo` of a race day in `month`: its kind (11 2歳 … 14 4歳以上)
// and its condition code (701 新馬, 703 未勝利, 005/010/016 the 1-3勝
// classes, 999 オープン), as JRA's programme has them: 3歳 and 4歳以上
// races from January to May, 2歳 and 3歳以上 ones from June.
struct RaceClass {
    int kind;
    int condition;
};
RaceClass raceClassOf(int month, int raceNo);
// The five condition slots of a race of that kind (2歳, 3歳, 4歳, 5歳以上,
// youngest age).
std::array<int, 5> conditionSlots(RaceClass c);
// Whether a horse of `age` may run in a race of kind `kind`.
bool ageFitsKind(int age, int kind);

// A winner's time in tenths of a second over `metres` on turf or dirt on
// good going, and the slowest and fastest a finisher could believably take.
int winnerTenths(int metres, bool turf);
bool timeFitsDistance(int tenths, int metres);

} // namespace zelkor::test
