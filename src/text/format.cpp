#include "text/format.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
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

// Writes straight into the string's own memory, lengthened by a margin ahead
// of the writing and cut to what was written at the end: each piece costs one
// copy, and the string's length is set twice per call.
class Output {
  public:
    explicit Output(std::string& out) : out_(out) { grow(out.size(), 0); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Room for `size` more bytes at the returned place; `advance` takes them.
    char* room(size_t size) {
        if (size > static_cast<size_t>(end_ - at_))
            grow(static_cast<size_t>(at_ - out_.data()), size);
        return at_;
    }
    void advance(size_t size) { at_ += size; }

    void append(const char* bytes, size_t size) {
        std::memcpy(room(size), bytes, size);
        at_ += size;
    }
    // Leaves `out` holding what was written.
    void finish() { out_.resize(static_cast<size_t>(at_ - out_.data())); }

  private:
    static constexpr size_t kMargin = 256;

    [[gnu::noinline]] void grow(size_t used, size_t size) {
        out_.resize(used + size + kMargin);
        at_ = out_.data() + used;
        end_ = out_.data() + out_.size();
    }

    std::string& out_;
    char* at_ = nullptr;
    char* end_ = nullptr;
};

char* fill(char* at, size_t count, char c) {
    if (count != 0)
        std::memset(at, c, count);
    return at + count;
}

size_t padding(const Conversion& s, size_t size) {
    return static_cast<size_t>(s.width) > size ? static_cast<size_t>(s.width) - size : 0;
}

// Appends `body` of `size` bytes padded with blanks to the field width.
void appendPadded(Output& out, const Conversion& s, const char* body, size_t size) {
    size_t pad = padding(s, size);
    char* at = out.room(size + pad);
    if (!s.left)
        at = fill(at, pad, ' ');
    std::memcpy(at, body, size);
    if (s.left)
        fill(at + size, pad, ' ');
    out.advance(size + pad);
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
    size_t count = hex ? digitCount<16>(magnitude) : digitCount<10>(magnitude);
    // Zero printed with precision 0 has no digit at all.
    size_t precision = s.precision < 0 ? 1 : static_cast<size_t>(s.precision);
    size_t zeros = precision > count ? precision - count : 0;
    size_t size = (negative ? 1 : 0) + zeros + count;
    size_t pad = padding(s, size);
    // The '0' flag pads with zeros after the sign, unless a precision or '-' is given.
    if (s.zero && !s.left && s.precision < 0) {
        zeros += pad;
        size += pad;
        pad = 0;
    }
    char* at = out.room(size + pad);
    if (!s.left)
        at = fill(at, pad, ' ');
    if (negative)
        *at++ = '-';
    at = fill(at, zeros, '0') + count;
    if (hex)
        writeDigits<16>(at, magnitude, s.letter == 'X');
    else
        writeDigits<10>(at, magnitude, false);
    if (s.left)
        fill(at, pad, ' ');
    out.advance(size + pad);
}

// Plain %d, the commonest conversion of the pages, in 32-bit arithmetic.
void appendDecimal(Output& out, int value) {
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    size_t size = (magnitude == 0 ? 1 : digitCount<10>(magnitude)) + (value < 0 ? 1 : 0);
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

// %f of a finite value: std::to_chars rounds exactly as printf does; the
// field is then padded where it was written.
void appendFixed(Output& out, const Conversion& s, double value) {
    int precision = s.precision < 0 ? 6 : s.precision;
    // Sign, 309 integer digits, point, fraction.
    size_t most = 311 + static_cast<size_t>(precision);
    char* at = out.room(most);
    size_t size = static_cast<size_t>(
        std::to_chars(at, at + most, value, std::chars_format::fixed, precision).ptr - at);
    size_t pad = padding(s, size);
    if (pad != 0) {
        at = out.room(size + pad);
        if (s.left) {
            fill(at + size, pad, ' ');
        } else {
            size_t sign = s.zero && at[0] == '-' ? 1 : 0;
            std::memmove(at + sign + pad, at + sign, size - sign);
            fill(at + sign, pad, s.zero ? '0' : ' ');
        }
    }
    out.advance(size + pad);
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
    size_t room = 64;
    for (;;) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        int n = std::snprintf(out.room(room), room, templateText, value);
#pragma GCC diagnostic pop
        if (n < 0)
            return false;
        if (static_cast<size_t>(n) < room) {
            out.advance(static_cast<size_t>(n));
            return true;
        }
        room = static_cast<size_t>(n) + 1;
    }
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

// Appends the formatted text; false, with `out` partly written, for a
// template holding a form this file leaves to vsnprintf.
bool appendDirect(std::string& string, const char* fmt, va_list* ap) {
    Output out(string);
    const char* p = fmt;
    for (;;) {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            out.append(p, std::strlen(p));
            out.finish();
            return true;
        }
        out.append(p, static_cast<size_t>(percent - p));
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

// The most room format keeps between calls.
constexpr size_t kKeptRoom = 64 * 1024;

std::string format(const char* fmt, ...) {
    // Written where room is kept from call to call, then copied at its
    // size: a text kept for long holds no writing margin.
    thread_local std::string written;
    written.clear();
    va_list args;
    va_list again;
    va_start(args, fmt);
    va_start(again, fmt);
    appendV(written, fmt, &args, &again);
    va_end(again);
    va_end(args);
    std::string text = written;
    // A rare long text does not keep its room for the rest of the run.
    if (written.capacity() > kKeptRoom)
        written = std::string();
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
