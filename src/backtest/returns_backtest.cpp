#include "backtest/returns_backtest.h"

#include "backtest/backtest.h"
#include "core/scoring.h"
#include "jvdata/jvdata_checks.h"
#include "jvdata/jvdata_layouts.h"
#include "jvdata/jvdata_record.h"
#include "jvdata/jvdata_versions.h"
#include "jvdata/payout_record.h"
#include "race/race_loader.h"
#include "race/race_source.h"
#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "store/race_finishes.h"
#include "store/store_period_source.h"
#include "text/format.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace zelkor {
namespace {

constexpr std::string_view kRules[] = {
    "使うのは、期間のJRAのレース (競馬場コード01～10) のうち、確定した成績 (データ区分5～7) "
    "と中止でない払戻のあるものです。",
    "各レースは、ふだんの予想と同じ読み込みで、そのレースの前の姿に組み立て直します。"
    "過去の走りはそのレースの日より前のものだけです。",
    "オッズは確定オッズ (最終オッズ) です。レースの前に見えていたオッズとは少し違います。",
    "買い目は1枚100円で、穴馬 (順位1～K) の複勝と、組み合わせの馬連です。予想が枠連と"
    "表示する8頭以下のレースでは枠連が発売されないため、同じ組み合わせを馬連で買います。",
    "払戻は、返還 (中止・不成立・発売取消・取消馬・消えた枠・同枠の返還)、同着、特払、7頭以下の"
    "複勝 (2着まで) を含めて、払戻データのとおりに計算します。発売のない券種は買いません。",
    "くらべる相手は同じレースでの1番人気 (同じなら馬番の小さい馬) の単勝・複勝、全出走馬の"
    "複勝、同じ枚数のでたらめな複勝・馬連 (あらゆる選び方の平均、抽選ではありません) です。",
    "回収率の95%区間は、レースを単位に2,000回選び直すブートストラップ (乱数の種は固定) です。",
};

constexpr const char* kProgressText = "払戻で検証しています";

// A message while loading a race (a horse not in the store) is counted,
// not shown: the whole period would otherwise ask for thousands of OKs.
class CountingPrompt : public UserPrompt {
  public:
    void doShowMessage(const std::string&, const std::string&) override { ++messages; }
    bool doAskYesNo(const std::string&, const std::string&) override { return false; }
    int messages = 0;
};

bool finalResults(long long raKind) {
    return raKind >= '5' && raKind <= '7';
}

constexpr LeftOutReasonInfo kLeftOutReasonInfo[kLeftOutReasons] = {
    {"notJra", "JRAのレースでない"},
    {"noFinalResults", "確定した成績がない"},
    {"noPayouts", "払戻がないか中止"},
    {"notLoadable", "出馬表未確定で読み込めない"},
};

// A race of the period: its payout record, or why it is left out.
struct Choice {
    std::optional<LeftOutReason> leftOut;
    std::string hr;
};

// Every race of the period by race key, the ones to settle with their
// payout record.
Outcome chooseRaces(JvStore& store, int fromDate, int toDate, std::map<long long, Choice>& races) {
    StoreStatement rows = store.prepare(
        "SELECT ra.key, ra.kind, hr.kind, hr.rec FROM ra LEFT JOIN hr ON hr.key = ra.key "
        "WHERE ra.key >= ?1 AND ra.key < ?2");
    rows.bind(1, static_cast<long long>(fromDate) * kRaceKeysPerDate)
        .bind(2, static_cast<long long>(toDate + 1) * kRaceKeysPerDate);
    while (rows.step()) {
        const long long key = rows.integer(0);
        const long long hrKind = rows.integer(2); // 0: none
        Choice& choice = races[key];
        if (!jvdata::isJraCourse(courseOfRaceKey(key)))
            choice.leftOut = LeftOutReason::NotJra;
        else if (!finalResults(rows.integer(1)))
            choice.leftOut = LeftOutReason::NoFinalResults;
        else if (hrKind == 0 || hrKind == jvdata::kCancelKind || hrKind == jvdata::kDeleteKind)
            choice.leftOut = LeftOutReason::NoPayouts;
        else
            choice.hr = std::string(rows.blob(3));
    }
    if (rows.failed() == 0)
        return {};
    return JvStore::failure(store.path(), rows.failed());
}

// The driver's own reads of a race: its odds record (for the sale flags)
// and the official finishing positions of its runners.
class RaceResults {
  public:
    explicit RaceResults(JvStore& store)
        : odds_(store.prepare("SELECT kind, rec FROM o1 WHERE key = ?1")),
          runners_(store.prepare(kRaceRunnersSql)) {}

    // The odds record unless it is cancelled or deleted.
    std::string odds(long long key) {
        odds_.reset();
        odds_.bind(1, key);
        if (!odds_.step() || odds_.integer(0) == jvdata::kCancelKind ||
            odds_.integer(0) == jvdata::kDeleteKind)
            return {};
        return std::string(odds_.blob(1));
    }

    // Finishing positions by horse number.
    std::map<int, int> finishes(long long key) { return raceFinishes(runners_, key); }

