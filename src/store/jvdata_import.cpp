#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "jvdata/jvdata_versions.h"
#include "store/jv_store.h"
#include "store/jvdata_input.h"
#include "store/jvdata_store.h"
#include "text/format.h"

#include <array>
#include <sqlite3.h>

namespace zelkor {
namespace {

using namespace jvlayout;

// The statements of one table: find the kept version of a key, add a key,
// replace a version.
struct KeptTable {
    StoreStatement find;
    StoreStatement insert;
    StoreStatement update;
};

KeptTable keptTable(JvStore& store, const char* name) {
    return {
        store.prepare(format("SELECT rowid, made, kind FROM %s WHERE key = ?1", name).c_str()),
        store.prepare(
            format("INSERT INTO %s(made, kind, key, rec) VALUES(?1, ?2, ?3, ?4)", name).c_str()),
        store.prepare(
            format("UPDATE %s SET made = ?1, kind = ?2, rec = ?4 WHERE rowid = ?3", name).c_str())};
}

KeptTable runnerTable(JvStore& store) {
    return {
        store.prepare("SELECT rowid, made, kind FROM se WHERE race = ?1 AND horse = ?2"),
        store.prepare("INSERT INTO se(made, kind, race, horse, rec) VALUES(?1, ?2, ?3, ?4, ?5)"),
        store.prepare("UPDATE se SET made = ?1, kind = ?2, rec = ?5 WHERE rowid = ?3")};
}

// Takes the framed records into the store, keeping the newest version of
// each key and counting what became of every record.
class StoreImporter : public JvDataInputSink {
  public:
    StoreImporter(JvStore& store, ImportSummary& summary)
        : summary_(summary), ra_(keptTable(store, "ra")), se_(runnerTable(store)),
          um_(keptTable(store, "um")), hr_(keptTable(store, "hr")), o1_(keptTable(store, "o1")) {
        for (const KeptTable* t : {&ra_, &se_, &um_, &hr_, &o1_})
            for (const StoreStatement* s : {&t->find, &t->insert, &t->update})
                if (!*s && error_ == 0)
                    error_ = s->failed() != 0 ? s->failed() : SQLITE_ERROR;
    }

    int error() const { return error_; }

    void beginFile(const std::string& file) override { file_ = file; }
    void endFile(bool jvData) override {
        if (!jvData)
            summary_.notJvData.push_back(file_);
    }
    bool keepGoing() const override { return error_ == 0; }

    void skipped(std::string_view type) override {
        ImportCounts& counts = summary_.byType[std::string(type)];
        ++counts.read;
        ++counts.skipped;
    }

    void rejected(std::string_view type, std::uint64_t offset, std::string reason) override {
        ImportCounts& counts = summary_.byType[std::string(type)];
        ++counts.read;
        ++counts.rejected;
        if (summary_.rejected.size() < kMaxListedRejects)
            summary_.rejected.push_back({file_, static_cast<long long>(offset), std::move(reason)});
    }

    void record(std::string_view type, std::string_view body, std::uint64_t offset) override {
        if (error_ != 0)
            return;
        const char kind = body[kDataKind.offset];
        const std::string_view madeOn = jvdata::slice(body, kMadeOn);
        if (jvdata::kindRank(type, kind) < 0)
            return rejected(
                type, offset,
                format("%.2sレコードのデータ区分'%c'は使われない区分です", type.data(), kind));
        if (!jvdata::allDigits(madeOn))
            return rejected(type, offset,
                            format("%.2sレコードの作成日が数字ではありません", type.data()));
        std::array<long long, 2> key{-1, 0};
        KeptTable* table = nullptr;
        if (type == "UM") {
            key[0] = horseKeyOf(jvdata::slice(body, um::kHorseId));
            table = &um_;
        } else {
            key[0] = raceKeyOf(body);
            table = type == "RA" ? &ra_ : type == "HR" ? &hr_ : type == "O1" ? &o1_ : &se_;
            if (table == &se_)
                key[1] = horseKeyOf(jvdata::slice(body, se::kHorseId));
        }
        if (key[0] < 0 || key[1] < 0)
            return rejected(type, offset,
                            format("%.2sレコードのキーが正しくありません", type.data()));
        keep(type, *table, key, body, jvdata::number(body, kMadeOn), kind);
    }

