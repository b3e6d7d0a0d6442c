#include "platform/archive_names.h"

#include "text/cp932.h"

namespace zelkor {

ArchiveNameLocale::ArchiveNameLocale()
    : utf8_(::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr))) {
    if (utf8_ != static_cast<locale_t>(nullptr))
        previous_ = ::uselocale(utf8_);
}

ArchiveNameLocale::~ArchiveNameLocale() {
    if (utf8_ == static_cast<locale_t>(nullptr))
        return;
    ::uselocale(previous_);
    ::freelocale(utf8_);
}

void readNamesAsCp932(const LibarchiveApi& la, archive* reader) {
    // A format the reader does not take refuses its option; nothing to do then.
    for (const char* format : {"lha", "zip"})
        la.set_format_option(reader, format, "hdrcharset", "CP932");
}

std::string entryName(const LibarchiveApi& la, archive_entry* entry) {
    if (const char* utf8 = la.entry_pathname_utf8(entry))
        return utf8ToCp932(utf8);
    const char* raw = la.entry_pathname(entry);
    return raw != nullptr ? raw : "";
}

} // namespace zelkor
