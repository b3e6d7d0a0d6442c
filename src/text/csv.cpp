#include "text/csv.h"

namespace zelkor {

std::string csvField(std::string_view text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos;
    if (!formula && text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = formula ? "\"'" : "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

} // namespace zelkor
