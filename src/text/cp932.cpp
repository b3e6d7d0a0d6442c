#include "text/cp932.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace zelkor {
namespace {

// The conversion descriptors of this thread, one per pair of encodings,
// opened at their first use and kept: opening one costs more than
// converting a page name.
class Converters {
  public:
    Converters() = default;
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        for (const Entry& entry : entries_)
            if (entry.to != nullptr)
                iconv_close(entry.cd);
    }
    // The descriptor from `from` to `to` in its initial state, or null when
    // iconv cannot convert between them.
    iconv_t get(const char* to, const char* from) {
        for (Entry& entry : entries_) {
            if (entry.to == nullptr)
                return open(entry, to, from);
            if (std::strcmp(entry.to, to) == 0 && std::strcmp(entry.from, from) == 0) {
                iconv(entry.cd, nullptr, nullptr, nullptr, nullptr);
                return entry.cd;
            }
        }
        // More pairs than entries: the last entry serves the new pair.
        Entry& last = entries_.back();
        iconv_close(last.cd);
        last = {};
        return open(last, to, from);
    }

  private:
    struct Entry {
        const char* to = nullptr; // null: a free entry
        const char* from = nullptr;
        iconv_t cd{};
    };
    static iconv_t open(Entry& entry, const char* to, const char* from) {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1))
            return nullptr;
        entry = {to, from, cd};
        return cd;
    }
    std::array<Entry, 8> entries_{}; // more than the pairs converted here
};

// Converts with iconv; on an unconvertible input unit writes `replacement`
// and skips `unit` bytes. Returns false when anything was replaced.
bool convert(const char* to, const char* from, const char* in, size_t inLeft, std::string& out,
             std::string_view replacement, size_t unit) {
    thread_local Converters converters;
    iconv_t cd = converters.get(to, from);
    if (cd == nullptr) {
        out.assign(in, inLeft);
        return false;
    }
    bool clean = true;
    out.clear();
    char buffer[4096];
    char* src = const_cast<char*>(in);
    while (inLeft > 0) {
        char* dst = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd, &src, &inLeft, &dst, &outLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            clean = false;
            out.append(replacement);
            size_t skip = inLeft < unit ? inLeft : unit;
            src += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return clean;
}

} // namespace

std::string cp932ToUtf8(std::string_view cp932) {
    std::string out;
    convert("UTF-8", "CP932", cp932.data(), cp932.size(), out, "?", 1);
    return out;
}

std::string utf8ToCp932(std::string_view utf8) {
    std::string out;
    convert("CP932", "UTF-8", utf8.data(), utf8.size(), out, "?", 1);
    return out;
}

std::u16string cp932ToUtf16(std::string_view cp932) {
    std::string bytes;
    convert("UTF-16LE", "CP932", cp932.data(), cp932.size(), bytes, std::string_view("?\0", 2), 1);
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::string utf16ToCp932(std::u16string_view utf16) {
    std::string bytes;
    bytes.reserve(utf16.size() * 2);
    for (size_t i = 0; i < utf16.size(); ++i) {
        char16_t c = utf16[i];
        // A character outside the BMP has no CP932 form: one "?" for the pair.
        if (c >= 0xd800 && c <= 0xdbff && i + 1 < utf16.size() && utf16[i + 1] >= 0xdc00 &&
            utf16[i + 1] <= 0xdfff) {
            c = u'?';
            ++i;
        }
        bytes.push_back(static_cast<char>(c & 0xff));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    std::string out;
    convert("CP932", "UTF-16LE", bytes.data(), bytes.size(), out, "?", 2);
    return out;
}

std::string pathForDisplay(std::string_view nativePath) {
#ifdef _WIN32
    return std::string(nativePath);
#else
    std::string out;
    if (!convert("CP932", "UTF-8", nativePath.data(), nativePath.size(), out, "?", 1))
        return std::string(nativePath);
    return out;
#endif
}

bool isValidCp932(std::string_view cp932) {
    std::string utf8;
    if (!convert("UTF-8", "CP932", cp932.data(), cp932.size(), utf8, "?", 1))
        return false;
    std::string back;
    return convert("CP932", "UTF-8", utf8.data(), utf8.size(), back, "?", 1) && back == cp932;
}

} // namespace zelkor
