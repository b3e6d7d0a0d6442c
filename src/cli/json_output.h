#pragma once

#include "text/cp932.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

namespace zelkor::cli {

using Json = nlohmann::ordered_json;

// A CP932 text as a JSON string (UTF-8).
inline Json utf8(const std::string& cp932) {
    return cp932ToUtf8(cp932);
}

// The one JSON value of a --json command on stdout, indented by two.
inline void printJson(const Json& value) {
    const std::string text = value.dump(2, ' ', false, Json::error_handler_t::replace);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

} // namespace zelkor::cli
