#include "jvdata/jvdata_checks.h"
#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "jvdata/jvdata_versions.h"
#include "store/drawn_numbers.h"
#include "store/jv_store.h"
#include "store/jvdata_input.h"
#include "store/jvdata_store.h"
#include "text/format.h"

#include <array>
#include <set>
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
          um_(keptTable(store, "um")), hr_(keptTable(store, "hr")), o1_(keptTable(store, "o1")),
          numbers_(store) {
        if (numbers_.failed() != 0)
            error_ = numbers_.failed();
        for (const KeptTable* t : {&ra_, &se_, &um_, &hr_, &o1_})
            for (const StoreStatement* s : {&t->find, &t->insert, &t->update})
                if (!*s && error_ == 0)
                    error_ = s->failed() != 0 ? s->failed() : SQLITE_ERROR;
    }

    int error() const { return error_; }

    // Counts the Thursday entries left in carded races among the races
    // where this import wrote one, or replaced a Thursday card.
    void countUncardedEntries(JvStore& store) {
        StoreStatement count = store.prepare(
            "SELECT count(*) FROM se JOIN ra ON ra.key = se.race WHERE se.race = ?1 AND "
            "se.kind = ?2 AND ra.kind NOT IN (?2, ?3, ?4)");
        for (const long long race : thursdayRaces_) {
            count.reset();
            count.bind(1, race)
                .bind(2, jvdata::kThursdayKind)
                .bind(3, jvdata::kCancelKind)
                .bind(4, jvdata::kDeleteKind);
            if (count.step())
                summary_.uncardedEntries += count.integer(0);
        }
        if (count.failed() != 0 && error_ == 0)
            error_ = count.failed();
    }

    void beginFile(const std::string& file) override {
        summary_.files.push_back({file});
        file_ = &summary_.files.back();
    }
    void endFile(bool jvData) override {
        file_->jvData = jvData;
        if (!jvData)
            summary_.notJvData.push_back(file_->file);
    }
    bool keepGoing() const override { return error_ == 0; }

    void skipped(std::string_view type) override {
        ImportCounts& counts = summary_.byType[std::string(type)];
        ++counts.read;
        ++counts.skipped;
        ++file_->records;
    }

    void rejected(std::string_view type, std::uint64_t offset, std::string reason) override {
        ImportCounts& counts = summary_.byType[std::string(type)];
        ++counts.read;
        ++counts.rejected;
        ++file_->records;
        ++file_->rejected;
        if (summary_.rejected.size() < kMaxListedRejects)
            summary_.rejected.push_back(
                {file_->file, static_cast<long long>(offset), std::move(reason)});
    }

    void passedOver(std::uint64_t bytes) override {
        file_->passedOver += static_cast<long long>(bytes);
    }

    void record(std::string_view type, std::string_view body, std::uint64_t offset) override {
        if (error_ != 0)
            return;
        const char kind = body[kDataKind.offset];
        if (!jvdata::kindRank(type, kind))
            return rejected(
                type, offset,
                format("%.2sレコードのデータ区分'%c'は使われない区分です", type.data(), kind));
        if (std::string fault = jvdata::recordFault(type, body); !fault.empty())
            return rejected(type, offset, std::move(fault));
        std::optional<long long> first, second = 0;
        KeptTable* table = nullptr;
        if (type == "UM") {
            first = horseKeyOf(jvdata::slice(body, um::kHorseId));
            table = &um_;
        } else {
            first = raceKeyOf(body);
            table = type == "RA" ? &ra_ : type == "HR" ? &hr_ : type == "O1" ? &o1_ : &se_;
            if (table == &se_)
                second = horseKeyOf(jvdata::slice(body, se::kHorseId));
        }
        if (!first || !second)
            return rejected(type, offset,
                            format("%.2sレコードのキーが正しくありません", type.data()));
        const std::array<long long, 2> key{*first, *second};
        if (table != &se_) {
            keep(type, *table, key, body, jvdata::number(body, kMadeOn), kind);
            return;
        }
        const int horseNo = jvdata::holdsHorseNumber(kind) ? jvdata::number(body, se::kHorseNo) : 0;
        if (horseNo != 0 && numbers_.heldByAnother(key[0], key[1], horseNo))
            return rejected(
                type, offset,
                format("SEレコードの馬番%02dは同じレースのほかの馬にもあります", horseNo));
        if (keep(type, *table, key, body, jvdata::number(body, kMadeOn), kind))
            numbers_.hold(key[0], key[1], horseNo);
        if (numbers_.failed() != 0 && error_ == 0)
            error_ = numbers_.failed();
    }

  private:
    // True when the record became the kept version of its key.
    bool keep(std::string_view type, KeptTable& table, const std::array<long long, 2>& key,
              std::string_view body, int madeOn, char kind) {
        ImportCounts& counts = summary_.byType[std::string(type)];
        ++counts.read;
        ++file_->records;
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
                return false;
            }
            if (&table == &ra_ && keptKind == jvdata::kThursdayKind)
                thursdayRaces_.insert(key[0]);
            write = &table.update;
            write->reset();
            write->bind(3, rowid);
            count = &counts.replaced;
        } else if (table.find.failed() != 0) {
            error_ = table.find.failed();
            return false;
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
            return false;
        }
        ++(kind == jvdata::kDeleteKind ? counts.deleted : *count);
        if (runner && kind == jvdata::kThursdayKind)
            thursdayRaces_.insert(key[0]);
        return true;
    }

    ImportSummary& summary_;
    ImportedFile* file_ = nullptr; // the file being read, in summary_.files
    int error_ = 0;
    KeptTable ra_, se_, um_, hr_, o1_;
    std::set<long long> thursdayRaces_;
    DrawnNumbers numbers_;
};

} // namespace

