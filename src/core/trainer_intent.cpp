#include "core/trainer_intent.h"

#include "core/fixed_lists.h"
#include "core/scoring.h"

#include <array>

namespace zelkor {
namespace {

constexpr std::string_view kMarks[] = {"↑", "→", "↓"};

struct Intent {
    int mark; // index into kMarks; −1 for a code the chooser never gives
    std::string_view remark;
};

// Indexed by intent code. Codes 0, 13, 18, 28 and 29 are never chosen.
// One remark per line, as written.
// clang-format off
constexpr std::array<Intent, 36> kIntents = {{
    {-1, ""},
    {0, "完璧な仕上がりで、レースが楽しみだ。"},
    {0, "追い切りはすごい手応えだ。この馬の力を出し切ればいい結果になるだろう。"},
    {0, "普通に走ってくれれば、結果は自然とついてくるだろう。"},
    {0, "ここ２レースはほんとに絶好調だ。これなら勢いで勝てる。"},
    {0, "前走は上のクラスで出走させて気合を入れさせた。これならいい結果が出せそうだ。"},
    {0, "前走は上のクラスで出走させて気合を入れさせた。さらにハンデ戦だから斤量も軽くなった。これならいい結果が出せそうだ。"},
    {1, "休み明けだがこの距離はこの馬にとってはベストだ。そういえば、以前休み明けか新馬戦で勝ってたっけかな...。もし勝ってればこのレースもかなり期待できる。"},
    {0, "ハンデ戦だから、前走より５kg以上軽くなった。これも前走わざと大敗したせいだろう。"},
    {0, "ハンデ戦だから、前走より４kgも軽くなった。これも前走わざと大敗したせいだろう。"},
    {1, "すでにこのクラスで連対している。実績なら十分だ。あとは調子が良ければ。"},
    {2, "最近着順がよくないなぁ。タイム差で大敗はしていないが。ここはなんとか稼いでもらわなくては。"},
    {1, "前走の長距離レースはステップにした。この馬には長かったが、2000m以上のレースに出走させると距離割増賞金をもらえるからな。"},
    {-1, ""},
    {0, "前走は人気になったが、結果は予定通り。このレースのためにひと叩きしたんだ。"},
    {1, "前走は力負けしたようだが、タイム差で見るとそれほど大差はない。調子は悪くないようだ。"},
    {1, "ハンデ戦だから、前走より３kgも軽くなった。これも前走わざと大敗したせいだろう。"},
    {1, "ハンデ戦だから、前走より２kgも軽くなった。これも前走わざと大敗したせいだろう。"},
    {-1, ""},
    {1, "前走は惨敗だったからこのレースでなんとしても稼がなければ。"},
    {2, "この馬にこの距離は短い。つまり、このレースは捨てレースだ。"},
    {2, "この馬にこの距離は長い。つまり、このレースは捨てレースだ。2000m以上のレースに出走させると距離割増賞金をもらえるからな。"},
    {2, "前走より斤量が２kgも重くなった。このレースは無理しないで捨てレースにしよう。"},
    {2, "前走より斤量が３kgも重くなった。このレースは無理しないで捨てレースにしよう。"},
    {2, "前走より斤量が４kgも重くなった。このレースは無理しないで捨てレースにしよう。"},
    {2, "前走より斤量が５kg以上も重くなった。このレースは無理しないで捨てレースにしよう。"},
    {1, "前走は１着だったから本気でやることもないな。まだ疲れも残ってるし。"},
    {1, "前走は２着だったから本気でやることもないな。まだ疲れも残ってるし。"},
    {-1, ""},
    {-1, ""},
    {1, "この馬は走るかどうかわからんからなぁ・・・。"},
    {1, ""},
    {0, "前走より５kg以上軽くなった。これなら楽に走れそうだ。"},
    {0, "前走より４kg軽くなった。これなら楽に走れそうだ。"},
    {1, "前走より３kg軽くなった。これなら楽に走れそうだ。"},
    {1, "前走より２kg軽くなった。これなら楽に走れそうだ。"},
}};
// clang-format on

constexpr int kHandicap = 2; // weightRule "ハンデ"

// The odds speak first, for the favourites (up to kFavouriteOddsBand, win
// odds up to 7.0): up to 2.0 the horse is in perfect condition (完璧な仕上がり),
// up to 5.0 its workout was strong (追い切りはすごい手応え), the rest need
// only run as they can (普通に走ってくれれば).
constexpr int kPerfectConditionOddsBand = 1;
constexpr int kStrongWorkoutOddsBand = 4;

// Steps 4 to 6 on the reference run `r`; 0 when none of them applies.
int referenceRunCode(const RaceSheet& sheet, const RunnerEntry& runner, const PastRun& r) {
    const int G = sheet.grade;
    const int D = sheet.distance;
    const long long w = kilogramsLighter(r, runner);
    const int f = r.finish;
    const int cl = r.raceClass;

    bool heavierTests = true;
    if (sheet.weightRule == kHandicap) {
        if (f > 7) {
            if (w >= 5)
                return 8;
            if (w == 4)
                return 9;
            if (w == 3)
                return 16;
            if (w == 2)
                return 17;
        } else if (w >= 2 && w <= 4) {
            heavierTests = false; // straight to the general tests
        }
    } else {
        if (w >= 5)
            return 32;
        if (w == 4)
            return 33;
        if (w == 3)
            return 34;
        if (w == 2)
            return 35;
        // A higher-class run outside a handicap race: code 6 would claim the
        // handicap made the horse lighter, which is not so here.
        if (cl < G)
            return 5;
    }

    if (heavierTests) {
        if (w <= -5)
            return 25;
        if (w == -4)
            return 24;
        if (w == -3)
            return 23;
        if (w == -2)
            return 22;
    }

    if (cl < G)
        return 5;
    if (r.distance >= 10 && D < 9)
        return 12;
    if (r.popularity < 3 && f > 7)
        return 14;
    if (cl == G && f < 3)
        return 10;
    if (f > 7 && r.timeDiff < 6)
        return 15;
    if (r.timeDiff == kTimeDiffBig)
        return 19;
    if (static_cast<long long>(runner.aptitudeDistance) - D <= -8 && r.distance >= 10)
        return 21;
    if (f == 0 && cl > G)
        return 26;
    if (f == 1 && cl > G)
        return 27;
    return 0;
}

// 30, or 20 when the horse's best distance is 800 m or more beyond today's.
int distanceFallback(const RaceSheet& sheet, const RunnerEntry& runner) {
    return static_cast<long long>(runner.aptitudeDistance) - sheet.distance < 8 ? 30 : 20;
}

} // namespace

int intentCode(const RaceSheet& sheet, int horse) {
    const RunnerEntry& runner = sheet.runner(horse);
    const PastRun& prev = runner.pastRuns[kRunBeforeLast];
    const PastRun& last = runner.pastRuns[kLastRun];
    const int G = sheet.grade;

    int code = 0;
    if (runner.oddsBand <= kPerfectConditionOddsBand)
        code = 1;
    else if (runner.oddsBand <= kStrongWorkoutOddsBand)
        code = 2;
    else if (runner.oddsBand <= kFavouriteOddsBand)
        code = 3;
    else if (!last.raced() && runner.aptitudeDistance == sheet.distance)
        code = 7;

    if (code == 0 && prev.raced() && last.raced() && prev.timeDiff < 6 && last.timeDiff < 6)
        code = 4;

    const PastRun* reference = referenceRun(runner);
    if (!reference)
        return 31; // nothing to judge by, whatever the odds said

    if (code == 0)
        code = referenceRunCode(sheet, runner, *reference);
    if (code != 0)
        return code;

    if (!prev.raced() || !last.raced())
        return distanceFallback(sheet, runner);
    if ((prev.raceClass <= G && prev.finish < 3) || (last.raceClass <= G && last.finish < 3))
        return 10;
    if (prev.finish > 10 && last.finish > 10 &&
        static_cast<long long>(prev.timeDiff) + last.timeDiff < 10)
        return 11;
    return distanceFallback(sheet, runner);
}

std::string_view intentMark(int code) {
    if (code < 0 || code >= static_cast<int>(kIntents.size()))
        return {};
    const Intent& intent = kIntents[static_cast<size_t>(code)];
    return intent.mark < 0 ? std::string_view{} : kMarks[intent.mark];
}

std::string_view intentRemark(int code) {
    if (code < 0 || code >= static_cast<int>(kIntents.size()))
        return {};
    return kIntents[static_cast<size_t>(code)].remark;
}

std::string trainerIntent(const RaceSheet& sheet, int horse, IntentPart part) {
    const int code = intentCode(sheet, horse);
    return std::string(part == IntentPart::Mark ? intentMark(code) : intentRemark(code));
}

} // namespace zelkor
