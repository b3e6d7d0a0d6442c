#include "race/fixed_record.h"

#include "text/sjis.h"

namespace zelkor::jvrecord {
void readDecimal(std::string_view record, size_t offset, size_t width, int& value) {
    value = readLeadingDigits(record, offset, width);
}

std::string readText(std::string_view record, size_t offset, size_t width) {
    return fixedField(record, offset, width);
}

std::string readCut(std::string_view record, size_t offset, size_t width) {
    // A field whole in its record is cut where it lies, without a copy first.
    if (offset <= record.size() && width <= record.size() - offset)
        return cutBeforeFullWidthSpace(record.substr(offset, width));
    return cutBeforeFullWidthSpace(fixedField(record, offset, width));
}

} // namespace zelkor::jvrecord
