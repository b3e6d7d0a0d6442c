#pragma once

#include "core/result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace zelkor {

struct SqliteApi;

// One prepared SQLite statement; finalized with the object.
class StoreStatement {
  public:
    StoreStatement() = default;
    StoreStatement(const SqliteApi& api, sqlite3* db, const char* sql);
    ~StoreStatement();
    StoreStatement(StoreStatement&& other) noexcept;
    StoreStatement& operator=(StoreStatement&& other) noexcept;
    StoreStatement(const StoreStatement&) = delete;
    StoreStatement& operator=(const StoreStatement&) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }
    StoreStatement& bind(int index, long long value);
    StoreStatement& bind(int index, std::string_view blob); // copied by SQLite
    // True for a row; false at the end or on an error (see `failed`).
    bool step();
    void reset();
    long long integer(int column) const;
    std::string_view blob(int column) const; // valid until the next step
    // The SQLite result code of the last failed step, 0 after none.
    int failed() const { return failed_; }

  private:
    const SqliteApi* api_ = nullptr; // set whenever stmt_ is
    sqlite3_stmt* stmt_ = nullptr;
    int failed_ = 0;
};

// The JV-Data store: one SQLite file of every record kept, the exact bytes
// of each (without the line end) beside its key columns.
//
// Schema version 1: tables ra, se, um, hr, o1, each (made yyyymmdd, kind
// as its character code, key columns, rec). Races, payouts and odds by the
// race key, horses by the horse key, runners by (race, horse) with an
// index by horse for a horse's runs.
class JvStore {
  public:
    static constexpr int kSchemaVersion = 1;

    enum class Mode {
        Import, // created when missing; writes in one transaction
        Read,   // must exist
    };
    // Opens the store at `path`. Fails (nothing changed, side files
    // included) for a store of a newer schema, a file that is no store, a
    // damaged or locked one. Read mode also fails for a store that does not
    // exist yet (storeWithoutRaces), and reads one nobody here can change
    // without lock or side file.
    static Result<std::unique_ptr<JvStore>> open(const std::string& path, Mode mode);
    ~JvStore();
    JvStore(const JvStore&) = delete;
    JvStore& operator=(const JvStore&) = delete;

    StoreStatement prepare(const char* sql) { return StoreStatement(api_, db_, sql); }
    // Runs SQL without results; the SQLite result code (0 on success).
    int exec(const char* sql);
    // Makes the tables of an empty store (in the running transaction).
    int createSchemaIfEmpty();
    const std::string& path() const { return path_; }
    // A store file without tables yet (an import made it, then failed).
    bool empty() const { return empty_; }

    // The failure of the store at `path` with SQLite result code `code`:
    // its message names the store, or the side file or folder that cannot
    // be written.
    static Failure failure(const std::string& path, int code);

  private:
    JvStore(const SqliteApi& api, sqlite3* db, std::string path)
        : api_(api), db_(db), path_(std::move(path)) {}
    const SqliteApi& api_;
    sqlite3* db_;
    std::string path_;
    bool empty_ = false;
};

// ---- Keys as integers ----
// A race key (date, course, meeting, day, race number) packs into one
// integer that sorts like the key with the course code compared as text.
inline constexpr long long kRaceKeysPerDate = 1296LL * 1000000;
// None when the key bytes of the record are not a valid race key.
std::optional<long long> raceKeyOf(std::string_view record);
std::optional<long long> raceKeyOf(int date, std::string_view course, int meeting, int meetingDay,
                                   int raceNo);
inline int dateOfRaceKey(long long key) {
    return static_cast<int>(key / kRaceKeysPerDate);
}
std::string courseOfRaceKey(long long key);
inline int raceNoOfRaceKey(long long key) {
    return static_cast<int>(key % 100);
}
// A 10-digit horse registration number as an integer; none when it is none.
std::optional<long long> horseKeyOf(std::string_view horseId);

} // namespace zelkor
