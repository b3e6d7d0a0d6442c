#include "backtest/backtest.h"

#include "core/scoring.h"
#include "text/format.h"

#include <algorithm>

namespace zelkor {
namespace {

constexpr std::string_view kRules[] = {
    "過去レースは、登録馬ファイルの各馬の近5走を、年・月日・競馬場・回・日目・レース番号が同じもの"
    "どうしでまとめて組み立てます。",
    "そろった出走馬が最少頭数 (既定 5 頭) 以上で、頭数の最少割合 (既定 80 %) "
    "以上のレースだけを使います。馬番の重なりや頭数の食い違いがあるレースも使いません。",
    "記録の5走が埋まっていて (それより古い走りは記録から落ちています)、そのレースより前の走りが2走"
    "未満の馬がいるレースは使いません。その馬は走ったことがないように見えてしまうからです。",
    "1番人気の馬がそろっていないレースは使いません。くらべる相手をゼルコ馬と同じレースで数えるため"
    "です。",
    "各馬はそのレースの前の姿で予想します。そのレースの日とそれより後の日付の走りは使いません。記録"
    "の"
    "順が乱れていても、それより古い走りは使います。",
    "前走・前々走は、そのレースより前の直近2走を JRA-VAN の読み込みと同じ変換で作ります。",
    "脚質・強さ・推定オッズは、そのレースより前の走りから登録馬ファイルと同じ式で求めます。推定オッ"
    "ズの強さの合計は、そろった出走馬の合計です。",
    "得意距離は、そのレースより前の走りの着順を距離帯 (1600m以下、1601～2200m、2201m以上) "
    "ごとに数え、通算成績と同じ重みで求めます。",
    "年齢はレースの年から生まれ年を引いたものです。",
    "距離・芝/ダート・格 (クラス) "
    "はそのレースの記録から取ります。年齢制限・性別制限・重量は記録にないため既定値 "
    "(４歳上・なし・別定) です。",
    "予想は通常の予想と同じ得点・順位・穴馬の数・馬連の組み合わせです。複勝は3着以内、7頭立て以下"
    "では2着以内です。",
    "取消・除外・競走中止・失格の馬は、当たりにも外れにも数えません。落馬再騎乗と降着の馬は確定した"
    "着順で数えます。",
    "穴馬と馬連は、レースを1回の試行として数えます (どれかが当たればそのレースは的中)。同じレースの"
    "買い目どうしは独立ではないため、信頼区間もレースの数から求めます。",
    "くらべる相手は、1番人気の馬、推定オッズがいちばん高い馬 (同じなら馬番の小さい馬)、偶然 "
    "(複勝圏の頭数÷頭数、1着は 1÷頭数をレースごとに平均) です。",
    "記録にあるのは各馬の近5走だけなので、古いレースほど前の走りが少なく、ゼルコ馬の得点もその分だ"
    "け粗くなります。",
    kNoPayoutsNote,
};

constexpr const char* kProgressText = "過去レースで検証しています";

void prefetchHorse(const PastHorse& horse) {
    const char* bytes = reinterpret_cast<const char*>(&horse);
    for (size_t line = 0; line < sizeof horse; line += 64)
        __builtin_prefetch(bytes + line);
}

} // namespace

std::string droppedRacesText(const PastRaceSet& dropped, const PastRaceRules& rules) {
    return format(
        "除いたレース: %d (そろった出走馬が%d頭未満 %d、頭数の%d%%未満 %d、記録の食い違い "
        "%d、前の走りが記録から落ちた馬がいる %d、1番人気がいない %d)",
        dropped.dropped(), rules.minRunners, dropped.droppedFewRunners, rules.minSharePercent,
        dropped.droppedLowShare, dropped.droppedInconsistent, dropped.droppedShortHistory,
        dropped.droppedNoFavourite);
}

std::span<const std::string_view> backtestRules() {
    return kRules;
}

BacktestRace predictPastRace(const PastRace& race, std::span<const PastHorse> horses,
                             RaceSheet& sheet) {
    const PastRaceField field = loadPastRace(sheet, race, horses);
    scoreRace(sheet);
    const PredictionResult& result = sheet.result;
    const int n = sheet.runnerCount;

    BacktestRace out;
    out.id = race.id;
    out.fieldSize = race.fieldSize;
    out.surface = sheet.surface;
    if (n > 0) {
        out.distanceMetres = field[0].run->distanceMetres;
        out.distanceBand = distanceBandOf(out.distanceMetres);
    }
    out.darkHorseCount = result.darkHorseCount;
    // The sheet numbers the horses present 1..n; the race's own numbers go out.
    auto horseNumber = [&](int k) {
        return k >= 1 && k <= n ? field[static_cast<size_t>(k - 1)].run->horseNumber : 0;
    };
    for (int i = 0; i < result.quinellaCount && i < kMaxQuinellaPairs; ++i) {
        const auto& pair = result.quinellaPairs[static_cast<size_t>(i)];
        const int a = horseNumber(pair[0]);
        const int b = horseNumber(pair[1]);
        out.quinellaPairs.push_back({std::min(a, b), std::max(a, b)});
    }
    out.runners.reserve(static_cast<size_t>(n));
    for (int k = 1; k <= n; ++k) {
        const PastRaceEntrant& entrant = field[static_cast<size_t>(k - 1)];
        BacktestRunner runner;
        runner.horseId = horses[entrant.horse].horseId();
        runner.horseNumber = entrant.run->horseNumber;
        runner.finish = entrant.run->finish;
        runner.abnormal = entrant.run->abnormal;
        runner.popularity = entrant.run->popularity;
        runner.score = result.score(k);
        runner.rank = rankOf(result, k, n);
        runner.oddsEstimate = entrant.oddsEstimate;
        out.runners.push_back(std::move(runner));
    }
    return out;
}

Backtest backtestHorses(std::span<const PastHorse> horses, const PastRaceRules& rules,
                        ProgressSink& progress, int from) {
    Backtest backtest;
    backtest.horses = static_cast<int>(horses.size());
    backtest.dropped = rebuildPastRaces(horses, rules);
    std::vector<PastRace> races = std::move(backtest.dropped.races);
    backtest.dropped.races.clear();

    progress.setText(kProgressText);
    progress.setPosition(from);
    RaceSheet sheet;
    backtest.races.reserve(races.size());
    int shown = from;
    for (size_t i = 0; i < races.size() && !progress.cancelled(); ++i) {
        // The horses of a race lie anywhere in memory: fetching the next
        // race's while this one is predicted hides most of the waiting.
        if (i + 1 < races.size())
            for (const PastRaceRunner& runner : races[i + 1].runners)
                prefetchHorse(horses[runner.horse]);
        backtest.races.push_back(predictPastRace(races[i], horses, sheet));
        const int position =
            from + static_cast<int>((100LL - from) * static_cast<long long>(i + 1) /
                                    static_cast<long long>(races.size()));
        if (position != shown)
            progress.setPosition(shown = position);
    }
    progress.setPosition(100);
    return backtest;
}

bool backtestCancelled(const ProgressSink& progress, UserPrompt& prompt) {
    if (!progress.cancelled())
        return false;
    prompt.showNote("検証をキャンセルしました。", MessageIcon::Information);
    return true;
}

Outcome backtestHorseFile(const std::string& horseFilePath, const PastRaceRules& rules,
                          Backtest& backtest, UserPrompt& prompt, ProgressSink& progress) {
    // Nothing is shown before the file is read, so a file that cannot be
    // read is told alone.
    RememberingPrompt told(prompt);
    PastHorses horses;
    if (Outcome read = readPastHorses(horseFilePath, horses); !read)
        return tell(prompt, read.message());
    // Reading the file was about a third of the work.
    backtest = backtestHorses(horses, rules, progress, 30);
    backtest.horseFilePath = horseFilePath;
    if (backtestCancelled(progress, told))
        return told.failure({});
    return {};
}

} // namespace zelkor
