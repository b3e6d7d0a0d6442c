// Build tool of the fuzz build: copies a UTF-8 source file with every
// non-ASCII character turned into the octal escapes of its CP932 bytes.
// Clang takes no execution character set other than UTF-8, and a CP932
// file cannot be compiled as it stands (a second byte may be "\"), so this
// gives Clang sources whose narrow literals hold the program's CP932 bytes,
// as GCC's -fexec-charset does. Escapes inside comments are harmless.
//
// usage: zelkor_cp932_source INPUT OUTPUT

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <sstream>
#include <string>

namespace {

// CP932 bytes of one UTF-8 character; "?" when CP932 has no such character
// (a comment may hold one; a literal may not, as the round-trip test of the
// text tables makes sure).
std::string toCp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "?";
    std::string in = utf8;
    char out[8];
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out;
    size_t outLeft = sizeof out;
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || inLeft != 0)
        return "?";
    return std::string(out, outPtr);
}

size_t utf8Length(unsigned char lead) {
    return lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT OUTPUT\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string out = "#line 1 \"" + std::string(argv[1]) + "\"\n";
    for (size_t pos = 0; pos < text.size();) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            out += text[pos++];
            continue;
        }
        const size_t length = utf8Length(c);
        for (unsigned char b : toCp932(text.substr(pos, length))) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03o", b);
            out += escape;
        }
        pos += length;
    }
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file << out;
    return file ? 0 : 1;
}
