#include "text/format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <type_traits>

// The pages are built from hundreds of formatted pieces each, so the
// conversions they use (%s %c %d %i %u %x %X %f with '-', '0', width,
// precision and the l, ll, z lengths) are written here directly into the
// string, byte for byte as printf writes them. Other floating-point
// conversions are handed to snprintf alone; a template with anything else is
// formatted whole by vsnprintf.

namespace zelkor {
namespace {

// Larger widths and precisions go to vsnprintf, which reports the ones that
// overflow its count.
constexpr int kMaxNumber = 1 << 20;

enum class Length { None, Long, LongLong, Size };

struct Conversion {
    bool left = false;
    bool zero = false;
    bool otherFlag = false; // '+', ' ' or '#'
    int width = 0;
    int precision = -1; // none given
    Length length = Length::None;
    char letter = 0;
};

// Reads a run of decimal digits at `p`; false when it is too large.
bool parseNumber(const char*& p, int& value) {
    value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > kMaxNumber)
            return false;
    }
    return true;
}

// Parses the conversion after a '%' up to and including its letter; false
// for the forms this file does not write (a '*', the h, j, t, L lengths).
bool parseConversion(const char*& p, Conversion& s) {
    for (;; ++p) {
        if (*p == '-')
            s.left = true;
        else if (*p == '0')
            s.zero = true;
        else if (*p == '+' || *p == ' ' || *p == '#')
            s.otherFlag = true;
        else
            break;
    }
    if (!parseNumber(p, s.width))
        return false;
    if (*p == '.') {
        ++p;
        if (!parseNumber(p, s.precision))
            return false;
    }
    if (*p == 'l') {
        ++p;
        s.length = Length::Long;
        if (*p == 'l') {
            ++p;
            s.length = Length::LongLong;
        }
    } else if (*p == 'z') {
        ++p;
        s.length = Length::Size;
    }
    s.letter = *p;
    if (s.letter == '\0')
        return false;
    ++p;
    return true;
}

