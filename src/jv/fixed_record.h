#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkor::jvrecord {

// Field conversions of the fixed-width JRA-VAN records. Bytes beyond the
// end of a record read as blanks, so a short record never reads outside.

// A decimal number into `value`: leading blanks skipped, an optional sign,
// digits up to the first non-digit. A field without any digit reads 0,
// never a value `value` held before.
void readDecimal(std::string_view record, size_t offset, size_t width, int& value);

// The same parse, returned.
int readLeadingDigits(std::string_view record, size_t offset, size_t width);

// The field's bytes as they are.
std::string readText(std::string_view record, size_t offset, size_t width);

// The field up to its first full-width space (all of it when it has none).
std::string readCut(std::string_view record, size_t offset, size_t width);

} // namespace zelkor::jvrecord
