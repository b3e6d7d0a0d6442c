#include "store/jv_store.h"

#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "store/jvdata_store.h"
#include "store/sqlite_api.h"
#include "text/cp932.h"
#include "text/format.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// Another program importing holds the write lock for the whole import; a
// reader waits this long before it says so.
constexpr int kBusyTimeoutMs = 5000;

constexpr const char* kSchema = R"(
CREATE TABLE ra(made INTEGER NOT NULL, kind INTEGER NOT NULL, key INTEGER NOT NULL, rec BLOB NOT NULL);
CREATE INDEX ra_key ON ra(key, kind);
CREATE TABLE se(made INTEGER NOT NULL, kind INTEGER NOT NULL, race INTEGER NOT NULL,
                horse INTEGER NOT NULL, rec BLOB NOT NULL);
CREATE INDEX se_race ON se(race, horse);
CREATE INDEX se_horse ON se(horse, race);
CREATE TABLE um(made INTEGER NOT NULL, kind INTEGER NOT NULL, key INTEGER NOT NULL, rec BLOB NOT NULL);
CREATE INDEX um_key ON um(key);
CREATE TABLE hr(made INTEGER NOT NULL, kind INTEGER NOT NULL, key INTEGER NOT NULL, rec BLOB NOT NULL);
CREATE INDEX hr_key ON hr(key);
CREATE TABLE o1(made INTEGER NOT NULL, kind INTEGER NOT NULL, key INTEGER NOT NULL, rec BLOB NOT NULL);
CREATE INDEX o1_key ON o1(key);
PRAGMA user_version = 1;
)";

std::string displayPath(const std::string& path) {
    return pathForDisplay(path);
}

std::optional<int> courseDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return std::nullopt;
}

char courseChar(int digit) {
    return static_cast<char>(digit < 10 ? '0' + digit : 'A' + digit - 10);
}

} // namespace

Failure storeWithoutRaces() {
    return Failure{"JV-Dataはまだ取り込まれていません。\r\n"
                   "先にJV-Dataを取り込んでください。"};
}

StoreStatement::StoreStatement(const SqliteApi& api, sqlite3* db, const char* sql) : api_(&api) {
    if (api.prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
        failed_ = api.errcode(db);
        api.finalize(stmt_);
        stmt_ = nullptr;
    }
}

StoreStatement::~StoreStatement() {
    if (stmt_ != nullptr)
        api_->finalize(stmt_);
}

StoreStatement::StoreStatement(StoreStatement&& other) noexcept
    : api_(other.api_), stmt_(other.stmt_), failed_(other.failed_) {
    other.stmt_ = nullptr;
}

StoreStatement& StoreStatement::operator=(StoreStatement&& other) noexcept {
    if (this != &other) {
        if (stmt_ != nullptr)
            api_->finalize(stmt_);
        api_ = other.api_;
        stmt_ = other.stmt_;
        failed_ = other.failed_;
        other.stmt_ = nullptr;
    }
    return *this;
}

StoreStatement& StoreStatement::bind(int index, long long value) {
    if (stmt_ != nullptr)
        api_->bind_int64(stmt_, index, value);
    return *this;
}

StoreStatement& StoreStatement::bind(int index, std::string_view blob) {
    if (stmt_ != nullptr)
        api_->bind_blob64(stmt_, index, blob.data(), blob.size(), SQLITE_TRANSIENT);
    return *this;
}

bool StoreStatement::step() {
    if (stmt_ == nullptr)
        return false;
    const int rc = api_->step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        failed_ = rc;
    return false;
}

void StoreStatement::reset() {
    if (stmt_ == nullptr)
        return;
    api_->reset(stmt_);
    api_->clear_bindings(stmt_);
}

long long StoreStatement::integer(int column) const {
    return stmt_ != nullptr ? api_->column_int64(stmt_, column) : 0;
}

std::string_view StoreStatement::blob(int column) const {
    if (stmt_ == nullptr)
        return {};
    const void* data = api_->column_blob(stmt_, column);
    const int size = api_->column_bytes(stmt_, column);
    if (data == nullptr || size <= 0)
        return {};
    return {static_cast<const char*>(data), static_cast<size_t>(size)};
}

namespace {

// The first part of the store that cannot be written: the file,
// one of SQLite's side files beside it, or the folder; the store itself
// when all can.
std::string unwritablePart(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        // Not opened to find out: closing a descriptor of the store would
        // drop the locks SQLite holds on it.
        const std::string file = path + suffix;
        std::error_code ec;
        const fs::file_status status = fs::status(file, ec);
        if (fs::exists(status) &&
            (!fs::is_regular_file(status) || ::access(file.c_str(), W_OK) != 0))
            return file;
    }
    const std::string folder = fs::path(path).parent_path().string();
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0 ? path : folder;
}

