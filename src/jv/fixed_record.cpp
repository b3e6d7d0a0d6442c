#include "jv/fixed_record.h"

#include "text/sjis.h"

#include <optional>

namespace zelkor::jvrecord {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::optional<int> parseNumber(std::string_view field) {
    size_t pos = 0;
    while (pos < field.size() && isBlank(field[pos]))
        ++pos;
    bool negative = false;
    if (pos < field.size() && (field[pos] == '+' || field[pos] == '-')) {
        negative = field[pos] == '-';
        ++pos;
    }
    if (pos >= field.size() || field[pos] < '0' || field[pos] > '9')
        return std::nullopt;
    long long value = 0;
    constexpr long long kLimit = 2147483647LL;
    for (; pos < field.size() && field[pos] >= '0' && field[pos] <= '9'; ++pos) {
        value = value * 10 + (field[pos] - '0');
        if (value > kLimit)
            value = kLimit; // saturate; no field of the formats is that wide
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

void readDecimal(std::string_view record, size_t offset, size_t width, int& value) {
    value = readLeadingDigits(record, offset, width);
}

int readLeadingDigits(std::string_view record, size_t offset, size_t width) {
    // Parsed where it lies: the bytes a short record lacks would be blanks,
    // which end a number as the record's end does.
    if (offset >= record.size())
        return 0;
    return parseNumber(record.substr(offset, width)).value_or(0);
}

std::string readText(std::string_view record, size_t offset, size_t width) {
    return fixedField(record, offset, width);
}

std::string readCut(std::string_view record, size_t offset, size_t width) {
    return cutBeforeFullWidthSpace(fixedField(record, offset, width));
}

} // namespace zelkor::jvrecord
