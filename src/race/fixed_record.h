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

// The same parse, returned. Parsed where it lies (it runs for every field of
// every record a job reads): the bytes a short record lacks would be
// blanks, which end a number as the record's end does.
inline int readLeadingDigits(std::string_view record, size_t offset, size_t width) {
    if (offset >= record.size())
        return 0;
    const std::string_view field = record.substr(offset, width);
    size_t pos = 0;
    // Most fields start with a digit: then the number is the digits up to
    // the first non-digit, and nine of them never overflow.
    if (field.size() <= 9) {
        int digits = 0;
        for (unsigned d;
             pos < field.size() && (d = static_cast<unsigned char>(field[pos]) - 48u) <= 9; ++pos)
            digits = digits * 10 + static_cast<int>(d);
        if (pos > 0)
            return digits;
    }
    while (pos < field.size() && (field[pos] == ' ' || (field[pos] >= '\t' && field[pos] <= '\r')))
        ++pos;
    bool negative = false;
    if (pos < field.size() && (field[pos] == '+' || field[pos] == '-')) {
        negative = field[pos] == '-';
        ++pos;
    }
    long long value = 0;
    constexpr long long kLimit = 2147483647LL;
    for (; pos < field.size() && field[pos] >= '0' && field[pos] <= '9'; ++pos) {
        value = value * 10 + (field[pos] - '0');
        if (value > kLimit)
            value = kLimit; // saturate; no field of the formats is that wide
    }
    return static_cast<int>(negative ? -value : value);
}

// The field's bytes as they are (codes).
std::string readText(std::string_view record, size_t offset, size_t width);

// A text field without the blanks and full-width spaces that pad it.
std::string readName(std::string_view record, size_t offset, size_t width);

// The field up to its first full-width space (all of it when it has none),
// trailing blanks dropped.
std::string readCut(std::string_view record, size_t offset, size_t width);

} // namespace zelkor::jvrecord
