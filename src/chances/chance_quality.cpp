#include "chances/chance_quality.h"

#include "chances/day_chances.h"
#include "chances/place_chances.h"

#include <algorithm>
#include <cmath>

namespace zelkor {

namespace {

double brierOf(const std::vector<double>& chances, size_t winner) {
    double sum = 0;
    for (size_t i = 0; i < chances.size(); ++i) {
        const double miss = chances[i] - (i == winner ? 1.0 : 0.0);
        sum += miss * miss;
    }
    return sum;
}

bool hasResult(const RaceSample& race) {
    return std::any_of(race.runners.begin(), race.runners.end(),
                       [](const RunnerSample& r) { return r.finish == 1; });
}

int firstDayOfNextMonth(int date) {
    const int year = date / 10000, month = date / 100 % 100;
    return month >= 12 ? (year + 1) * 10000 + 101 : year * 10000 + (month + 1) * 100 + 1;
}

} // namespace

void QualityTally::add(const ChanceModel& model, const RaceSample& race) {
    if (!hasResult(race))
        return;
    PredictedRace& predicted = races_.emplace_back();
    predicted.key = race.key;
    predicted.settled = race.settled;
    for (const RunnerValue& runner : valuesOfRace(model, race, threshold_).runners) {
        predicted.horseNumbers.push_back(runner.horseNumber);
        predicted.chances.push_back({runner.winChance, runner.placeChance});
        const int number = runner.horseNumber;
        const Settlement s = race.settled
                                 ? settleTicket(race.payouts, BetType::Place, std::span(&number, 1))
                                 : Settlement{};
        if (!s.bought)
            continue;
        // The ticket is bought for what the place is worth, whatever the win is.
        for (PlaceTake* take : {&predicted.everyStarter, &predicted.value}) {
            if (take == &predicted.value && !(runner.placeReturn >= threshold_))
                continue;
            ++take->tickets;
            take->hits += s.hit ? 1 : 0;
            take->stake += s.stake;
            take->ret += s.ret;
        }
    }
    const std::vector<RunnerChance>& chances = predicted.chances;
    if (chances.size() != race.runners.size())
        return;
    const int places = placesPaid(static_cast<int>(race.runners.size()));
    for (size_t i = 0; i < chances.size() && places > 0; ++i) {
        const double p = chances[i].place;
        CalibrationBin& bin = bins_[static_cast<size_t>(
            std::clamp(static_cast<int>(p * kCalibrationBins), 0, kCalibrationBins - 1))];
        ++bin.runners;
        bin.predicted += p;
        const int finish = race.runners[i].finish;
        bin.observed += finish >= 1 && finish <= places ? 1 : 0;
    }
    const int winner = race.winner();
    const std::vector<double> market = marketChances(race);
    if (winner < 0 || market.empty())
        return;
    const auto w = static_cast<size_t>(winner);
    std::vector<double> own;
    for (const RunnerChance& c : chances)
        own.push_back(c.win);
    sums_.modelLogLoss -= std::log(std::max(own[w], 1e-12));
    sums_.marketLogLoss -= std::log(std::max(market[w], 1e-12));
    sums_.modelBrier += brierOf(own, w);
    sums_.marketBrier += brierOf(market, w);
    ++sums_.races;
}

ChanceQuality QualityTally::quality() const {
    ChanceQuality q = sums_;
    if (q.races > 0) {
        q.modelLogLoss /= q.races;
        q.marketLogLoss /= q.races;
        q.modelBrier /= q.races;
        q.marketBrier /= q.races;
    }
    return q;
}

Calibration QualityTally::calibration() const {
    Calibration out = bins_;
    for (int b = 0; b < kCalibrationBins; ++b) {
        CalibrationBin& bin = out[static_cast<size_t>(b)];
        bin.low = b / static_cast<double>(kCalibrationBins);
        bin.high = (b + 1) / static_cast<double>(kCalibrationBins);
        if (bin.runners > 0) {
            bin.predicted /= bin.runners;
            bin.observed /= bin.runners;
        }
    }
    return out;
}

ChanceQuality chanceQuality(const ChanceModel& model, std::span<const RaceSample> races) {
    QualityTally tally;
    for (const RaceSample& race : races)
        tally.add(model, race);
    return tally.quality();
}

Outcome walkForwardQuality(const std::string& storePath, int fromDate, int toDate, double threshold,
                           WalkForwardQuality& out, UserPrompt& userPrompt,
                           ProgressSink& progress) {
    RememberingPrompt prompt(userPrompt);
    out = WalkForwardQuality{};
    out.threshold = threshold;
    progress.setText("過去のレースを読み込み中...");
    std::vector<RaceSample> races;
    if (Outcome read = readRaceSamples(storePath, trainingStart(fromDate / 100 * 100 + 1), toDate,
                                       races, prompt, progress, 0, 80);
        !read)
        return read;
    progress.setText("勝率のモデルを月ごとに当てはめ中...");
    QualityTally tally(threshold);
    const auto earlier = [](const RaceSample& r, int date) { return r.date < date; };
    const auto first = std::lower_bound(races.begin(), races.end(), fromDate, earlier);
    auto next = first;
    while (next != races.end()) {
        if (progress.cancelled()) {
            prompt.showNote("勝率の計算をキャンセルしました。", MessageIcon::Information);
            return prompt.failure({});
        }
        const int monthEnd = firstDayOfNextMonth(next->date);
        const auto last = std::lower_bound(next, races.end(), monthEnd, earlier);
        // Fitted at the start of the month on the races before it.
        const int monthStart = next->date / 100 * 100 + 1;
        const auto before = std::lower_bound(races.begin(), next, monthStart, earlier);
        if (const Result<ChanceModel> model =
                fitChanceModel(std::span<const RaceSample>(races.begin(), before)))
            for (auto race = next; race != last; ++race)
                tally.add(*model, *race);
        next = last;
        progress.setPosition(80 +
                             static_cast<int>(20 * (next - first) /
                                              std::max<std::ptrdiff_t>(races.end() - first, 1)));
    }
    out.quality = tally.quality();
    out.calibration = tally.calibration();
    out.races = tally.races();
    return {};
}

} // namespace zelkor