// Copies `size` bytes. The pieces of a page are mostly a few bytes long, and
// copied with two overlapping loads and stores they need no library call.
void copyBytes(char* to, const char* from, size_t size) {
    if (size > 16) {
        std::memcpy(to, from, size);
    } else if (size >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size != 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

// Collects the text in a buffer on the stack and appends it to the string
// whenever the buffer is full and at the end: a call costs one append to the
// string, with no room made (and zero-filled) in it ahead of the writing.
class Output {
  public:
    explicit Output(std::string& out) : out_(out) {}
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void append(const char* bytes, size_t size) {
        if (size > sizeof buffer_ - used_) {
            flush();
            if (size > sizeof buffer_) {
                out_.append(bytes, size);
                return;
            }
        }
        copyBytes(buffer_ + used_, bytes, size);
        used_ += size;
    }
    // Room for `size` more bytes, no more than a number's digits, at the
    // returned place; `advance` takes them.
    char* room(size_t size) {
        if (size > sizeof buffer_ - used_)
            flush();
        return buffer_ + used_;
    }
    void advance(size_t size) { used_ += size; }

    void fill(size_t count, char c) {
        while (count != 0) {
            if (used_ == sizeof buffer_)
                flush();
            const size_t n = std::min(count, sizeof buffer_ - used_);
            std::memset(buffer_ + used_, c, n);
            used_ += n;
            count -= n;
        }
    }
    // Leaves `out` holding what was written.
    void finish() { flush(); }

  private:
    [[gnu::noinline]] void flush() {
        out_.append(buffer_, used_);
        used_ = 0;
    }

    std::string& out_;
    char buffer_[512];
    size_t used_ = 0;
};

size_t padding(const Conversion& s, size_t size) {
    return static_cast<size_t>(s.width) > size ? static_cast<size_t>(s.width) - size : 0;
}

// Appends `body` of `size` bytes padded with blanks to the field width.
void appendPadded(Output& out, const Conversion& s, const char* body, size_t size) {
    const size_t pad = padding(s, size);
    if (!s.left)
        out.fill(pad, ' ');
    out.append(body, size);
    if (s.left)
        out.fill(pad, ' ');
}

// The digits of `magnitude` end before `end`. The base is a constant so
// that no division instruction is needed.
template <unsigned Base, class Unsigned>
void writeDigits(char* end, Unsigned magnitude, bool upper) {
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (; magnitude != 0; magnitude /= Base)
        *--end = set[magnitude % Base];
}

template <unsigned Base, class Unsigned> size_t digitCount(Unsigned magnitude) {
    size_t count = 0;
    for (; magnitude != 0; magnitude /= Base)
        ++count;
    return count;
}

void appendInteger(Output& out, const Conversion& s, unsigned long long magnitude, bool negative) {
    const bool hex = s.letter == 'x' || s.letter == 'X';
    const size_t count = hex ? digitCount<16>(magnitude) : digitCount<10>(magnitude);
    // Zero printed with precision 0 has no digit at all.
    const size_t precision = s.precision < 0 ? 1 : static_cast<size_t>(s.precision);
    size_t zeros = precision > count ? precision - count : 0;
    size_t pad = padding(s, (negative ? 1 : 0) + zeros + count);
    // The '0' flag pads with zeros after the sign, unless a precision or '-' is given.
    if (s.zero && !s.left && s.precision < 0) {
        zeros += pad;
        pad = 0;
    }
    if (!s.left)
        out.fill(pad, ' ');
    if (negative)
        out.fill(1, '-');
    out.fill(zeros, '0');
    char* end = out.room(count) + count;
    if (hex)
        writeDigits<16>(end, magnitude, s.letter == 'X');
    else
        writeDigits<10>(end, magnitude, false);
    out.advance(count);
    if (s.left)
        out.fill(pad, ' ');
}

// Plain %d, the commonest conversion of the pages, in 32-bit arithmetic.
void appendDecimal(Output& out, int value) {
    const unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    const size_t size = (magnitude == 0 ? 1 : digitCount<10>(magnitude)) + (value < 0 ? 1 : 0);
    char* at = out.room(size);
    at[0] = value < 0 ? '-' : '0';
    writeDigits<10>(at + size, magnitude, false);
    out.advance(size);
}

template <class Signed> void appendSigned(Output& out, const Conversion& s, Signed value) {
    using Unsigned = std::make_unsigned_t<Signed>;
    // Negated as unsigned, so that the most negative value has its magnitude.
    Unsigned magnitude =
        value < 0 ? Unsigned(0) - static_cast<Unsigned>(value) : static_cast<Unsigned>(value);
    appendInteger(out, s, magnitude, value < 0);
}

bool appendIntegerArgument(Output& out, const Conversion& s, va_list* ap) {
    if (s.otherFlag)
        return false;
    if (s.letter == 'd' || s.letter == 'i') {
        switch (s.length) {
        case Length::None:
            appendSigned(out, s, va_arg(*ap, int));
            break;
        case Length::Long:
            appendSigned(out, s, va_arg(*ap, long));
            break;
        case Length::LongLong:
            appendSigned(out, s, va_arg(*ap, long long));
            break;
        case Length::Size:
            appendSigned(out, s, va_arg(*ap, std::make_signed_t<size_t>));
            break;
        }
        return true;
    }
    switch (s.length) {
    case Length::None:
        appendInteger(out, s, va_arg(*ap, unsigned), false);
        break;
    case Length::Long:
        appendInteger(out, s, va_arg(*ap, unsigned long), false);
        break;
    case Length::LongLong:
        appendInteger(out, s, va_arg(*ap, unsigned long long), false);
        break;
    case Length::Size:
        appendInteger(out, s, va_arg(*ap, size_t), false);
        break;
    }
    return true;
}

// %f of the values pages print, a few digits with a precision of one or two,
// without the exact conversion's cost: the value scaled by 10^precision
// is taken to the nearest whole number, which the scaling's error cannot
// change unless its fraction is near one half. Writes the text at `at` and
// returns its size; 0, with nothing written, for a value it leaves to the
// exact conversion (a near-half fraction, a large value or precision).
size_t writeShortFixed(char* at, double value, size_t precision) {
    static constexpr double kScales[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (precision >= std::size(kScales))
        return 0;
    const double scaled = std::fabs(value) * kScales[precision];
    // Below 2^32 the scaling is off by no more than 2^-21.
    if (!(scaled < 4294967296.0))
        return 0;
    auto whole = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) < 1.0 / 65536)
        return 0;
    if (fraction > 0.5)
        ++whole;
    // Digits from the last, the point after `precision` of them; -0.0 and
    // negative values that round to zero keep their sign, as in printf.
    char digits[24];
    char* begin = digits + sizeof digits;
    for (size_t i = 0; i < precision; ++i, whole /= 10)
        *--begin = static_cast<char>('0' + whole % 10);
    if (precision != 0)
        *--begin = '.';
    do
        *--begin = static_cast<char>('0' + whole % 10);
    while ((whole /= 10) != 0);
    if (std::signbit(value))
        *--begin = '-';
    const size_t size = static_cast<size_t>(digits + sizeof digits - begin);
    std::memcpy(at, begin, size);
    return size;
}

// %f of a finite value: std::to_chars rounds exactly as printf does; the
// field is then padded around it.
void appendFixed(Output& out, const Conversion& s, double value) {
    const size_t precision = s.precision < 0 ? 6 : static_cast<size_t>(s.precision);
    // Sign, 309 integer digits, point, fraction.
    const size_t most = 311 + precision;
    char small[400];
    std::string large;
    char* number = small;
    if (most > sizeof small) {
        large.resize(most);
        number = large.data();
    }
    size_t size = writeShortFixed(number, value, precision);
    if (size == 0)
        size =
            static_cast<size_t>(std::to_chars(number, number + most, value,
                                              std::chars_format::fixed, static_cast<int>(precision))
                                    .ptr -
                                number);
    const size_t pad = padding(s, size);
    // Zeros go after the sign, blanks before it.
    const size_t sign = s.zero && !s.left && number[0] == '-' ? 1 : 0;
    if (!s.left)
        out.fill(s.zero ? 0 : pad, ' ');
    out.append(number, sign);
    if (!s.left)
        out.fill(s.zero ? pad : 0, '0');
    out.append(number + sign, size - sign);
    if (s.left)
        out.fill(pad, ' ');
}

// One floating-point conversion, `piece` being its text in the template from '%' on.
bool appendFloatArgument(Output& out, const Conversion& s, const char* piece, size_t pieceSize,
                         va_list* ap) {
    double value = va_arg(*ap, double);
    if (s.letter == 'f' && !s.otherFlag && std::isfinite(value)) {
        appendFixed(out, s, value);
        return true;
    }
    char templateText[32];
    if (pieceSize >= sizeof templateText)
        return false;
    std::memcpy(templateText, piece, pieceSize);
    templateText[pieceSize] = '\0';
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    char small[64];
    int n = std::snprintf(small, sizeof small, templateText, value);
    if (n < 0)
        return false;
    if (static_cast<size_t>(n) < sizeof small) {
        out.append(small, static_cast<size_t>(n));
        return true;
    }
    std::string large(static_cast<size_t>(n) + 1, '\0');
    n = std::snprintf(large.data(), large.size(), templateText, value);
#pragma GCC diagnostic pop
    if (n < 0 || static_cast<size_t>(n) >= large.size())
        return false;
    out.append(large.data(), static_cast<size_t>(n));
    return true;
}

// Bytes of `text` up to its end or `most`, whichever comes first.
size_t textSize(const char* text, int most) {
    if (most < 0)
        return std::strlen(text);
    const void* end = std::memchr(text, '\0', static_cast<size_t>(most));
    return end == nullptr ? static_cast<size_t>(most)
                          : static_cast<size_t>(static_cast<const char*>(end) - text);
}

bool appendArgument(Output& out, const Conversion& s, const char* piece, size_t pieceSize,
                    va_list* ap) {
    switch (s.letter) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
        return appendIntegerArgument(out, s, ap);
    case 's': {
        if (s.zero || s.otherFlag || s.length != Length::None)
            return false;
        const char* text = va_arg(*ap, const char*);
        if (text == nullptr)
            return false;
        appendPadded(out, s, text, textSize(text, s.precision));
        return true;
    }
    case 'c': {
        if (s.zero || s.otherFlag || s.precision >= 0 || s.length != Length::None)
            return false;
        char c = static_cast<char>(va_arg(*ap, int));
        appendPadded(out, s, &c, 1);
        return true;
    }
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        if (s.length == Length::LongLong || s.length == Length::Size)
            return false;
        return appendFloatArgument(out, s, piece, pieceSize, ap);
    default:
        return false;
    }
}

