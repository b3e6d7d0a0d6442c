#pragma once

#include "core/ports.h"
#include "core/result.h"

#include <string>
#include <string_view>

namespace zelkor {

// Conventions every page of the program shares. Pages are CP932 text
// composed in memory and written in one piece; the line ends are exactly the
// "\r\n" of the templates.

// Writes a page the user asked for in one piece; one that cannot be
// written is told to the user ("ファイル '<path>' に書き込めませんでした").
Outcome writePage(const std::string& path, std::string_view page, UserPrompt& prompt);

// The failure of a page that could not be written to `path`.
Failure pageNotWritten(const std::string& path);

// Tells the user that the page at `path` could not be written.
void reportPageNotWritten(UserPrompt& prompt, const std::string& path);

// Goes into every page head, as the first "%s" of the head template.
inline constexpr std::string_view kPageMetaLine =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">"
    "<meta http-equiv=\"Content-Language\" content=\"ja\">";

// The two colour columns of the bracket (枠) cells.
enum class BracketColumn {
    RaceTable, // race table of the race-sheet page, sports page
    Newspaper, // newspaper editions
};

// Background colour of bracket 1..8 in the given column; empty for any other
// bracket.
std::string_view bracketColour(int bracket, BracketColumn column = BracketColumn::RaceTable);

// User or file text made safe as page text: & < > " become entities. None
// of these bytes can be the second byte of a Shift-JIS character, so the
// replacement never splits one; everything else is kept byte for byte.
std::string htmlEscape(std::string_view text);

// A text from a file as page text, escaped as htmlEscape escapes it, for a
// "%s" of a page template: a text with nothing to escape, as nearly every
// one is, is used where it stands instead of being copied. It refers to the
// text, so it takes no temporary.
class HtmlText {
  public:
    explicit HtmlText(const std::string& text);
    explicit HtmlText(std::string&&) = delete;
    const char* c_str() const { return escaped_.empty() ? text_ : escaped_.c_str(); }

  private:
    const char* text_;
    std::string escaped_; // empty when the text has nothing to escape
};

// A horse name as it goes into a link address: the single-byte characters
// that would end the unquoted attribute or change the address (control
// characters, space, " ' < > & # %) are percent-encoded; every other byte,
// Japanese characters included, is kept as it stands.
std::string linkNameText(std::string_view name);

// A link address from the settings with every byte that could end or
// break its quoted attribute percent-encoded: blanks, control characters,
// quotes, "<", ">", "`", and bytes that are not part of a whole Shift-JIS
// character. An ordinary address is unchanged.
std::string linkAddressText(std::string_view address);

// True for an "http://" or "https://" address (letters in any case).
bool isWebAddress(std::string_view address);

// Target of a horse-database link: dbUrl1, the name, dbUrl2, made safe for
// a quoted attribute; empty when dbUrl1 is not a web address (no link).
std::string horseNameLink(std::string_view dbUrl1, std::string_view name, std::string_view dbUrl2);

// The horse-database links of the runners of a page, each as horseNameLink
// makes it; the address from the settings is checked and encoded once.
class HorseNameLinks {
  public:
    HorseNameLinks(std::string_view dbUrl1, std::string_view dbUrl2);
    std::string linkOf(std::string_view name) const;

  private:
    bool linked_;        // dbUrl1 is a web address
    bool apart_;         // dbUrl1 encodes the same alone as followed by more
    std::string dbUrl1_; // as given, or encoded when apart_
    std::string dbUrl2_;
};

// A file-system path as it goes into an address attribute: the bytes that
// would end the attribute or change the address are percent-encoded, and on
// POSIX also every non-ASCII byte (the path's bytes are not page text);
// ordinary ASCII paths are kept as they are.
std::string addressPath(std::string_view path);

// "file:" address of a file or folder. A POSIX path already begins with "/",
// so it follows "file://" directly; a drive path gets "file:///".
std::string fileAddress(std::string_view path);

// A CP932 text (race name, racecourse) made safe as part of a file name:
// the single-byte characters that would leave the folder or that file
// systems refuse become "_", and so does a byte that is no whole character
// (a lead byte before "/"); the second byte of a double-byte character is
// never touched ("ソ" ends in the byte of "\"). The result is still CP932.
std::string safeFileNamePart(std::string_view cp932);

// Page heads. With images the base address is the "Image" folder below the
// program folder and the body's background is "Bg1.gif"; without, the body
// is plain grey. The title is page text and is escaped here.
std::string imageFolderHead(std::string_view title, std::string_view programFolder);
std::string plainHead(std::string_view title);

} // namespace zelkor
