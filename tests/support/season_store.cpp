#include "support/season_store.h"

#include "jvdata/jvdata_layouts.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "store/sqlite_api.h"
#include "support/recording_prompt.h"
#include "support/silent_progress.h"
#include "text/format.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

namespace zelkor::test {

std::string seasonRecords(const JvdSeasonPlan& plan, JvdSeasonStats* stats) {
    std::ostringstream out;
    const JvdSeasonStats written = writeJvdSeason(out, plan);
    if (stats != nullptr)
        *stats = written;
    return out.str();
}

bool importRecords(const std::string& records, const std::string& storePath,
                   const std::function<std::string(std::string record)>& edit) {
    std::string kept;
    for (size_t start = 0; start < records.size();) {
        size_t end = records.find("\r\n", start);
        if (end == std::string::npos)
            end = records.size();
        std::string record = records.substr(start, end - start);
        if (edit)
            record = edit(std::move(record));
        if (!record.empty())
            kept += record + "\r\n";
        start = end + 2;
    }
    const std::filesystem::path file =
        std::filesystem::path(storePath).parent_path() / "season.jvd";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << kept;
    ImportSummary summary;
    RecordingPrompt prompt;
    SilentProgress progress;
    return importJvData({file.string()}, storePath, summary, prompt, progress).ok();
}

int recordDate(const std::string& record) {
    return record.starts_with("UM") ? 0 : std::stoi(record.substr(jvlayout::kYear.offset, 8));
}

std::string withoutOdds(std::string record) {
    if (record.starts_with("SE"))
        record.replace(jvlayout::se::kWinOdds.offset, jvlayout::se::kWinOdds.width, "0000");
    return record.starts_with("O1") ? std::string() : record;
}

bool runSqlAsAnotherProgram(const std::string& path, const char* sql) {
    const SqliteApi* api = sqliteApi();
    if (api == nullptr)
        return false;
    sqlite3* db = nullptr;
    bool done = api->open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr) == SQLITE_OK;
    api->db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    done = done && api->exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    api->close_v2(db);
    return done;
}

void damageStoreTable(const std::string& storePath, const char* table) {
    long long page = 0, pageSize = 0;
    if (auto store = JvStore::open(storePath, JvStore::Mode::Read)) {
        StoreStatement root =
            (*store)->prepare(format("SELECT rootpage, page_size FROM sqlite_master, "
                                     "pragma_page_size WHERE name = '%s'",
                                     table)
                                  .c_str());
        if (root.step())
            std::tie(page, pageSize) = std::pair(root.integer(0), root.integer(1));
    }
    std::fstream file(storePath, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp((page - 1) * pageSize);
    file << std::string(static_cast<size_t>(pageSize), '\x5a');
}

} // namespace zelkor::test
