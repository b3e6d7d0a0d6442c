#pragma once

#include <sqlite3.h>
#include <string>

namespace zelkor {

// The SQLite functions the store calls, found in the library when a store
// is first opened (see platform/library_on_demand.h): a command that never
// opens the store never loads it.
struct SqliteApi {
    decltype(&::sqlite3_open_v2) open_v2;
    decltype(&::sqlite3_close_v2) close_v2;
    decltype(&::sqlite3_errstr) errstr;
    decltype(&::sqlite3_errcode) errcode;
    decltype(&::sqlite3_db_config) db_config;
    decltype(&::sqlite3_busy_timeout) busy_timeout;
    decltype(&::sqlite3_extended_result_codes) extended_result_codes;
    decltype(&::sqlite3_exec) exec;
    decltype(&::sqlite3_free) free;
    decltype(&::sqlite3_prepare_v2) prepare_v2;
    decltype(&::sqlite3_step) step;
    decltype(&::sqlite3_reset) reset;
    decltype(&::sqlite3_clear_bindings) clear_bindings;
    decltype(&::sqlite3_finalize) finalize;
    decltype(&::sqlite3_bind_int64) bind_int64;
    decltype(&::sqlite3_bind_blob64) bind_blob64;
    decltype(&::sqlite3_column_int64) column_int64;
    decltype(&::sqlite3_column_blob) column_blob;
    decltype(&::sqlite3_column_bytes) column_bytes;
};

// SQLite's functions, the library loaded at the first call; nullptr when it
// or one of them cannot be had (sqliteLoadError() says why), and then no
// store can be opened.
const SqliteApi* sqliteApi();
const std::string& sqliteLoadError();

} // namespace zelkor