// Copies the template's text from `p` up to its next '%' or `end`, and
// returns where it stopped. The templates are long runs of text between a
// few conversions, so they are read eight bytes at a time, each word tested
// for a '%' at once rather than a byte at a time or through a library call.
const char* appendText(Output& out, const char* p, const char* end) {
    constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;
    constexpr std::uint64_t kPercents = 0x2525252525252525ULL;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        // The high bit of each byte that is '%', and of no other byte.
        const std::uint64_t x = word ^ kPercents;
        const std::uint64_t percents = ~(((x & kLow7) + kLow7) | x | kLow7);
        if (percents != 0) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(percents)
                                                                       : std::countl_zero(percents);
            const size_t before = static_cast<size_t>(bit / 8);
            out.append(p, before);
            return p + before;
        }
        std::memcpy(out.room(8), p, 8);
        out.advance(8);
        p += 8;
    }
    const char* percent = p;
    while (percent != end && *percent != '%')
        ++percent;
    out.append(p, static_cast<size_t>(percent - p));
    return percent;
}

// Appends the formatted text; false, with `out` partly written, for a
// template holding a form this file leaves to vsnprintf.
bool appendDirect(std::string& string, const char* fmt, va_list* ap) {
    Output out(string);
    const char* p = fmt;
    const char* const end = fmt + std::strlen(fmt);
    for (;;) {
        const char* percent = appendText(out, p, end);
        if (percent == end) {
            out.finish();
            return true;
        }
        // The commonest forms first, without parsing a full conversion.
        p = percent + 2;
        if (percent[1] == 's') {
            const char* text = va_arg(*ap, const char*);
            if (text == nullptr)
                return false;
            out.append(text, std::strlen(text));
            continue;
        }
        if (percent[1] == 'd') {
            appendDecimal(out, va_arg(*ap, int));
            continue;
        }
        if (percent[1] == '%') {
            out.append("%", 1);
            continue;
        }
        p = percent + 1;
        Conversion s;
        if (!parseConversion(p, s) ||
            !appendArgument(out, s, percent, static_cast<size_t>(p - percent), ap))
            return false;
    }
}

