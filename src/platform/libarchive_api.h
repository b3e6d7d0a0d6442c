#pragma once

#include <archive.h>
#include <archive_entry.h>

namespace zelkor {

// The libarchive functions the program calls, found in the library when an
// archive is first opened (see library_on_demand.h): only a command that
// opens an archive loads it, with the libraries it brings.
struct LibarchiveApi {
    decltype(&::archive_read_new) read_new;
    decltype(&::archive_read_free) read_free;
    decltype(&::archive_read_support_filter_gzip) support_filter_gzip;
    decltype(&::archive_read_support_format_lha) support_format_lha;
    decltype(&::archive_read_support_format_raw) support_format_raw;
    decltype(&::archive_read_support_format_tar) support_format_tar;
    decltype(&::archive_read_support_format_zip) support_format_zip;
    decltype(&::archive_read_set_format_option) set_format_option;
    decltype(&::archive_read_open_fd) open_fd;
    decltype(&::archive_read_open_filename) open_filename;
    decltype(&::archive_read_next_header) next_header;
    decltype(&::archive_read_header_position) header_position;
    decltype(&::archive_read_data) read_data;
    decltype(&::archive_entry_pathname) entry_pathname;
    decltype(&::archive_entry_pathname_utf8) entry_pathname_utf8;
    decltype(&::archive_entry_size) entry_size;
    decltype(&::archive_entry_size_is_set) entry_size_is_set;
    decltype(&::archive_entry_filetype) entry_filetype;
};

// libarchive's functions, the library loaded at the first call; nullptr
// when it or one of them cannot be had, and then no archive can be opened.
const LibarchiveApi* libarchive();

} // namespace zelkor
