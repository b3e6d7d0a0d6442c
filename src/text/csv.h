#pragma once

#include <string>
#include <string_view>

namespace zelkor {

// One field of a CSV row: quoted, with its quotes doubled, when it holds a
// comma, a quote or a line end; a text starting with "=", "+", "-" or "@"
// gets a leading "'" (and quotes) so that a spreadsheet never reads it as
// a formula. A control byte (a NUL too) is written as "?" in a quoted
// field, so the cell keeps its length. Numbers the program writes itself
// need neither.
std::string csvField(std::string_view text);

} // namespace zelkor
