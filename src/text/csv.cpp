#include "text/csv.h"

namespace zelkor {

namespace {

// A control byte other than a line end or tab: a NUL would end the cell
// where it is written as a C string, the others garble a spreadsheet. No
// CP932 trail byte lies in this range, so bytes are tested one by one.
bool isStrayControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && c != '\r' && c != '\n' && c != '\t') || u == 0x7f;
}

} // namespace

std::string csvField(std::string_view text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos;
    bool plain = !formula && text.find_first_of(",\"\r\n") == std::string_view::npos;
    for (char c : text)
        plain = plain && !isStrayControl(c);
    if (plain)
        return std::string(text);
    std::string out = formula ? "\"'" : "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += isStrayControl(c) ? '?' : c;
    }
    return out + '"';
}

} // namespace zelkor
