#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkor::jvrecord {

// A field of a fixed-width record: its byte offset (0-based) and width. The
// layouts of every record the program reads, JV-Data and the race-day
// archive alike, are tables of these.
struct Field {
    size_t offset;
    size_t width;
    // The field of a group (a runner's, a run's) that starts at `base`.
    constexpr Field at(size_t base) const { return {base + offset, width}; }
};

// An array field: element i starts at offset + i * stride.
struct Repeated {
    size_t offset;
    size_t stride;
    int count;
    constexpr size_t at(int i) const { return offset + stride * static_cast<size_t>(i); }
    constexpr Field field(int i, size_t width) const { return {at(i), width}; }
};

// Field conversions of the fixed-width JRA-VAN records. Bytes beyond the
// end of a record read as blanks, so a short record never reads outside.

// A decimal number: leading blanks skipped, an optional sign, digits up to
// the first non-digit; 0 for a field without any digit. Parsed where it
// lies (it runs for every field of every record a job reads): the bytes a
// short record lacks would be blanks, which end a number as the record's
// end does.
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

inline int readNumber(std::string_view record, Field field) {
    return readLeadingDigits(record, field.offset, field.width);
}

// The field's bytes as they are (codes).
std::string readText(std::string_view record, size_t offset, size_t width);

// A text field without the blanks and full-width spaces that pad it.
std::string readName(std::string_view record, size_t offset, size_t width);

// The field up to its first full-width space (all of it when it has none),
// trailing blanks dropped.
std::string readCut(std::string_view record, size_t offset, size_t width);

inline std::string readText(std::string_view record, Field field) {
    return readText(record, field.offset, field.width);
}
inline std::string readName(std::string_view record, Field field) {
    return readName(record, field.offset, field.width);
}
inline std::string readCut(std::string_view record, Field field) {
    return readCut(record, field.offset, field.width);
}

} // namespace zelkor::jvrecord
