#include "text/cp932.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(Cp932, RomanNumeralOneOnlyExistsInCp932) {
    // ＧⅠ: Ⅰ is an NEC symbol that plain Shift-JIS lacks.
    EXPECT_EQ(std::string("\x82\x66\x87\x54"), std::string("ＧⅠ"));
    EXPECT_EQ(cp932ToUtf8("ＧⅠ"), std::string(reinterpret_cast<const char*>(u8"ＧⅠ"), 6));
    EXPECT_EQ(utf8ToCp932(reinterpret_cast<const char*>(u8"ＧⅠ")), "ＧⅠ");
}

TEST(Cp932, Utf16RoundTrip) {
    std::string text = "桜花賞 10.1～15.0 ｱｸｼﾃﾞﾝﾄ";
    std::u16string wide = cp932ToUtf16(text);
    EXPECT_EQ(wide, u"桜花賞 10.1～15.0 ｱｸｼﾃﾞﾝﾄ");
    EXPECT_EQ(utf16ToCp932(wide), text);
}

TEST(Cp932, BrokenBytesBecomeQuestionMarks) {
    EXPECT_EQ(cp932ToUtf8(std::string("A\x81", 2)), "A?");
    EXPECT_FALSE(isValidCp932(std::string("A\x81", 2)));
    EXPECT_TRUE(isValidCp932("表示"));
    EXPECT_EQ(utf16ToCp932(u"A\U0001F600B"), "A?B");
}

} // namespace
} // namespace zelkor

namespace zelkor {
namespace {

TEST(PathForDisplay, Utf8FileNamesShowAsJapaneseAndOtherBytesAsThey) {
    const std::string utf8Path = reinterpret_cast<const char*>(u8"/home/u/桜花賞.zel");
    EXPECT_EQ(pathForDisplay(utf8Path), "/home/u/桜花賞.zel");
    EXPECT_EQ(pathForDisplay("/tmp/a b.zel"), "/tmp/a b.zel");
    // A name that is not UTF-8 (here CP932 bytes) is kept as it is.
    const std::string raw = std::string("/tmp/") + "桜" + ".zel";
    EXPECT_EQ(pathForDisplay(raw), raw);
}

} // namespace
} // namespace zelkor
