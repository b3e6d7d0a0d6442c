#include "chances/day_chances.h"

#include "chances/kept_models.h"
#include "chances/silent_prompt.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "text/format.h"

namespace zelkor {

namespace {

int dayBefore(int date) {
    return date - 1; // dates compare as numbers; day 0 of a month is before its first
}

// The model kept for the races before `date`, else one fitted on them and kept.
Result<ChanceModel> modelForDay(const std::string& storePath, int date, UserPrompt& prompt,
                                ProgressSink& progress) {
    std::string fingerprint;
    // A store that cannot be read is told by the reading below.
    if (auto store = JvStore::open(storePath, JvStore::Mode::Read)) {
        fingerprint = historyFingerprint(**store, date);
        if (std::optional<ChanceModel> kept = keptModel(**store, fingerprint))
            return std::move(*kept);
    }
    progress.setText("過去のレースを読み込み中...");
    std::vector<RaceSample> history;
    if (Outcome read = readRaceSamples(storePath, trainingStart(date), dayBefore(date), history,
                                       prompt, progress, 5, 90);
        !read)
        return Failure{read.message()};
    progress.setText("勝率のモデルを当てはめ中...");
    Result<ChanceModel> model = fitChanceModel(history);
    if (model && !fingerprint.empty())
        keepModel(storePath, fingerprint, *model);
    return model;
}

} // namespace

RaceValues valuesOfRace(const ChanceModel& model, const RaceSample& race, double threshold) {
    RaceValues out{race.key, {}};
    const std::vector<RunnerChance> chances = predictRace(model, race);
    for (size_t i = 0; i < race.runners.size() && i < chances.size(); ++i) {
        const RunnerSample& r = race.runners[i];
        RunnerValue v{r.horseNumber, r.name, chances[i].win, chances[i].place, r.winOdds,
                      r.placeOddsLow};
        if (r.winOdds > 0)
            v.winReturn = v.winChance * r.winOdds / 10.0;
        if (r.placeOddsLow > 0)
            v.placeReturn = v.placeChance * r.placeOddsLow / 10.0;
        v.value = v.winReturn >= threshold || v.placeReturn >= threshold;
        out.runners.push_back(std::move(v));
    }
    return out;
}

Result<DayValues> valuesOfDay(const std::string& storePath, int date, double threshold,
                              ProgressSink& progress) {
    SilentPrompt quiet;
    RememberingPrompt told(quiet);
    std::vector<RaceSample> races;
    if (Outcome read = readRaceSamples(storePath, date, date, races, told, progress, 0, 5); !read)
        return Failure{read.message()};
    if (races.empty())
        return Failure{format("%08d には取り込んだレースがありません。", date)};
    Result<ChanceModel> model = modelForDay(storePath, date, told, progress);
    if (!model)
        return Failure{model.message()};
    DayValues day{std::move(*model), {}};
    for (const RaceSample& race : races)
        day.races.push_back(valuesOfRace(day.model, race, threshold));
    progress.setPosition(100);
    return day;
}

} // namespace zelkor
