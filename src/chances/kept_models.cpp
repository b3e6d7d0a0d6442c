#include "chances/kept_models.h"

#include "chances/place_chances.h"
#include "store/jv_store.h"
#include "text/format.h"

#include <charconv>
#include <cmath>

namespace zelkor {

namespace {

constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS chance_models(fingerprint BLOB NOT NULL, from_date INTEGER NOT "
    "NULL, to_date INTEGER NOT NULL, races INTEGER NOT NULL, feature_version INTEGER NOT NULL, "
    "numbers BLOB NOT NULL)";

void appendNumbers(std::string& out, const std::vector<double>& values) {
    for (double v : values)
        appendFormat(out, "%.17g ", v);
    out += "| ";
}

} // namespace

std::string historyFingerprint(JvStore& store, int date) {
    std::string out;
    for (const char* sql : {"SELECT count(*), sum(made), sum(kind) FROM ra WHERE key < ?1",
                            "SELECT count(*), sum(made), sum(kind) FROM se WHERE race < ?1",
                            "SELECT count(*), sum(made), sum(kind) FROM o1 WHERE key < ?1"}) {
        StoreStatement sums = store.prepare(sql);
        sums.bind(1, static_cast<long long>(date) * kRaceKeysPerDate);
        if (!sums.step())
            return {};
        appendFormat(out, "%lld,%lld,%lld;", sums.integer(0), sums.integer(1), sums.integer(2));
    }
    return out;
}

std::string modelNumbers(const ChanceModel& model) {
    std::string out;
    appendNumbers(out, model.weights);
    appendNumbers(out, model.market);
    appendNumbers(out, model.place);
    for (double v : model.placeMarket)
        appendFormat(out, "%.17g ", v);
    return out;
}

std::optional<ChanceModel> readModelNumbers(std::string_view text) {
    std::vector<double> values[4];
    size_t group = 0;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (at < end && group < 4) {
        if (*at == ' ') {
            ++at;
        } else if (*at == '|') {
            ++group;
            ++at;
        } else {
            double v = 0;
            const auto [next, error] = std::from_chars(at, end, v);
            if (error != std::errc() || !std::isfinite(v))
                return std::nullopt;
            values[group].push_back(v);
            at = next;
        }
    }
    if (group != 3 || values[0].size() != kChanceFeatureCount ||
        (values[1].size() != 0 && values[1].size() != kMarketWeights) ||
        values[2].size() != kPlaceWeights ||
        (values[3].size() != 0 && values[3].size() != kPoolPlaceWeights))
        return std::nullopt;
    ChanceModel model;
    model.weights = std::move(values[0]);
    model.market = std::move(values[1]);
    model.place = std::move(values[2]);
    model.placeMarket = std::move(values[3]);
    return model;
}

std::optional<ChanceModel> keptModel(JvStore& store, const std::string& fingerprint) {
    StoreStatement kept = store.prepare(
        "SELECT from_date, to_date, races, numbers FROM chance_models WHERE fingerprint = ?1 AND "
        "feature_version = ?2");
    if (!kept)
        return std::nullopt; // no model was ever kept
    kept.bind(1, fingerprint).bind(2, kChanceFeatureVersion);
    if (!kept.step())
        return std::nullopt;
    std::optional<ChanceModel> model = readModelNumbers(kept.blob(3));
    if (model) {
        model->fromDate = static_cast<int>(kept.integer(0));
        model->toDate = static_cast<int>(kept.integer(1));
        model->races = static_cast<int>(kept.integer(2));
    }
    return model;
}

void keepModel(const std::string& storePath, const std::string& fingerprint,
               const ChanceModel& model) {
    auto opened = JvStore::open(storePath, JvStore::Mode::Import);
    if (!opened || (*opened)->empty() || (*opened)->exec("BEGIN IMMEDIATE") != 0)
        return;
    std::unique_ptr<JvStore>& store = *opened;
    store->exec(kCreateTable);
    // The fingerprint reads these instead of the records.
    store->exec("CREATE INDEX IF NOT EXISTS ra_made ON ra(key, made, kind)");
    store->exec("CREATE INDEX IF NOT EXISTS se_made ON se(race, made, kind)");
    store->exec("CREATE INDEX IF NOT EXISTS o1_made ON o1(key, made, kind)");
    StoreStatement stale =
        store->prepare("DELETE FROM chance_models WHERE to_date = ?1 OR fingerprint = ?2");
    stale.bind(1, model.toDate).bind(2, fingerprint);
    stale.step();
    StoreStatement insert = store->prepare(
        "INSERT INTO chance_models(fingerprint, from_date, to_date, races, feature_version, "
        "numbers) VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
    insert.bind(1, fingerprint)
        .bind(2, model.fromDate)
        .bind(3, model.toDate)
        .bind(4, model.races)
        .bind(5, model.featureVersion)
        .bind(6, modelNumbers(model));
    insert.step();
    store->exec(stale.failed() == 0 && insert.failed() == 0 ? "COMMIT" : "ROLLBACK");
}

} // namespace zelkor