void appendFallback(std::string& out, const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0)
        return;
    if (static_cast<size_t>(n) < sizeof small) {
        out.append(small, static_cast<size_t>(n));
        return;
    }
    size_t old = out.size();
    out.resize(old + static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data() + old, static_cast<size_t>(n) + 1, fmt, args);
    out.resize(old + static_cast<size_t>(n));
}

// The direct formatter reads `args`; `again`, started as well, gives
// vsnprintf the arguments from the start when the template has to go there.
// (A va_copy would cost as much as a short conversion.)
void appendV(std::string& out, const char* fmt, va_list* args, va_list* again) {
    size_t old = out.size();
    if (appendDirect(out, fmt, args))
        return;
    out.resize(old);
    appendFallback(out, fmt, *again);
}

} // namespace

std::string format(const char* fmt, ...) {
    std::string text;
    va_list args;
    va_list again;
    va_start(args, fmt);
    va_start(again, fmt);
    appendV(text, fmt, &args, &again);
    va_end(again);
    va_end(args);
    return text;
}

void appendFormat(std::string& out, const char* fmt, ...) {
    va_list args;
    va_list again;
    va_start(args, fmt);
    va_start(again, fmt);
    appendV(out, fmt, &args, &again);
    va_end(again);
    va_end(args);
}

} // namespace zelkor