    // The result code of a failed read, 0 while none failed.
    int failure() const { return odds_.failed() != 0 ? odds_.failed() : runners_.failed(); }

  private:
    StoreStatement odds_, runners_;
};

ReturnRace settledRace(const JvRaceCard& card, const RaceSheet& sheet,
                       const std::map<int, int>& finish, const RacePayouts& payouts) {
    ReturnRace race;
    race.id = {card.year,    card.monthDay,   card.courseCode,
               card.meeting, card.meetingDay, card.raceNumber};
    race.trackCode = card.trackCode;
    race.distanceMetres = card.distanceMetres;
    race.grade = sheet.grade;
    race.className = classNameOfRace(card);
    const int n = sheet.usableRunnerCount();
    race.pairsShownAsBracket = pairsShownAsBracket(n);
    std::vector<int> numbers;
    for (int k = 1; k <= n; ++k) {
        const JvRunner& runner = card.runner(k);
        const auto found = finish.find(runner.horseNumber);
        race.runners.push_back(
            {runner.horseNumber, runner.horseId, sheet.result.score(k), rankOf(sheet.result, k, n),
             found == finish.end() ? 0 : found->second, runner.winOdds, runner.popularity});
        numbers.push_back(runner.horseNumber);
    }
    const std::vector<Ticket> tickets = programTickets(sheet.result, numbers);
    settleRace(race, tickets, payouts);
    return race;
}

} // namespace

std::span<const std::string_view> returnsBacktestRules() {
    return kRules;
}

std::span<const LeftOutReasonInfo> leftOutReasons() {
    return kLeftOutReasonInfo;
}

std::string leftOutRacesText(const ReturnsBacktest& backtest) {
    std::string reasons;
    int total = 0;
    for (size_t i = 0; i < kLeftOutReasons; ++i) {
        appendFormat(reasons, "%s%s %d", i == 0 ? "" : "、", kLeftOutReasonInfo[i].label,
                     backtest.leftOut[i]);
        total += backtest.leftOut[i];
    }
    return format("除いたレース: %d (%s)", total, reasons.c_str());
}

Outcome backtestStoreReturns(const std::string& storePath, int fromDate, int toDate,
                             ReturnsBacktest& backtest, UserPrompt& userPrompt,
                             ProgressSink& progress) {
    RememberingPrompt prompt(userPrompt);
    backtest = ReturnsBacktest{fromDate, toDate, 0, {}, 0, {}};
    auto opened = JvStore::open(storePath, JvStore::Mode::Read);
    if (!opened)
        return tell(prompt, opened.message());
    std::unique_ptr<JvStore>& store = *opened;
    if (store->empty())
        return tell(prompt, storeWithoutRaces().message);
    std::map<long long, Choice> chosen;
    if (Outcome chose = chooseRaces(*store, fromDate, toDate, chosen); !chose)
        return tell(prompt, chose.message());
    const auto toSettle = std::count_if(chosen.begin(), chosen.end(),
                                        [](const auto& c) { return !c.second.leftOut; });

    progress.setText(kProgressText);
    progress.setPosition(0);
    auto period = StorePeriodSource::open(storePath, fromDate, toDate);
    if (!period)
        return tell(prompt, period.message());
    std::unique_ptr<StorePeriodSource>& source = *period;
    store->exec("BEGIN");
    RaceResults results(*store);
    CountingPrompt quiet;
    RaceSheet sheet;
    JvRaceCard card;
    Result<bool> day = false;
    while (!backtestCancelled(progress, prompt) && (day = source->nextDay()).valueOr(false)) {
        for (int position = 1; position <= source->raceCount(prompt); ++position) {
            ++backtest.racesFound;
            const std::optional<long long> key = source->raceKey(position);
            const auto hr = key ? chosen.find(*key) : chosen.end();
            std::optional<LeftOutReason> leftOut =
                hr == chosen.end() ? LeftOutReason::NoFinalResults : hr->second.leftOut;
            if (!leftOut && (!source->readRace(card, position, prompt) || !raceLoadable(card)))
                leftOut = LeftOutReason::NotLoadable;
            if (leftOut) {
                ++backtest.leftOut[static_cast<size_t>(*leftOut)];
                continue;
            }
            const int before = quiet.messages;
            loadJvRace(sheet, card, *source, quiet);
            backtest.missingHorses += quiet.messages - before;
            scoreRace(sheet);
            backtest.races.push_back(
                settledRace(card, sheet, results.finishes(hr->first),
                            payoutsFromRecords(hr->second.hr, results.odds(hr->first))));
            // A horse's failure went to the quiet prompt.
            if (source->failed() || results.failure() != 0)
                return tell(prompt,
                            JvStore::failure(storePath, source->failed() ? source->failure()
                                                                         : results.failure())
                                .message);
        }
        progress.setPosition(static_cast<int>(
            std::min<long long>(100, 100 * static_cast<long long>(backtest.races.size()) /
                                         std::max<long long>(toSettle, 1))));
    }
    store->exec("COMMIT");
    if (!day)
        return tell(prompt, day.message());
    if (source->failed() || progress.cancelled())
        return prompt.failure(kStoreNotRead);
    progress.setPosition(100);
    return {};
}

} // namespace zelkor
