#include "text/format.h"

#include <cstdarg>
#include <cstdio>

namespace zelkor {
namespace {

void appendV(std::string& out, const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0)
        return;
    if (static_cast<size_t>(n) < sizeof small) {
        out.append(small, static_cast<size_t>(n));
        return;
    }
    size_t old = out.size();
    out.resize(old + static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data() + old, static_cast<size_t>(n) + 1, fmt, args);
    out.resize(old + static_cast<size_t>(n));
}

} // namespace

std::string format(const char* fmt, ...) {
    std::string out;
    va_list args;
    va_start(args, fmt);
    appendV(out, fmt, args);
    va_end(args);
    return out;
}

void appendFormat(std::string& out, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    appendV(out, fmt, args);
    va_end(args);
}

} // namespace zelkor
