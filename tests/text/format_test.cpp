#include "text/format.h"

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

} // namespace
} // namespace zelkor
