#pragma once

#include <string>
#include <string_view>

namespace zelkor {

// Conversions between the CP932 bytes every file and library string holds
// and the Unicode forms used at the edges (terminal, JSON, widgets).
// Bytes that cannot be converted become "?" (U+003F) so that a damaged
// record never stops a display.
std::string cp932ToUtf8(std::string_view cp932);
std::string utf8ToCp932(std::string_view utf8);
std::u16string cp932ToUtf16(std::string_view cp932);
std::string utf16ToCp932(std::u16string_view utf16);

// A file path of this platform as CP932 text for the user (messages,
// progress). POSIX file names are UTF-8 by convention; a name that is not
// valid UTF-8 is shown as its bytes.
std::string pathForDisplay(std::string_view nativePath);

// True when the whole text converts both ways without loss.
bool isValidCp932(std::string_view cp932);

} // namespace zelkor
