#include "html/page_conventions.h"

#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"
#include "text/sjis.h"

#include <algorithm>
#include <array>

namespace zelkor {

Outcome writePage(const std::string& path, std::string_view page, UserPrompt& prompt) {
    if (writePageFile(path, page))
        return {};
    return tell(prompt, pageNotWritten(path).message);
}

Failure pageNotWritten(const std::string& path) {
    return Failure{format("ファイル '%s' に書き込めませんでした", pathForDisplay(path).c_str())};
}

void reportPageNotWritten(UserPrompt& prompt, const std::string& path) {
    prompt.showMessage(pageNotWritten(path).message);
}

namespace {

constexpr std::array<std::string_view, 9> kRaceTableColours = {
    "", "ffffff", "aaaaaa", "ffaaaa", "aaaaff", "ffffaa", "aaffaa", "ffddaa", "ffcccc"};

constexpr std::array<std::string_view, 9> kNewspaperColours = {
    "", "eeeeee", "aaaaaa", "ffaaaa", "aaaaff", "ffffaa", "aaffaa", "ffddaa", "ffcccc"};

// All of these are below 0x40, so none is ever the second byte of a
// Shift-JIS character and encoding them byte by byte never splits one.
bool breaksAddress(unsigned char c) {
    return c < 0x21 || c == 0x7f || c == '"' || c == '\'' || c == '<' || c == '>' || c == '&' ||
           c == '#' || c == '%';
}

bool refusedInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7f ||
           std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

// What ends or breaks an unquoted attribute value. "=", "&" and "?" stay:
// ordinary addresses hold them.
bool breaksAttribute(unsigned char c) {
    return c < 0x21 || c == 0x7f || c == '"' || c == '\'' || c == '<' || c == '>' || c == '`';
}

// A byte that is a character of its own: ASCII or half-width katakana.
bool isWholeSingleByte(unsigned char c) {
    return c < 0x80 || (c >= 0xa1 && c <= 0xdf);
}

void appendPercentEncoded(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char encoded[] = {'%', kHex[c >> 4], kHex[c & 0x0f]};
    out.append(encoded, sizeof encoded);
}

// Appends `text` with the bytes `encode` picks percent-encoded.
void appendPercentEncoded(std::string& out, std::string_view text, bool (*encode)(unsigned char)) {
    size_t kept = 0; // where the bytes copied as they are begin
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!encode(c))
            continue;
        out.append(text, kept, i - kept);
        appendPercentEncoded(out, c);
        kept = i + 1;
    }
    out.append(text, kept);
}

std::string percentEncode(std::string_view text, bool (*encode)(unsigned char)) {
    std::string out;
    out.reserve(text.size());
    appendPercentEncoded(out, text, encode);
    return out;
}

// The entity of a byte that page text escapes; empty for every other byte.
std::string_view entityOf(char c) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return {};
    }
}

// Whether `text` holds a byte entityOf replaces.
bool needsEscape(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '&' || c == '<' || c == '>' || c == '"'; });
}

// Appends linkAddressText(address) to `out`.
void appendLinkAddressText(std::string& out, std::string_view address) {
    // Walked by whole characters: a lead byte without its second byte is
    // encoded, so no decoder takes the blank or quote after it into a
    // character. "`" (0x60) may be a second byte, so only one standing alone
    // is encoded.
    size_t kept = 0; // where the bytes copied as they are begin
    for (size_t pos = 0; pos < address.size();) {
        const auto c = static_cast<unsigned char>(address[pos]);
        const size_t length = c < 0x80 ? 1 : charLength(address, pos);
        if (length == 1 && (breaksAttribute(c) || !isWholeSingleByte(c))) {
            out.append(address, kept, pos - kept);
            appendPercentEncoded(out, c);
            kept = pos + 1;
        }
        pos += length;
    }
    out.append(address, kept);
}

// True when the walk of linkAddressText ends `address` on a lead byte
// standing alone, which a byte following it could join into a character.
bool endsOnLoneLeadByte(std::string_view address) {
    size_t pos = 0;
    size_t length = 0;
    for (; pos < address.size(); pos += length)
        length = charLength(address, pos);
    return length == 1 && isLeadByte(static_cast<unsigned char>(address.back()));
}

} // namespace

std::string_view bracketColour(int bracket, BracketColumn column) {
    if (bracket < 1 || bracket > 8)
        return {};
    const auto& table = column == BracketColumn::Newspaper ? kNewspaperColours : kRaceTableColours;
    return table[static_cast<size_t>(bracket)];
}

