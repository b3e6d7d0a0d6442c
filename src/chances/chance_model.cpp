#include "chances/chance_model.h"

#include "chances/conditional_logit.h"
#include "chances/place_chances.h"
#include "text/format.h"

#include <cmath>

namespace zelkor {

namespace {

constexpr double kFeatureRidge = 1.0;
constexpr double kMarketRidge = 0.1;

std::vector<double> featureRows(const RaceSample& race) {
    std::vector<double> rows;
    rows.reserve(race.runners.size() * kChanceFeatureCount);
    for (const RunnerSample& r : race.runners)
        rows.insert(rows.end(), r.features.begin(), r.features.end());
    return rows;
}

std::vector<double> marketRows(const std::vector<double>& model,
                               const std::vector<double>& market) {
    std::vector<double> rows;
    for (size_t i = 0; i < model.size(); ++i) {
        rows.push_back(std::log(std::max(model[i], 1e-12)));
        const double lnMarket = std::log(std::max(market[i], 1e-12));
        rows.push_back(lnMarket);
        // The far outsiders' odds overstate their chances (a pool over-bets
        // them, and no odds are printed beyond 999.9): the square lets the
        // fit bend them down.
        rows.push_back(lnMarket * lnMarket / 10);
    }
    return rows;
}

std::vector<double> fitFeatures(std::span<const RaceSample> races) {
    std::vector<LogitRace> logit;
    for (const RaceSample& race : races)
        if (const int winner = race.winner(); winner >= 0)
            logit.push_back({featureRows(race), winner});
    return fitConditionalLogit(logit, kChanceFeatureCount, kFeatureRidge);
}

std::vector<double> winChances(const ChanceModel& model, const RaceSample& race) {
    std::vector<double> win = logitChances(featureRows(race), model.weights);
    const std::vector<double> market = marketChances(race);
    if (!model.market.empty() && !market.empty())
        win = logitChances(marketRows(win, market), model.market);
    return win;
}

// The runners that finished in the places paid, in order; empty when the
// places are not clear (a dead heat, a result missing).
std::vector<int> placeOrder(const RaceSample& race) {
    const int places = placesPaid(static_cast<int>(race.runners.size()));
    std::vector<int> order(static_cast<size_t>(places), -1);
    for (size_t i = 0; i < race.runners.size(); ++i) {
        const int finish = race.runners[i].finish;
        if (finish >= 1 && finish <= places) {
            if (order[static_cast<size_t>(finish - 1)] >= 0)
                return {};
            order[static_cast<size_t>(finish - 1)] = static_cast<int>(i);
        }
    }
    for (int i : order)
        if (i < 0)
            return {};
    return order;
}

} // namespace

std::vector<double> marketChances(const RaceSample& race) {
    if (!race.hasOdds())
        return {};
    std::vector<double> p;
    double sum = 0;
    for (const RunnerSample& r : race.runners) {
        p.push_back(10.0 / r.winOdds);
        sum += p.back();
    }
    for (double& v : p)
        v /= sum;
    return p;
}

std::vector<double> placePoolShares(const RaceSample& race) {
    std::vector<double> shares;
    double sum = 0;
    for (const RunnerSample& r : race.runners) {
        if (r.placeOddsLow <= 0)
            return {};
        // Odds of 1.0 pay the stake back: the pool had nothing left to share.
        shares.push_back(1.0 / std::max(r.placeOddsLow / 10.0 - 1.0, 0.05));
        sum += shares.back();
    }
    for (double& v : shares)
        v /= sum;
    return shares;
}

Result<ChanceModel> fitChanceModel(std::span<const RaceSample> history) {
    if (!history.empty()) {
        const int from = trainingStart(history.back().date + 1);
        while (!history.empty() && history.front().date < from)
            history = history.subspan(1);
    }
    int withWinner = 0;
    for (const RaceSample& race : history)
        withWinner += race.winner() >= 0 ? 1 : 0;
    if (withWinner < kMinimumHistoryRaces || history.empty())
        return Failure{
            format("この日より前の結果のあるレースが %d 件しかないため、勝率を計算できません。"
                   "%d 件以上のレースが必要です。過去の JV-Data を取り込んでください。",
                   withWinner, kMinimumHistoryRaces)};
    ChanceModel model;
    model.fromDate = history.front().date;
    model.toDate = history.back().date;
    model.races = withWinner;

    const size_t split = history.size() * 2 / 3;
    model.weights = fitFeatures(history.first(split));
    std::vector<LogitRace> marketRaces;
    for (const RaceSample& race : history.subspan(split)) {
        const std::vector<double> market = marketChances(race);
        if (const int winner = race.winner(); winner >= 0 && !market.empty())
            marketRaces.push_back(
                {marketRows(logitChances(featureRows(race), model.weights), market), winner});
    }
    if (!marketRaces.empty())
        model.market = fitConditionalLogit(marketRaces, kMarketWeights, kMarketRidge);
    std::vector<PlaceOrder> orders;
    for (const RaceSample& race : history.subspan(split))
        if (std::vector<int> order = placeOrder(race); !order.empty())
            orders.push_back({winChances(model, race), placePoolShares(race), std::move(order)});
    if (std::vector<double> place = fitPlaceWeights(orders, false); !place.empty())
        model.place = std::move(place);
    model.placeMarket = fitPlaceWeights(orders, true);
    model.weights = fitFeatures(history);
    return model;
}

std::vector<RunnerChance> predictRace(const ChanceModel& model, const RaceSample& race) {
    const std::vector<double> win = winChances(model, race);
    const std::vector<double> shares = placePoolShares(race);
    const bool pool = !shares.empty() && !model.placeMarket.empty();
    const std::vector<double> place =
        placeChances(win, placesPaid(static_cast<int>(race.runners.size())),
                     placeStrengths(win, shares, pool ? model.placeMarket : model.place));
    std::vector<RunnerChance> out(win.size());
    for (size_t i = 0; i < win.size(); ++i)
        out[i] = {win[i], place[i]};
    return out;
}

} // namespace zelkor
