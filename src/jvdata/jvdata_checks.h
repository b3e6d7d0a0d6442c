#pragma once

#include <string>
#include <string_view>

namespace zelkor::jvdata {

// True for the course codes of JRA's racecourses, 01-10.
bool isJraCourse(std::string_view course);

// True when a runner's SE of data kind `kind` holds its horse number: not
// before the draw (Thursday entries), not cancelled, not deleted.
bool holdsHorseNumber(char kind);

// True when yyyymmdd is a day of the Gregorian calendar (years 1000-9999).
bool isCalendarDate(int yyyymmdd);

// Why a record of a kept type (framed, of its exact length) cannot be
// taken, naming the field (CP932); empty when it can. A number the program
// reads must be zero-filled digits (all blanks: not set yet); the made-on
// date and the race date must be calendar dates; a runner's horse number
// is 1-18 in a JRA race and at least 1 elsewhere (00 only before the draw,
// in a cancel or a delete).
std::string recordFault(std::string_view type, std::string_view body);

} // namespace zelkor::jvdata
