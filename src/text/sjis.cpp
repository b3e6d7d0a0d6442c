#include "text/sjis.h"

namespace zelkor {

size_t charLength(std::string_view text, size_t pos) {
    if (pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos])) &&
        isTrailByte(static_cast<unsigned char>(text[pos + 1])))
        return 2;
    return 1;
}

size_t findSjis(std::string_view text, std::string_view needle, size_t from) {
    if (needle.empty())
        return from <= text.size() ? from : std::string_view::npos;
    size_t pos = 0;
    while (pos < text.size()) {
        if (pos >= from && text.substr(pos, needle.size()) == needle)
            return pos;
        pos += charLength(text, pos);
    }
    return std::string_view::npos;
}

std::string cutBeforeFullWidthSpace(std::string_view text) {
    size_t pos = findSjis(text, kFullWidthSpace);
    return std::string(text.substr(0, pos == std::string_view::npos ? text.size() : pos));
}

std::string_view withoutTrailingBlanks(std::string_view text) {
    // Most fields end in a character that is no blank: nothing to walk.
    const char last = text.empty() ? ' ' : text.back();
    if (last != ' ' && last != '\0' && last != kFullWidthSpace.back())
        return text;
    // One walk by characters: the text ends after its last character that
    // is no blank, NUL or whole full-width space.
    size_t end = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = charLength(text, pos);
        const std::string_view c = text.substr(pos, length);
        if (c != " " && c != std::string_view("\0", 1) && c != kFullWidthSpace)
            end = pos + length;
        pos += length;
    }
    return text.substr(0, end);
}

std::string_view prefixWholeChars(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    size_t pos = 0;
    while (pos < maxBytes) {
        size_t len = charLength(text, pos);
        if (pos + len > maxBytes)
            break;
        pos += len;
    }
    return text.substr(0, pos);
}

std::string fixedField(std::string_view record, size_t offset, size_t width) {
    // Nearly every field lies whole in its record: its bytes as they are.
    if (offset <= record.size() && width <= record.size() - offset)
        return std::string(record.substr(offset, width));
    std::string field(width, ' ');
    if (offset < record.size()) {
        size_t available = record.size() - offset;
        field.replace(0, available < width ? available : width, record.substr(offset, width));
    }
    return field;
}

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    size_t pos = 0;
    while (pos < prefix.size()) {
        if (pos >= text.size())
            return false;
        size_t len = charLength(prefix, pos);
        if (len != charLength(text, pos))
            return false;
        if (len == 1) {
            auto fold = [](char c) {
                return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
            };
            if (fold(text[pos]) != fold(prefix[pos]))
                return false;
        } else if (text.substr(pos, 2) != prefix.substr(pos, 2)) {
            return false;
        }
        pos += len;
    }
    return true;
}

} // namespace zelkor
