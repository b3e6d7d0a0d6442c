#pragma once

#include "core/ports.h"
#include "core/result.h"
#include "race/race_source.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelkor {

// The JV-Data store below the program folder: "JV-Data/jvdata.sqlite3".
std::string jvStoreFolder(const std::string& programFolder); // programFolder + "JV-Data/"
std::string jvStorePath(const std::string& programFolder);   // + "jvdata.sqlite3"

// What an import did with the records of one type. `read` counts every
// record of the type read, so read = added + replaced + olderIgnored + sameIgnored +
// deleted + rejected + skipped.
struct ImportCounts {
    long long read = 0;
    long long added = 0;        // a key the store did not have
    long long replaced = 0;     // a newer version of a key it had
    long long olderIgnored = 0; // older than the version kept
    long long deleted = 0;      // a delete that became the newest version
    long long rejected = 0;     // RA, SE, UM, HR, O1 of a wrong length or key
    long long skipped = 0;      // other record types
    long long sameIgnored = 0;  // the version kept, read again
    friend bool operator==(const ImportCounts&, const ImportCounts&) = default;
};

// One rejected record: where it lies and why (CP932 texts). `file` names the
// file as shown to the user ("archive.zip:entry" inside an archive).
struct RejectedRecord {
    std::string file;
    long long offset = 0;
    std::string reason;
};

// At most this many rejected records are listed; all are counted.
inline constexpr size_t kMaxListedRejects = 1000;

// What became of one file read: whether it held JV-Data, and its records
// (framing faults among them) and padding.
struct ImportedFile {
    std::string file; // as shown to the user ("archive.zip:entry" inside an archive)
    bool jvData = false;
    long long records = 0;    // read, of every type
    long long rejected = 0;   // of them
    long long passedOver = 0; // bytes of padding (byte order mark, NULs)
};

struct ImportSummary {
    std::map<std::string, ImportCounts> byType; // "RA", "SE", ...
    std::vector<RejectedRecord> rejected;       // in reading order
    // Files found in a folder or an archive that hold no JV-Data record.
    std::vector<std::string> notJvData;
    std::vector<ImportedFile> files; // every file read, in reading order
    // Thursday entries (SE of data kind 1) of races this import touched
    // that have a later card: horses not carded, no runners.
    long long uncardedEntries = 0;
};

// Imports every JV-Data file under `paths` (files, folders searched through,
// zip/lzh/tar/gz archives) into the store (created when missing), all in
// one transaction. Each path must hold JV-Data. Fails after one message
// (what happened and what to do) when the import could not be done or was
// cancelled (`progress.cancelled()`); the store is then unchanged.
Outcome importJvData(const std::vector<std::string>& paths, const std::string& storePath,
                     ImportSummary& summary, UserPrompt& prompt, ProgressSink& progress);

// The summary as the front ends show it: a table of the counts per record
// type with a total line, then the rejected records and the files that were
// not JV-Data (CP932, lines ending in "\r\n").
std::string importSummaryText(const ImportSummary& summary);

struct StoreDate {
    int date = 0; // yyyymmdd
    int races = 0;
};

// The race days of the store, newest first: dates with at least one race
// that is neither a local or overseas race nor deleted. Fails when the
// store cannot be read.
Result<std::vector<StoreDate>> readStoreDates(const std::string& storePath);

// What the integrity check found, with the number of records kept of each
// type ("RA", "SE", "UM", "HR", "O1"; -1 where the count cannot be read).
struct StoreCheck {
    bool sound = false;
    std::vector<std::pair<std::string, long long>> counts;
};

// Runs SQLite's integrity check over the whole store and counts its
// records. A damaged store is a result (`sound` false); fails when the
// store cannot be opened or read for another reason.
Result<StoreCheck> checkJvStore(const std::string& storePath);

// The result in one line (CP932): sound or damaged, the counts, and for a
// damaged store the way out.
std::string storeCheckText(const std::string& storePath, const StoreCheck& check);

// The failure of a store that holds no race yet, saying to import JV-Data
// first (a missing store or one without race days).
Failure storeWithoutRaces();

// The failure of a job on a store whose reason was told before the job began.
inline constexpr const char* kStoreNotRead = "JV-Dataの保存ファイルを読めませんでした";

// The races of one day of the store as a race source. Fails when the store
// cannot be read or has no race on that day.
Result<std::unique_ptr<RaceSource>> openStoreDay(const std::string& storePath, int yyyymmdd);

} // namespace zelkor
