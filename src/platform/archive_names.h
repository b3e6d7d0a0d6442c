#pragma once

#include "platform/libarchive_api.h"

#include <locale.h>
#include <string>

namespace zelkor {

// While alive, libarchive on this thread decodes entry names into UTF-8,
// whatever the user's locale: each archive's own flag or charset decides
// (see readNamesAsCp932). Made before the archive object, kept until after
// it is freed; a system without a UTF-8 locale keeps the user's.
class ArchiveNameLocale {
  public:
    ArchiveNameLocale();
    ~ArchiveNameLocale();
    ArchiveNameLocale(const ArchiveNameLocale&) = delete;
    ArchiveNameLocale& operator=(const ArchiveNameLocale&) = delete;

  private:
    locale_t utf8_;
    locale_t previous_ = nullptr;
};

// Names an LZH archive or a zip without the UTF-8 flag stores are CP932,
// as Windows archivers write them; tar and flagged zip names are UTF-8.
void readNamesAsCp932(const LibarchiveApi& la, archive* reader);

// The stored name of `entry` in CP932, for messages and for matching: its
// raw bytes when they cannot be decoded.
std::string entryName(const LibarchiveApi& la, archive_entry* entry);

} // namespace zelkor
