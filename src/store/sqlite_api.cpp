#include "store/sqlite_api.h"

#include "platform/library_on_demand.h"

#include <optional>

namespace zelkor {
namespace {

LibraryOnDemand& sqliteLibrary() {
    static LibraryOnDemand library(ZELKOR_SQLITE_SONAME);
    return library;
}

} // namespace

const SqliteApi* sqliteApi() {
    static const std::optional<SqliteApi> api = []() -> std::optional<SqliteApi> {
        LibraryOnDemand& library = sqliteLibrary();
        SqliteApi f{};
        const bool found =
            library.find(f.open_v2, "sqlite3_open_v2") &&
            library.find(f.close_v2, "sqlite3_close_v2") &&
            library.find(f.errstr, "sqlite3_errstr") &&
            library.find(f.errcode, "sqlite3_errcode") &&
            library.find(f.db_config, "sqlite3_db_config") &&
            library.find(f.busy_timeout, "sqlite3_busy_timeout") &&
            library.find(f.extended_result_codes, "sqlite3_extended_result_codes") &&
            library.find(f.exec, "sqlite3_exec") && library.find(f.free, "sqlite3_free") &&
            library.find(f.prepare_v2, "sqlite3_prepare_v2") &&
            library.find(f.step, "sqlite3_step") && library.find(f.reset, "sqlite3_reset") &&
            library.find(f.clear_bindings, "sqlite3_clear_bindings") &&
            library.find(f.finalize, "sqlite3_finalize") &&
            library.find(f.bind_int64, "sqlite3_bind_int64") &&
            library.find(f.bind_blob64, "sqlite3_bind_blob64") &&
            library.find(f.column_int64, "sqlite3_column_int64") &&
            library.find(f.column_blob, "sqlite3_column_blob") &&
            library.find(f.column_bytes, "sqlite3_column_bytes");
        if (!found)
            return std::nullopt;
        return f;
    }();
    return api ? &*api : nullptr;
}

const std::string& sqliteLoadError() {
    return sqliteLibrary().error();
}

} // namespace zelkor
