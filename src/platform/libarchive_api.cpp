#include "platform/libarchive_api.h"

#include "platform/library_on_demand.h"

#include <optional>

namespace zelkor {

const LibarchiveApi* libarchive() {
    static const std::optional<LibarchiveApi> api = []() -> std::optional<LibarchiveApi> {
        static LibraryOnDemand library(ZELKOR_LIBARCHIVE_SONAME);
        LibarchiveApi f{};
        const bool found =
            library.find(f.read_new, "archive_read_new") &&
            library.find(f.read_free, "archive_read_free") &&
            library.find(f.support_filter_gzip, "archive_read_support_filter_gzip") &&
            library.find(f.support_format_lha, "archive_read_support_format_lha") &&
            library.find(f.support_format_raw, "archive_read_support_format_raw") &&
            library.find(f.support_format_tar, "archive_read_support_format_tar") &&
            library.find(f.support_format_zip, "archive_read_support_format_zip") &&
            library.find(f.set_format_option, "archive_read_set_format_option") &&
            library.find(f.open_fd, "archive_read_open_fd") &&
            library.find(f.open_filename, "archive_read_open_filename") &&
            library.find(f.next_header, "archive_read_next_header") &&
            library.find(f.header_position, "archive_read_header_position") &&
            library.find(f.read_data, "archive_read_data") &&
            library.find(f.entry_pathname, "archive_entry_pathname") &&
            library.find(f.entry_pathname_utf8, "archive_entry_pathname_utf8") &&
            library.find(f.entry_size, "archive_entry_size") &&
            library.find(f.entry_size_is_set, "archive_entry_size_is_set") &&
            library.find(f.entry_filetype, "archive_entry_filetype");
        if (!found)
            return std::nullopt;
        return f;
    }();
    return api ? &*api : nullptr;
}

} // namespace zelkor
