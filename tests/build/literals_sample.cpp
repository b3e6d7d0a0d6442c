// Literals of every kind the CP932 launcher meets, each printed as bytes or
// code units; literals_sample.expected holds what a CP932 build prints.
#include <cstdio>
#include <string_view>

#define TEXT "マクロ穴"
#define WIDE(s) u"" s

using namespace std::literals;

int main() {
    const char* escapes = "ソ表\\n\"】123"; // second bytes 0x5C
    const char* raw = R"x(raw "穴" \n)x";
    const char* joined = "～" TEXT;
    const std::string_view suffixed = "馬"sv;
    const char16_t* wideMacro = WIDE("ゼルコ");
    const char16_t* wideJoined = u""
                                 "馬"
                                 "穴";
    const int separated = 1'000'000;
    const double number = .5e+3;
    const char quote = '\'';
    for (const char* s : {escapes, raw, joined, suffixed.data()}) {
        for (const char* p = s; *p; ++p)
            std::printf("%02x ", static_cast<unsigned char>(*p));
        std::puts("");
    }
    for (const char16_t* s : {wideMacro, wideJoined}) {
        for (const char16_t* p = s; *p; ++p)
            std::printf("%04x ", static_cast<unsigned>(*p));
        std::puts("");
    }
    std::printf("%d %g %c\n", separated, number, quote);
}