std::string htmlEscape(std::string_view text) {
    // Copied in runs between the bytes replaced: most texts have none.
    std::string out;
    out.reserve(text.size());
    size_t kept = 0; // where the bytes copied as they are begin
    for (size_t i = 0; i < text.size(); ++i) {
        const std::string_view entity = entityOf(text[i]);
        if (entity.empty())
            continue;
        out.append(text, kept, i - kept);
        out += entity;
        kept = i + 1;
    }
    out.append(text, kept);
    return out;
}

HtmlText::HtmlText(const std::string& text) : text_(text.c_str()) {
    if (needsEscape(text))
        escaped_ = htmlEscape(text);
}

std::string linkNameText(std::string_view name) {
    return percentEncode(name, breaksAddress);
}

std::string linkAddressText(std::string_view address) {
    std::string out;
    out.reserve(address.size() + address.size() / 2);
    appendLinkAddressText(out, address);
    return out;
}

bool isWebAddress(std::string_view address) {
    return startsWithIgnoringAsciiCase(address, "http://") ||
           startsWithIgnoringAsciiCase(address, "https://");
}

std::string horseNameLink(std::string_view dbUrl1, std::string_view name, std::string_view dbUrl2) {
    return HorseNameLinks(dbUrl1, dbUrl2).linkOf(name);
}

// The two halves come from the settings file, which anyone may edit: only a
// web address is linked (never "javascript:" or a local file), and the whole
// address is encoded as one, so no byte of one part can join a byte of the
// next into something that ends the attribute. dbUrl1 is encoded once for
// all the names unless its last byte could join the name's first.
HorseNameLinks::HorseNameLinks(std::string_view dbUrl1, std::string_view dbUrl2)
    : linked_(isWebAddress(dbUrl1)), apart_(linked_ && !endsOnLoneLeadByte(dbUrl1)),
      dbUrl1_(apart_ ? linkAddressText(dbUrl1) : std::string(dbUrl1)), dbUrl2_(dbUrl2) {}

std::string HorseNameLinks::linkOf(std::string_view name) const {
    if (!linked_)
        return {};
    std::string rest;
    rest.reserve((apart_ ? 0 : dbUrl1_.size()) + 3 * name.size() + dbUrl2_.size());
    if (!apart_)
        rest += dbUrl1_;
    appendPercentEncoded(rest, name, breaksAddress);
    rest += dbUrl2_;
    if (!apart_)
        return linkAddressText(rest);
    std::string link;
    link.reserve(dbUrl1_.size() + rest.size() + rest.size() / 2);
    link += dbUrl1_;
    appendLinkAddressText(link, rest);
    return link;
}

std::string addressPath(std::string_view path) {
    // A path may also hold "?", which would start a query. On POSIX a path
    // is file-system bytes (as a rule UTF-8), not page text: escaping its
    // non-ASCII bytes makes the address name the same file whatever the
    // page's encoding. Windows paths are CP932 like the page itself.
#ifdef _WIN32
    return percentEncode(path, [](unsigned char c) { return breaksAddress(c) || c == '?'; });
#else
    return percentEncode(path,
                         [](unsigned char c) { return breaksAddress(c) || c == '?' || c >= 0x80; });
#endif
}

std::string fileAddress(std::string_view path) {
    if (!path.empty() && path.front() == '/')
        return "file://" + addressPath(path);
    return "file:///" + addressPath(path);
}

std::string safeFileNamePart(std::string_view cp932) {
    std::string name;
    for (size_t i = 0; i < cp932.size();) {
        const size_t len = charLength(cp932, i);
        // A byte that is no whole character (a lead byte before "/") is
        // replaced too, so the name converts without a stray "/" or "?".
        if (len == 1 && (refusedInFileName(static_cast<unsigned char>(cp932[i])) ||
                         !isWholeSingleByte(static_cast<unsigned char>(cp932[i]))))
            name += '_';
        else
            name.append(cp932.substr(i, len));
        i += len;
    }
    return name;
}

std::string imageFolderHead(std::string_view title, std::string_view programFolder) {
    std::string imageFolder(programFolder);
    imageFolder += "Image/";
    return format("<HTML>\r\n<HEAD>%s<TITLE>%s</TITLE>\r\n<BASE HREF=\"%s\"></HEAD>\r\n<BODY "
                  "background=\"Bg1.gif\">\r\n",
                  std::string(kPageMetaLine).c_str(), htmlEscape(title).c_str(),
                  fileAddress(imageFolder).c_str());
}

std::string plainHead(std::string_view title) {
    return format("<HTML>\r\n<HEAD>%s<TITLE>%s</TITLE></HEAD>\r\n<BODY BGCOLOR=cccccc>\r\n",
                  std::string(kPageMetaLine).c_str(), htmlEscape(title).c_str());
}

} // namespace zelkor
