#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkor {

// The full-width space that pads JRA-VAN text fields.
inline constexpr std::string_view kFullWidthSpace = "　";

// True for the first byte of a two-byte Shift-JIS character.
constexpr bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
}

// True for a byte that may follow a lead byte in a two-byte character.
constexpr bool isTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7e) || (c >= 0x80 && c <= 0xfc);
}

// Length in bytes of the character starting at `pos`: 2 for a lead byte
// followed by a trail byte, else 1 (a lead byte at the end of the text, or
// before a byte such as a blank or "/" that no character ends in, stands
// alone, as decoders read it).
size_t charLength(std::string_view text, size_t pos);

// Position of `needle` in `text`, matched only at character starts, so a
// trail byte is never taken for the start of a character; npos if absent.
size_t findSjis(std::string_view text, std::string_view needle, size_t from = 0);

// The text before its first full-width space, or all of it when it has none.
std::string cutBeforeFullWidthSpace(std::string_view text);

// `text` without the blanks, NULs and whole full-width spaces that pad it
// at its end (a trail byte is never taken for part of a space).
std::string_view withoutTrailingBlanks(std::string_view text);

// At most `maxBytes` bytes of `text`, shortened by one byte where the last
// character would otherwise be split.
std::string_view prefixWholeChars(std::string_view text, size_t maxBytes);

// Bytes `[offset, offset + width)` of a fixed-width record; bytes beyond the
// end of the record read as blanks.
std::string fixedField(std::string_view record, size_t offset, size_t width);

// True when `text` begins with `prefix`, ASCII letters compared without
// regard to case and everything compared character by character.
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

} // namespace zelkor
