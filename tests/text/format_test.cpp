#include "text/format.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(Format, TemplatesOfThePages) {
    EXPECT_EQ(format("%2d", 7), " 7");
    EXPECT_EQ(format("%04d", 616), "0616");
    EXPECT_EQ(format("%2.1f", 55.0), "55.0");
    EXPECT_EQ(format("%d枠%2d番", 3, 5), "3枠 5番");
}

TEST(Format, LongOutputAndArgumentsAreNotTemplates) {
    std::string longName(1000, 'x');
    longName += "%s%n";
    EXPECT_EQ(format("[%s]", longName.c_str()), "[" + longName + "]");
    std::string out = "a";
    appendFormat(out, "%s-%d", "b", 2);
    EXPECT_EQ(out, "ab-2");
}

// What the C library prints for the same template and arguments.
std::string printed(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string printed(const char* fmt, ...) {
    char text[2048];
    va_list args;
    va_start(args, fmt);
    int n = std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    return std::string(text, static_cast<size_t>(n));
}

#define EXPECT_AS_PRINTED(...) EXPECT_EQ(format(__VA_ARGS__), printed(__VA_ARGS__))

TEST(Format, WritesEveryConversionAsPrintfDoes) {
    const std::string wide(300, 'w');
    EXPECT_AS_PRINTED("%s|%10s|%-4s|%.2s|%-12.3s|%5.1s|", "abc", "abc", "abcdef", "abc", "abcdef",
                      "");
    EXPECT_AS_PRINTED("%.2sの'%c'%3c%-3c|", "競馬場", "SE"[0], 'x', 'y');
    EXPECT_AS_PRINTED("%d %i %d %d %2d %2d %7d %-6d|%6d", 0, -7, INT_MIN, INT_MAX, 5, 1234, -42,
                      -42, 99);
    EXPECT_AS_PRINTED("%04d %04d %02d %08d %03d %-4d| %010d", 616, -61, 123, INT_MIN, 0, 7, -3);
    EXPECT_AS_PRINTED("[%.0d][%5.0d][%.2d][%.2d][%6.3d][%06d][%-5.2d]", 0, 0, 5, -5, -7, 7, 3);
    EXPECT_AS_PRINTED("%u %u %ld %ld %lld %lld %10lld %1lld %zu %zu", 0u, UINT_MAX, LONG_MIN, 12L,
                      LLONG_MIN, LLONG_MAX, -123LL, 123456LL, size_t{0}, SIZE_MAX);
    EXPECT_AS_PRINTED("%02X %02X %x %2x %X %lx %08llX", 0xa, 0xff, 0u, 0x1fu, UINT_MAX, ~0UL,
                      0xbeefULL);
    EXPECT_AS_PRINTED("100%% %d%%%s", 5, "x");
    EXPECT_AS_PRINTED("%.1f %2.1f %5.1f %.0f %.0f %f", 2.25, 55.0, -0.05, 0.5, 1.5, 1e300);
    EXPECT_AS_PRINTED("%+d % d %#x %hd", 3, 4, 255u, short{-2});
    EXPECT_AS_PRINTED("%.1f|%06.1f|%-7.2f|%5.1f|%05.1f|%.3e|%g|%+.1f", -0.04, -2.55, 0.125,
                      0.0 / 0.0, -1.0 / 0.0, 12345.678, 0.0001, 7.25);
    const char* uncheckedFlags = "%06.3d|%-05d"; // the compiler rejects these as literals
    EXPECT_AS_PRINTED(uncheckedFlags, -7, 3);
    EXPECT_AS_PRINTED("<%s>%d<%s>", wide.c_str(), -1, wide.c_str());
    EXPECT_AS_PRINTED("%400d|%-300s|%.300f", 1, "x", 1.0);
    // Fixed-point values near and at the halves between their roundings.
    for (int tenths = -2100; tenths <= 2100; tenths += 7) {
        const double value = tenths / 10.0;
        EXPECT_AS_PRINTED("%2.1f|%.0f|%.2f|%.3f|%05.1f", value, value, value / 8, value / 16,
                          value / 4);
    }
    EXPECT_AS_PRINTED("%.1f|%.1f|%.2f|%.9f|%.1f", 0.25, -0.0, 1.005, 0.1234567895, 4294967295.75);
    // A conversion at every place of the words the text is read in.
    const std::string text = "0123456789abcdefghijklmnopq";
    for (size_t at = 0; at <= text.size(); ++at) {
        const std::string fmt = text.substr(0, at) + "%d" + text.substr(at) + "%%";
        EXPECT_AS_PRINTED(fmt.c_str(), static_cast<int>(at)) << fmt;
    }
}

} // namespace
} // namespace zelkor
