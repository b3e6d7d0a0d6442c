#pragma once

#include <string>

namespace zelkor {

// printf-style formatting into a std::string; the compiler checks the
// arguments against the template. Texts are always passed as "%s"
// arguments, never as the template.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Appends the formatted text to `out`.
void appendFormat(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

} // namespace zelkor
