#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "text/cp932.h"
#include "text/format.h"

#include <sqlite3.h>

namespace zelkor {
namespace {

bool damage(int code) {
    return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB;
}

} // namespace

Result<StoreCheck> checkJvStore(const std::string& storePath) {
    auto opened = JvStore::open(storePath, JvStore::Mode::Read);
    if (!opened)
        return Failure{opened.message()};
    JvStore* store = opened->get();
    StoreCheck check;
    // One read transaction: the counts are those of the store checked.
    store->exec("BEGIN");
    StoreStatement integrity = store->prepare("PRAGMA integrity_check(1)");
    check.sound = integrity.step() && integrity.blob(0) == "ok";
    int failure = integrity.failed();
    integrity = StoreStatement();
    for (const char* type : {"RA", "SE", "UM", "HR", "O1"}) {
        if (store->empty()) {
            check.counts.emplace_back(type, 0);
            continue;
        }
        StoreStatement count =
            store->prepare(format("SELECT count(*) FROM %c%c", type[0] | 0x20, type[1]).c_str());
        check.counts.emplace_back(type, count.step() ? count.integer(0) : -1);
        if (failure == 0)
            failure = count.failed();
    }
    store->exec("COMMIT");
    if (damage(failure))
        check.sound = false;
    else if (failure != 0)
        return JvStore::failure(storePath, failure);
    return check;
}

std::string storeCheckText(const std::string& storePath, const StoreCheck& check) {
    std::string counts;
    for (const auto& [type, count] : check.counts) {
        counts += counts.empty() ? "" : "、";
        if (count < 0)
            appendFormat(counts, "%s 読めません", type.c_str());
        else
            appendFormat(counts, "%s %lld件", type.c_str(), count);
    }
    const std::string shown = pathForDisplay(storePath);
    if (check.sound)
        return format("JV-Dataの保存ファイル'%s'は正常です（%s）。", shown.c_str(), counts.c_str());
    return format("JV-Dataの保存ファイル'%s'は壊れています（%s）。別の名前に変えてから、"
                  "JV-Dataを取り込み直してください。",
                  shown.c_str(), counts.c_str());
}

} // namespace zelkor
