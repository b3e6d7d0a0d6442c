// The libarchive functions the archive readers call, as stubs that load the
// library at the first call (see library_on_demand.h): only a command that
// opens an archive loads it, with the libraries it brings. Without it no
// archive can be opened (archive_read_new gives none).
#include "platform/library_on_demand.h"

#include <archive.h>
#include <archive_entry.h>

namespace {

zelkor::LibraryOnDemand& libarchive() {
    static zelkor::LibraryOnDemand library(ZELKOR_LIBARCHIVE_SONAME);
    return library;
}

} // namespace

archive* archive_read_new() {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_new, nullptr);
}

int archive_read_free(archive* reader) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_free, ARCHIVE_FATAL, reader);
}

int archive_read_support_filter_gzip(archive* reader) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_support_filter_gzip, ARCHIVE_FATAL, reader);
}

int archive_read_support_format_lha(archive* reader) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_support_format_lha, ARCHIVE_FATAL, reader);
}

int archive_read_support_format_raw(archive* reader) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_support_format_raw, ARCHIVE_FATAL, reader);
}

int archive_read_support_format_tar(archive* reader) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_support_format_tar, ARCHIVE_FATAL, reader);
}

int archive_read_support_format_zip(archive* reader) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_support_format_zip, ARCHIVE_FATAL, reader);
}

int archive_read_open_fd(archive* reader, int fd, size_t blockSize) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_open_fd, ARCHIVE_FATAL, reader, fd, blockSize);
}

int archive_read_open_filename(archive* reader, const char* path, size_t blockSize) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_open_filename, ARCHIVE_FATAL, reader, path,
                          blockSize);
}

int archive_read_next_header(archive* reader, archive_entry** entry) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_next_header, ARCHIVE_FATAL, reader, entry);
}

la_int64_t archive_read_header_position(archive* reader) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_header_position, -1, reader);
}

la_ssize_t archive_read_data(archive* reader, void* buffer, size_t size) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_data, ARCHIVE_FATAL, reader, buffer, size);
}

const char* archive_entry_pathname(archive_entry* entry) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_entry_pathname, nullptr, entry);
}

la_int64_t archive_entry_size(archive_entry* entry) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_entry_size, 0, entry);
}

int archive_entry_size_is_set(archive_entry* entry) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_entry_size_is_set, 0, entry);
}

__LA_MODE_T archive_entry_filetype(archive_entry* entry) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_entry_filetype, 0, entry);
}

int archive_read_set_format_option(archive* reader, const char* module, const char* option,
                                   const char* value) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_read_set_format_option, ARCHIVE_FATAL, reader,
                          module, option, value);
}

const char* archive_entry_pathname_utf8(archive_entry* entry) {
    ZELKOR_CALL_ON_DEMAND(libarchive(), archive_entry_pathname_utf8, nullptr, entry);
}