// The schema version in the file's own header, read without SQLite so that
// a store refused for it is not even locked; 0 for a file that is not (yet)
// an SQLite database.
long long headerVersion(const std::string& path) {
    std::array<unsigned char, 100> header{};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    if (in.gcount() != static_cast<std::streamsize>(header.size()) ||
        std::memcmp(header.data(), "SQLite format 3", 16) != 0)
        return 0;
    return static_cast<long long>(header[60]) << 24 | header[61] << 16 | header[62] << 8 |
           header[63];
}

// Whether nobody here can change the store: its file or its folder cannot be
// written and its log holds nothing. Such a store is read as it lies, with
// no lock and no side file (a reader would leave them behind, unwritable).
bool unchangeable(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    std::error_code ec;
    const auto log = fs::file_size(path + "-wal", ec);
    return (ec || log == 0) && (::access(path.c_str(), W_OK) != 0 ||
                                ::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0);
}

// An SQLite URI naming `path` (reserved characters escaped).
std::string fileUri(const std::string& path, const char* query) {
    std::string uri = "file:";
    for (const char c : fs::absolute(path).string()) {
        if (c == '%' || c == '?' || c == '#')
            appendFormat(uri, "%%%02X", static_cast<unsigned char>(c));
        else
            uri += c;
    }
    return uri + query;
}

Failure newerStore(const std::string& path, long long schema) {
    return Failure{format("JV-Dataの保存ファイル'%s'は、このプログラムより新しい版"
                          "（保存形式 %lld）で作られています。\r\n"
                          "このプログラムを新しい版に更新してください。"
                          "保存ファイルはそのままです。",
                          displayPath(path).c_str(), schema)};
}

Failure foreignFile(const std::string& path) {
    return Failure{format("ファイル'%s'はゼルコ馬のJV-Dataの保存ファイルではありません。\r\n"
                          "ファイルには手を付けていません。別の名前に変えてから、"
                          "JV-Dataを取り込み直してください。",
                          displayPath(path).c_str())};
}

} // namespace

namespace {

// SQLite's words for a result code, or why SQLite could not be loaded.
const char* resultCodeText(int code) {
    const SqliteApi* api = sqliteApi();
    return api != nullptr ? api->errstr(code) : sqliteLoadError().c_str();
}

} // namespace

Failure JvStore::failure(const std::string& path, int code) {
    const std::string shown = displayPath(path);
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Failure{format("JV-Dataの保存ファイル'%s'は、ほかのプログラムが取り込みに"
                              "使っています。\r\n"
                              "取り込みが終わってから、もう一度実行してください。",
                              shown.c_str())};
    case SQLITE_FULL:
        return Failure{"ディスクがいっぱいのため、JV-Dataを保存できませんでした。\r\n"
                       "保存ファイルは取り込みの前のままです。空きを作ってから、"
                       "もう一度取り込んでください。"};
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return Failure{format("ファイル'%s'はJV-Dataの保存ファイルではないか、壊れています。\r\n"
                              "ファイルには手を付けていません。別の名前に変えてから、"
                              "JV-Dataを取り込み直してください。",
                              shown.c_str())};
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_IOERR: {
        const std::string part = unwritablePart(path);
        if (part == path)
            return Failure{format("JV-Dataの保存ファイル'%s'を読み書きできませんでした。\r\n"
                                  "フォルダとファイルに書き込めるか確かめてください。",
                                  shown.c_str())};
        return Failure{format("JV-Dataの保存ファイル'%s'に使う'%s'に書き込めません。\r\n"
                              "'%s'に書き込めるようにしてください。",
                              shown.c_str(), displayPath(part).c_str(), displayPath(part).c_str())};
    }
    default:
        return Failure{format("JV-Dataの保存ファイル'%s'を使えませんでした（%s）。\r\n"
                              "保存ファイルは前のままです。",
                              shown.c_str(), resultCodeText(code))};
    }
}

