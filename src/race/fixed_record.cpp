#include "race/fixed_record.h"

#include "text/sjis.h"

namespace zelkor::jvrecord {
std::string readText(std::string_view record, size_t offset, size_t width) {
    return fixedField(record, offset, width);
}

namespace {

// The field where it lies when it is whole in its record, else padded.
std::string_view fieldOf(std::string_view record, size_t offset, size_t width, std::string& copy) {
    if (offset <= record.size() && width <= record.size() - offset)
        return record.substr(offset, width);
    copy = fixedField(record, offset, width);
    return copy;
}

} // namespace

std::string readName(std::string_view record, size_t offset, size_t width) {
    std::string copy;
    return std::string(withoutTrailingBlanks(fieldOf(record, offset, width, copy)));
}

std::string readCut(std::string_view record, size_t offset, size_t width) {
    std::string copy;
    const std::string_view field = fieldOf(record, offset, width, copy);
    const size_t space = findSjis(field, kFullWidthSpace);
    return std::string(withoutTrailingBlanks(field.substr(0, space)));
}

} // namespace zelkor::jvrecord
