// The SQLite functions the JV-Data store calls, as stubs that load the
// library at the first call (see library_on_demand.h): a command that never
// opens the store never loads it. Without the library the store cannot be
// opened, and the message names the library's load error.
#include "platform/library_on_demand.h"

#include <cstdarg>
#include <sqlite3.h>

namespace {

zelkor::LibraryOnDemand& sqlite() {
    static zelkor::LibraryOnDemand library(ZELKOR_SQLITE_SONAME);
    return library;
}

} // namespace

int sqlite3_open_v2(const char* filename, sqlite3** db, int flags, const char* vfs) {
    *db = nullptr;
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_open_v2, SQLITE_ERROR, filename, db, flags, vfs);
}

const char* sqlite3_errstr(int code) {
    if (!sqlite().error().empty())
        return sqlite().error().c_str();
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_errstr, "", code);
}

// Only the options of one flag are used: an int to set and an int* to learn
// the setting by.
int sqlite3_db_config(sqlite3* db, int op, ...) {
    std::va_list options;
    va_start(options, op);
    const int setting = va_arg(options, int);
    int* now = va_arg(options, int*);
    va_end(options);
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_db_config, SQLITE_ERROR, db, op, setting, now);
}

int sqlite3_close_v2(sqlite3* db) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_close_v2, SQLITE_OK, db);
}

void sqlite3_free(void* memory) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_free, void(), memory);
}

int sqlite3_busy_timeout(sqlite3* db, int ms) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_busy_timeout, SQLITE_ERROR, db, ms);
}

int sqlite3_extended_result_codes(sqlite3* db, int on) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_extended_result_codes, SQLITE_ERROR, db, on);
}

int sqlite3_errcode(sqlite3* db) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_errcode, SQLITE_ERROR, db);
}

int sqlite3_exec(sqlite3* db, const char* sql, int (*callback)(void*, int, char**, char**),
                 void* context, char** error) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_exec, SQLITE_ERROR, db, sql, callback, context, error);
}

int sqlite3_prepare_v2(sqlite3* db, const char* sql, int bytes, sqlite3_stmt** statement,
                       const char** tail) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_prepare_v2, SQLITE_ERROR, db, sql, bytes, statement,
                          tail);
}

int sqlite3_step(sqlite3_stmt* statement) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_step, SQLITE_ERROR, statement);
}

int sqlite3_reset(sqlite3_stmt* statement) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_reset, SQLITE_ERROR, statement);
}

int sqlite3_clear_bindings(sqlite3_stmt* statement) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_clear_bindings, SQLITE_ERROR, statement);
}

int sqlite3_finalize(sqlite3_stmt* statement) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_finalize, SQLITE_OK, statement);
}

int sqlite3_bind_int64(sqlite3_stmt* statement, int column, sqlite3_int64 value) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_bind_int64, SQLITE_ERROR, statement, column, value);
}

int sqlite3_bind_blob64(sqlite3_stmt* statement, int column, const void* bytes, sqlite3_uint64 size,
                        void (*release)(void*)) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_bind_blob64, SQLITE_ERROR, statement, column, bytes,
                          size, release);
}

int sqlite3_column_bytes(sqlite3_stmt* statement, int column) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_column_bytes, 0, statement, column);
}

const void* sqlite3_column_blob(sqlite3_stmt* statement, int column) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_column_blob, nullptr, statement, column);
}

sqlite3_int64 sqlite3_column_int64(sqlite3_stmt* statement, int column) {
    ZELKOR_CALL_ON_DEMAND(sqlite(), sqlite3_column_int64, 0, statement, column);
}