std::string jvStoreFolder(const std::string& programFolder) {
    return programFolder + "JV-Data/";
}

std::string jvStorePath(const std::string& programFolder) {
    return jvStoreFolder(programFolder) + "jvdata.sqlite3";
}

// The failure of an import whose reason was told before it began.
constexpr const char* kNotImported = "JV-Dataを取り込めませんでした";

Outcome importJvData(const std::vector<std::string>& paths, const std::string& storePath,
                     ImportSummary& summary, UserPrompt& userPrompt, ProgressSink& progress) {
    RememberingPrompt prompt(userPrompt);
    summary = ImportSummary();
    auto opened = JvStore::open(storePath, JvStore::Mode::Import);
    if (!opened)
        return tell(prompt, opened.message());
    JvStore* store = opened->get();
    // Immediate: a second importer waits (busy timeout), then is told.
    int rc = store->exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK)
        rc = store->createSchemaIfEmpty();
    if (rc != SQLITE_OK) {
        store->exec("ROLLBACK");
        return tell(prompt, JvStore::failure(storePath, rc).message);
    }
    store->exec("PRAGMA cache_size = -65536");
    Outcome read = Failure{kNotImported};
    {
        StoreImporter importer(*store, summary);
        rc = importer.error();
        if (rc == SQLITE_OK) {
            read = readJvDataPaths(paths, importer, progress);
            if (read)
                importer.countUncardedEntries(*store);
            rc = importer.error();
        }
    }
    if (rc == SQLITE_OK && read)
        rc = store->exec("COMMIT");
    if (rc != SQLITE_OK || !read) {
        store->exec("ROLLBACK");
        if (rc != SQLITE_OK)
            prompt.showMessage(JvStore::failure(storePath, rc).message);
        else if (progress.cancelled())
            prompt.showNote("取り込みをキャンセルしました。\r\n"
                            "データベースは取り込む前のままです。",
                            MessageIcon::Information);
        else
            prompt.showMessage(read.message());
        summary = ImportSummary();
        return prompt.failure(kNotImported);
    }
    // Keeps the write-ahead log from staying as large as the import was.
    store->exec("PRAGMA wal_checkpoint(TRUNCATE)");
    return {};
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
    long long passedOver = 0;
    for (const ImportedFile& file : summary.files)
        passedOver += file.passedOver;
    if (passedOver != 0)
        appendFormat(text, "読み飛ばした詰め物 (BOM、NUL): %lldバイト\r\n", passedOver);
    if (summary.uncardedEntries != 0)
        appendFormat(text, "出馬表に載らなかった木曜の出走登録 (出走馬に数えません): %lld頭\r\n",
                     summary.uncardedEntries);
    return text;
}

} // namespace zelkor
