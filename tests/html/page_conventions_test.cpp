#include "core/settings.h"
#include "html/page_conventions.h"
#include "html_test_sheets.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(BracketColour, BothColumnsDifferOnlyInTheFirstBracket) {
    const char* raceTable[] = {"ffffff", "aaaaaa", "ffaaaa", "aaaaff",
                               "ffffaa", "aaffaa", "ffddaa", "ffcccc"};
    for (int b = 1; b <= 8; ++b) {
        EXPECT_EQ(bracketColour(b), raceTable[b - 1]) << b;
        EXPECT_EQ(bracketColour(b, BracketColumn::Newspaper), b == 1 ? "eeeeee" : raceTable[b - 1])
            << b;
    }
    for (int b : {-1, 0, 9, 100}) {
        EXPECT_EQ(bracketColour(b), "");
        EXPECT_EQ(bracketColour(b, BracketColumn::Newspaper), "");
    }
}

TEST(HtmlEscape, ReplacesMarkupCharactersAndKeepsJapaneseBytes) {
    EXPECT_EQ(htmlEscape("<script>alert(\"x\")&</script>"),
              "&lt;script&gt;alert(&quot;x&quot;)&amp;&lt;/script&gt;");
    // "ソ" and "表" end in the byte of a backslash; they stay whole.
    EXPECT_EQ(htmlEscape("ソ表ﾊﾝｶｸ 'a'"), "ソ表ﾊﾝｶｸ 'a'");
    EXPECT_EQ(htmlEscape(""), "");
}

TEST(HorseNameLink, EncodesOnlyBytesThatBreakTheAddress) {
    EXPECT_EQ(horseNameLink("http://db.example/s?key=", "サクラ", "&x=1"),
              "http://db.example/s?key=サクラ&x=1");
    EXPECT_EQ(linkNameText("A B\"C'D<E>F&G#H%I\tJ\x7f"),
              "A%20B%22C%27D%3CE%3EF%26G%23H%25I%09J%7F");
    // Bytes a Shift-JIS character may end in (0x40 and up) are never touched.
    EXPECT_EQ(linkNameText("ソ@[|]~"), "ソ@[|]~");
    EXPECT_EQ(horseNameLink("http://u1", "", "u2"), "http://u1u2");
}

TEST(HorseNameLink, SettingsAddressesCannotEndTheAttribute) {
    // An edited settings file must not put markup or script into every page.
    const struct {
        const char *url1, *url2, *link;
    } cases[] = {
        {"http://h/x><script>alert(1)</script><a href=", "\"' `\r\n\t",
         "http://h/x%3E%3Cscript%3Ealert(1)%3C/script%3E%3Ca%20href=サクラ%22%27%20%60%0D%0A%09"},
        // A lead byte must not take the blank or quote after it into a
        // character.
        {"HTTPS://h/?k=\x81 onmouseover=alert(1) ", "\x82",
         "HTTPS://h/?k=%81%20onmouseover=alert(1)%20サクラ%82"},
        {"http://h/?k=\x81\"", "\x81", "http://h/?k=%81%22サクラ%81"},
        // A lead byte at the end takes the name's first byte, as in one text.
        {"http://h/?k=\x81", "", "http://h/?k=\x81サクラ"},
        {"javascript:alert(1)//", "", ""},
        {" http://h/", "", ""},
        {"file:///etc/", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(horseNameLink(c.url1, "サクラ", c.url2), c.link) << c.url1;
    EXPECT_EQ(linkAddressText("a\x01"
                              "b\x7f"),
              "a%01b%7F");
    // Ordinary addresses, the default one included, stay exactly as typed,
    // and so do Japanese characters ending in the byte of "`" or "\\".
    const std::string ordinary =
        "http://db.zelkor.example/jrasrch.cgi?type=top&kind=all&end=30&form=1&jcode=%94n&key=";
    EXPECT_EQ(linkAddressText(ordinary), ordinary);
    EXPECT_EQ(linkAddressText(defaultSettings().dbUrl1), defaultSettings().dbUrl1);
    EXPECT_EQ(linkAddressText("http://h/#a?b=ソ\x83\x60"), "http://h/#a?b=ソ\x83\x60");
}

TEST(FileAddress, PosixPathsGetThreeSlashesInAll) {
    EXPECT_EQ(fileAddress("/home/u/zelkor/Image/"), "file:///home/u/zelkor/Image/");
    EXPECT_EQ(fileAddress("C:\\prog\\"), "file:///C:\\prog\\");
    EXPECT_EQ(fileAddress("/a b/c#d?e%f\"/"), "file:///a%20b/c%23d%3Fe%25f%22/");
    // File-system bytes of "/馬/" in UTF-8, whatever the page's encoding.
    EXPECT_EQ(fileAddress("/\xe9\xa6\xac/"), "file:///%E9%A6%AC/");
}

TEST(PageHeads, ImageHeadPointsAtTheImageFolderAndEscapesTheTitle) {
    EXPECT_EQ(imageFolderHead("A<B", "/opt/zel/"),
              "<HTML>\r\n<HEAD>" + test::kMeta +
                  "<TITLE>A&lt;B</TITLE>\r\n<BASE HREF=\"file:///opt/zel/Image/\"></HEAD>\r\n"
                  "<BODY background=\"Bg1.gif\">\r\n");
    EXPECT_EQ(plainHead("桜花賞"), "<HTML>\r\n<HEAD>" + test::kMeta +
                                       "<TITLE>桜花賞</TITLE></HEAD>\r\n<BODY BGCOLOR=cccccc>\r\n");
}

} // namespace
} // namespace zelkor
