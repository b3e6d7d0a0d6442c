#include "chances/day_chances.h"

#include "chances/kept_models.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "text/format.h"

namespace zelkor {

namespace {

int dayBefore(int date) {
    return date - 1; // dates compare as numbers; day 0 of a month is before its first
}

void showTooLittleHistory(UserPrompt& prompt, int races) {
    prompt.showMessage(format("この日より前の結果のあるレースが %d 件しかないため、勝率を計算できません。"
                              "%d 件以上のレースが必要です。過去の JV-Data を取り込んでください。",
                              races, kMinimumHistoryRaces),
                       "勝率・期待値");
}

// The model kept for the races before `date`, else one fitted on them and kept.
bool modelForDay(const std::string& storePath, int date, ChanceModel& model, UserPrompt& prompt) {
    std::string fingerprint;
    // A store that cannot be read is told by the reading below.
    if (auto store = JvStore::open(storePath, JvStore::Mode::Read)) {
        fingerprint = historyFingerprint(**store, date);
        if (std::optional<ChanceModel> kept = keptModel(**store, fingerprint)) {
            model = std::move(*kept);
            return true;
        }
    }
    std::vector<RaceSample> history;
    if (!readRaceSamples(storePath, trainingStart(date), dayBefore(date), history, prompt))
        return false;
    if (!fitChanceModel(history, model)) {
        int withWinner = 0;
        for (const RaceSample& race : history)
            withWinner += race.winner() >= 0 ? 1 : 0;
        showTooLittleHistory(prompt, withWinner);
        return false;
    }
    if (!fingerprint.empty())
        keepModel(storePath, fingerprint, model);
    return true;
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

Outcome valuesOfDay(const std::string& storePath, int date, double threshold, DayValues& day,
                    UserPrompt& userPrompt) {
    RememberingPrompt prompt(userPrompt);
    day = DayValues{};
    std::vector<RaceSample> races;
    if (Outcome read = readRaceSamples(storePath, date, date, races, prompt); !read)
        return read;
    if (races.empty()) {
        prompt.showMessage(format("%08d には取り込んだレースがありません。", date), "勝率・期待値");
        return prompt.failure({});
    }
    if (!modelForDay(storePath, date, day.model, prompt))
        return prompt.failure({});
    for (const RaceSample& race : races)
        day.races.push_back(valuesOfRace(day.model, race, threshold));
    return {};
}

} // namespace zelkor