  private:
    void keep(std::string_view type, KeptTable& table, const std::array<long long, 2>& key,
              std::string_view body, int madeOn, char kind) {
        ImportCounts& counts = summary_.byType[std::string(type)];
        ++counts.read;
        const bool runner = &table == &se_;
        table.find.reset();
        table.find.bind(1, key[0]);
        if (runner)
            table.find.bind(2, key[1]);
        StoreStatement* write = &table.insert;
        long long* count = &counts.added;
        if (table.find.step()) {
            const long long rowid = table.find.integer(0);
            const int keptMadeOn = static_cast<int>(table.find.integer(1));
            const char keptKind = static_cast<char>(table.find.integer(2));
            if (!jvdata::isNewerVersion(type, madeOn, kind, keptMadeOn, keptKind)) {
                ++(madeOn == keptMadeOn && kind == keptKind ? counts.sameIgnored
                                                            : counts.olderIgnored);
                return;
            }
            write = &table.update;
            write->reset();
            write->bind(3, rowid);
            count = &counts.replaced;
        } else if (table.find.failed() != 0) {
            error_ = table.find.failed();
            return;
        } else {
            write->reset();
            write->bind(3, key[0]);
            if (runner)
                write->bind(4, key[1]);
        }
        table.find.reset();
        write->bind(1, madeOn).bind(2, kind).bind(runner ? 5 : 4, body);
        write->step();
        if (write->failed() != 0) {
            error_ = write->failed();
            return;
        }
        ++(kind == jvdata::kDeleteKind ? counts.deleted : *count);
    }

    ImportSummary& summary_;
    std::string file_;
    int error_ = 0;
    KeptTable ra_, se_, um_, hr_, o1_;
};

} // namespace

std::string jvStoreFolder(const std::string& programFolder) {
    return programFolder + "JV-Data/";
}

std::string jvStorePath(const std::string& programFolder) {
    return jvStoreFolder(programFolder) + "jvdata.sqlite3";
}

bool importJvData(const std::vector<std::string>& paths, const std::string& storePath,
                  ImportSummary& summary, UserPrompt& prompt, ProgressSink& progress) {
    summary = ImportSummary();
    auto store = JvStore::open(storePath, JvStore::Mode::Import, prompt);
    if (!store)
        return false;
    // Immediate: a second importer waits (busy timeout), then is told.
    int rc = store->exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK)
        rc = store->createSchemaIfEmpty();
    if (rc != SQLITE_OK) {
        store->exec("ROLLBACK");
        JvStore::showFailure(prompt, storePath, rc);
        return false;
    }
    store->exec("PRAGMA cache_size = -65536");
    bool read = false;
    {
        StoreImporter importer(*store, summary);
        rc = importer.error();
        if (rc == SQLITE_OK) {
            read = readJvDataPaths(paths, importer, progress, prompt);
            rc = importer.error();
        }
    }
    if (rc == SQLITE_OK && read)
        rc = store->exec("COMMIT");
    if (rc != SQLITE_OK || !read) {
        store->exec("ROLLBACK");
        if (rc != SQLITE_OK)
            JvStore::showFailure(prompt, storePath, rc);
        summary = ImportSummary();
        return false;
    }
    // Keeps the write-ahead log from staying as large as the import was.
    store->exec("PRAGMA wal_checkpoint(TRUNCATE)");
    return true;
}

std::string importSummaryText(const ImportSummary& summary) {
    // Widths in bytes: a CP932 full-width character is two columns wide too;
    // the table fits an 80-column terminal.
    std::string text = format("%-4s%9s%9s%9s%9s%9s%9s%9s%9s\r\n", "種別", "読込", "追加",
                              "置換", "古い版", "同じ版", "削除", "不正", "対象外");
    ImportCounts total;
    const auto line = [&text](const std::string& type, const ImportCounts& c) {
        appendFormat(text, "%-4s%9lld%9lld%9lld%9lld%9lld%9lld%9lld%9lld\r\n", type.c_str(),
                     c.read, c.added, c.replaced, c.olderIgnored, c.sameIgnored, c.deleted,
                     c.rejected, c.skipped);
    };
    for (const auto& [type, c] : summary.byType) {
        line(type, c);
        total.read += c.read;
        total.added += c.added;
        total.replaced += c.replaced;
        total.olderIgnored += c.olderIgnored;
        total.sameIgnored += c.sameIgnored;
        total.deleted += c.deleted;
        total.rejected += c.rejected;
        total.skipped += c.skipped;
    }
    line("合計", total);
    for (const RejectedRecord& r : summary.rejected)
        appendFormat(text, "不正なレコード: %s (%lldバイト目): %s\r\n", r.file.c_str(), r.offset,
                     r.reason.c_str());
    if (total.rejected > static_cast<long long>(summary.rejected.size()))
        appendFormat(text, "ほかに不正なレコードが%lld件あります\r\n",
                     total.rejected - static_cast<long long>(summary.rejected.size()));
    for (const std::string& file : summary.notJvData)
        appendFormat(text, "JV-Dataではないファイル: %s\r\n", file.c_str());
    return text;
}

} // namespace zelkor
