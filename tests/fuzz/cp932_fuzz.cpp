// The CP932 text layer: conversions at the edges and the Shift-JIS aware
// byte operations, on any bytes.

#include "fuzz_support.h"
#include "text/cp932.h"
#include "text/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zelkor;
    const std::string_view text = fuzz::bytesOf(data, size);

    // Unconvertible bytes become "?": what comes back is always CP932, and a
    // second round changes nothing more.
    const std::string utf8 = cp932ToUtf8(text);
    const std::string back = utf8ToCp932(utf8);
    ZELKOR_FUZZ_CHECK(isValidCp932(back));
    ZELKOR_FUZZ_CHECK(utf8ToCp932(cp932ToUtf8(back)) == back);
    ZELKOR_FUZZ_CHECK(utf16ToCp932(cp932ToUtf16(text)) == back);
    ZELKOR_FUZZ_CHECK(isValidCp932(utf8ToCp932(text)));

    // Character steps land inside the text and never split a character.
    size_t characters = 0;
    for (size_t pos = 0; pos < text.size(); pos += charLength(text, pos)) {
        const size_t length = charLength(text, pos);
        ZELKOR_FUZZ_CHECK(length == 1 || length == 2);
        ZELKOR_FUZZ_CHECK(pos + length <= text.size());
        ++characters;
    }
    ZELKOR_FUZZ_CHECK(characters <= text.size());

    const std::string cut = cutBeforeFullWidthSpace(text);
    ZELKOR_FUZZ_CHECK(text.substr(0, cut.size()) == cut);
    const size_t space = findSjis(text, "　");
    ZELKOR_FUZZ_CHECK(space == std::string_view::npos ? cut.size() == text.size()
                                                      : cut.size() == space);
    for (size_t n : {size_t{0}, size_t{1}, size / 2, size}) {
        const std::string_view prefix = prefixWholeChars(text, n);
        ZELKOR_FUZZ_CHECK(prefix.size() <= n && text.substr(0, prefix.size()) == prefix);
        fixedField(text, n, 7);
    }
    return 0;
}
