#include "text/sjis.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(Sjis, CutBeforeFirstFullWidthSpace) {
    EXPECT_EQ(cutBeforeFullWidthSpace("桜花賞　　　"), "桜花賞");
    EXPECT_EQ(cutBeforeFullWidthSpace("桜花賞"), "桜花賞");
    EXPECT_EQ(cutBeforeFullWidthSpace("　"), "");
    // "ぁ" is 82 9F, "　" is 81 40: the bytes 9F 81 40 ... must not match
    // across a character boundary. "ア" (83 41) then "@" never forms "　".
    std::string tricky = "\x82\x81\x40"; // lead 82, trail 81, then '@'
    EXPECT_EQ(cutBeforeFullWidthSpace(tricky), tricky);
}

TEST(Sjis, PrefixNeverSplitsACharacter) {
    EXPECT_EQ(prefixWholeChars("あいう", 3), "あ");
    EXPECT_EQ(prefixWholeChars("aあい", 3), "aあ");
    EXPECT_EQ(prefixWholeChars("abc", 10), "abc");
    EXPECT_EQ(prefixWholeChars("あ", 1), "");
}

TEST(Sjis, FindMatchesOnlyAtCharacterStarts) {
    // "表" is 95 5C; searching for "\\" must not find its trail byte.
    EXPECT_EQ(findSjis("表\\", "\\"), 2u);
    EXPECT_EQ(findSjis("○混牡・せん", "牡・せん"), 4u);
    EXPECT_EQ(findSjis("abc", "d"), std::string_view::npos);
}

TEST(Sjis, FixedFieldPadsMissingBytesWithBlanks) {
    EXPECT_EQ(fixedField("abcdef", 2, 3), "cde");
    EXPECT_EQ(fixedField("abcdef", 4, 4), "ef  ");
    EXPECT_EQ(fixedField("abc", 10, 2), "  ");
}

TEST(Sjis, CaseInsensitivePrefixFoldsAsciiOnly) {
    EXPECT_TRUE(startsWithIgnoringAsciiCase("Tokyo", "tok"));
    EXPECT_TRUE(startsWithIgnoringAsciiCase("東京", "東"));
    EXPECT_TRUE(startsWithIgnoringAsciiCase("東京", ""));
    EXPECT_FALSE(startsWithIgnoringAsciiCase("東", "東京"));
    // 82 61 (Ａ) and 82 81 (ａ): the trail bytes differ only by 0x20 but are
    // not letters, so they are never folded.
    EXPECT_FALSE(startsWithIgnoringAsciiCase("Ａ", "ａ"));
}

} // namespace
} // namespace zelkor
