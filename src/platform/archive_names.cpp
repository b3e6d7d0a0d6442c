#include "platform/archive_names.h"

#include "text/cp932.h"

#include <archive.h>
#include <archive_entry.h>

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

void readNamesAsCp932(archive* reader) {
    // A format the reader does not take refuses its option; nothing to do then.
    for (const char* format : {"lha", "zip"})
        archive_read_set_format_option(reader, format, "hdrcharset", "CP932");
}

std::string entryName(archive_entry* entry) {
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        return utf8ToCp932(utf8);
    const char* raw = archive_entry_pathname(entry);
    return raw != nullptr ? raw : "";
}

} // namespace zelkor