Result<std::unique_ptr<JvStore>> JvStore::open(const std::string& path, Mode mode) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        if (mode == Mode::Read)
            return storeWithoutRaces();
        fs::create_directories(fs::path(path).parent_path(), ec);
    } else if (const long long schema = headerVersion(path); schema > kSchemaVersion) {
        return newerStore(path, schema);
    }
    const SqliteApi* api = sqliteApi();
    if (api == nullptr)
        return failure(path, SQLITE_ERROR);
    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
    if (mode == Mode::Read && unchangeable(path))
        rc = api->open_v2(fileUri(path, "?immutable=1").c_str(), &db,
                          SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    else
        rc = api->open_v2(path.c_str(), &db,
                          SQLITE_OPEN_READWRITE | (mode == Mode::Import ? SQLITE_OPEN_CREATE : 0),
                          nullptr);
    std::unique_ptr<JvStore> store(new JvStore(*api, db, path));
    if (rc != SQLITE_OK)
        return failure(path, rc);
    // Until the store is known to be ours, closing it must not write to
    // it: SQLite would move the log into a file it then refuses.
    api->db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    api->busy_timeout(db, kBusyTimeoutMs);
    api->extended_result_codes(db, 0);

    // The log may hold a newer version than the header.
    StoreStatement version = store->prepare("PRAGMA user_version");
    const bool haveVersion = version.step();
    if (!haveVersion)
        return failure(path, version.failed() != 0 ? version.failed() : SQLITE_NOTADB);
    const long long schema = version.integer(0);
    version = StoreStatement();
    if (schema > kSchemaVersion)
        return newerStore(path, schema);
    StoreStatement tables = store->prepare(
        schema == 0 ? "SELECT count(*) FROM sqlite_master"
                    : "SELECT count(*) = 5 FROM sqlite_master WHERE type = 'table' AND "
                      "name IN ('ra', 'se', 'um', 'hr', 'o1')");
    if (!tables.step() || tables.failed() != 0)
        return failure(path, tables.failed() != 0 ? tables.failed() : SQLITE_NOTADB);
    if (schema == 0 && tables.integer(0) != 0)
        return failure(path, SQLITE_NOTADB);
    if (schema != 0 && tables.integer(0) != 1)
        return foreignFile(path);
    tables = StoreStatement(); // no read may be open while the page size is set
    if (schema == 0) {
        store->empty_ = true;
        // Larger pages hold the long UM records with little slack. Only an
        // empty file takes a new page size.
        if (mode == Mode::Import)
            store->exec("PRAGMA page_size = 8192");
    }
    // The store stays in WAL mode once an import set it; a reader leaves
    // the log to the importers rather than checkpoint it on every close.
    if (mode == Mode::Import) {
        api->db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
        rc = store->exec("PRAGMA journal_mode = WAL");
        if (rc == SQLITE_OK)
            rc = store->exec("PRAGMA synchronous = FULL");
        if (rc != SQLITE_OK)
            return failure(path, rc);
    }
    return store;
}

JvStore::~JvStore() {
    api_.close_v2(db_);
}

int JvStore::exec(const char* sql) {
    char* error = nullptr;
    const int rc = api_.exec(db_, sql, nullptr, nullptr, &error);
    api_.free(error);
    return rc;
}

int JvStore::createSchemaIfEmpty() {
    if (!empty_)
        return SQLITE_OK;
    StoreStatement tables = prepare("SELECT count(*) FROM sqlite_master");
    if (tables.step() && tables.integer(0) != 0)
        return SQLITE_OK; // another import made them meanwhile
    const int rc = exec(kSchema);
    if (rc == SQLITE_OK)
        empty_ = false;
    return rc;
}

std::optional<long long> raceKeyOf(int date, std::string_view course, int meeting, int meetingDay,
                                   int raceNo) {
    if (course.size() != 2 || date < 0 || date > 99991231 || meeting < 0 || meeting > 99 ||
        meetingDay < 0 || meetingDay > 99 || raceNo < 0 || raceNo > 99)
        return std::nullopt;
    const std::optional<int> c0 = courseDigit(course[0]);
    const std::optional<int> c1 = courseDigit(course[1]);
    if (!c0 || !c1)
        return std::nullopt;
    return (((static_cast<long long>(date) * 1296 + *c0 * 36 + *c1) * 100 + meeting) * 100 +
            meetingDay) *
               100 +
           raceNo;
}

std::optional<long long> raceKeyOf(std::string_view record) {
    using namespace jvlayout;
    const std::string_view key = jvdata::slice(record, kRaceKey);
    if (key.size() != kRaceKey.width || !jvdata::allDigits(key.substr(0, 8)) ||
        !jvdata::allDigits(key.substr(10, 6)))
        return std::nullopt;
    return raceKeyOf(jvdata::number(record, kYear) * 10000 + jvdata::number(record, kMonthDay),
                     jvdata::slice(record, kCourse), jvdata::number(record, kMeeting),
                     jvdata::number(record, kMeetingDay), jvdata::number(record, kRaceNo));
}

std::string courseOfRaceKey(long long key) {
    const int course = static_cast<int>(key / 1000000 % 1296);
    return {courseChar(course / 36), courseChar(course % 36)};
}

std::optional<long long> horseKeyOf(std::string_view horseId) {
    if (horseId.size() != 10 || !jvdata::allDigits(horseId))
        return std::nullopt;
    long long key = 0;
    for (char c : horseId)
        key = key * 10 + (c - '0');
    return key;
}

} // namespace zelkor
