#include "html/returns_text.h"

#include "race/code_tables.h"
#include "text/format.h"

#include <cmath>

namespace zelkor {
namespace {

// A figure that moves more than this when one race is left out rests on
// that race.
constexpr double kSingleRaceShare = 0.10;
// Fewer races than this say nothing of profit or loss, whatever the interval.
constexpr int kFewRaces = 30;

std::string intervalText(const RateInterval& i) {
    return format("%.1f%%～%.1f%%", i.low * 100, i.high * 100);
}

// Whether two intervals share no point.
bool apart(const std::optional<RateInterval>& a, const std::optional<RateInterval>& b) {
    return a && b && (a->high < b->low || b->high < a->low);
}

const ReturnGroup* groupOf(std::span<const ReturnLineInfo> lines,
                           const std::vector<ReturnGroup>& groups, std::string_view key) {
    for (size_t i = 0; i < lines.size() && i < groups.size(); ++i)
        if (lines[i].key == key)
            return &groups[i];
    return nullptr;
}

} // namespace

std::string yenText(double yen) {
    const long long whole = std::llround(yen);
    std::string digits = std::to_string(whole < 0 ? -whole : whole);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    std::string text = whole < 0 ? "-" : "";
    text += digits;
    text += "円";
    return text;
}

std::string monthText(const std::string& key) {
    if (key.size() != 6 || key.find_first_not_of("0123456789") != std::string::npos)
        return key;
    return format("%s年%d月", key.substr(0, 4).c_str(), std::stoi(key.substr(4)));
}

std::string raceText(const PastRaceId& id) {
    return format("%d年%d月%d日 %s%dR", id.year, id.monthDay / 100, id.monthDay % 100,
                  decodeRacecourse(id.courseCode).c_str(), id.raceNumber);
}

std::string resultReading(const ReturnFigures& f) {
    if (f.program.empty() || !f.program[0].rate)
        return "この期間には、ゼルコ馬の買い目を買えたレースがありませんでした。";
    const ReturnGroup& total = f.program[0];
    std::string text = format("ゼルコ馬の買い目は%dレースで%sを買い、払戻は%sでした。回収率 "
                              "(払戻額÷購入額) は%.1f%%です。",
                              total.races, yenText(total.stake).c_str(), yenText(total.ret).c_str(),
                              *total.rate * 100);
    if (total.races < kFewRaces) {
        text += format("レースが%dと少ないので、この数字から儲かるか損するかは言えません。",
                       total.races);
    } else if (total.interval) {
        const RateInterval& i = *total.interval;
        text += format("95%%区間 (同じ数のレースをもう一度買ったとき、回収率がおよそ入る範囲) は%s"
                       "で、",
                       intervalText(i).c_str());
        text += i.high < 1 ? "すべて100%より下です。この期間の買い目は損をしたと言えます。"
                : i.low > 1 ? "すべて100%より上です。この期間の買い目は儲かったと言えます。"
                            : "100%をはさみます。このレース数では、儲かるか損するかは言えません。";
    }
    // The dark horses' place tickets against as many random place tickets.
    const ReturnGroup* place = groupOf(programLines(), f.program, "place");
    const ReturnGroup* random = groupOf(baselineLines(), f.baselines, "randomPlace");
    if (place != nullptr && random != nullptr && place->rate && random->rate) {
        const double diff = (*place->rate - *random->rate) * 100;
        text += format("穴馬の複勝の回収率は%.1f%%で、でたらめに選んだ同じ枚数の複勝 (%.1f%%) より"
                       "%.1fポイント%s結果でした。",
                       *place->rate * 100, *random->rate * 100, std::abs(diff),
                       diff >= 0 ? "高い" : "低い");
        text += apart(place->interval, random->interval)
                    ? "二つの95%区間は重ならず、偶然だけの差とは考えにくい大きさです。"
                    : "二つの95%区間が重なるので、偶然でも出る差です。";
    }
    return text;
}

std::vector<std::string> singleRaceNotes(std::span<const ReturnRace> races,
                                         const ReturnFigures& f) {
    std::vector<std::pair<const ReturnLineInfo*, const ReturnGroup*>> figures;
    for (size_t i = 0; i < programLines().size() && i < f.program.size(); ++i)
        figures.emplace_back(&programLines()[i], &f.program[i]);
    for (size_t i = 0; i < baselineLines().size() && i < f.baselines.size(); ++i)
        figures.emplace_back(&baselineLines()[i], &f.baselines[i]);
    std::vector<std::string> notes;
    for (const auto& [line, group] : figures) {
        if (!group->rate)
            continue;
        const ReturnRace* most = nullptr;
        double moved = 0, without = 0;
        for (const ReturnRace& race : races) {
            const RaceTake t = line->take(race);
            const double stake = group->stake - t.stake;
            if (t.tickets == 0 || stake <= 0)
                continue;
            const double rate = (group->ret - t.ret) / stake;
            if (std::abs(*group->rate - rate) > moved) {
                moved = std::abs(*group->rate - rate);
                without = rate;
                most = &race;
            }
        }
        if (most != nullptr && moved > kSingleRaceShare)
            notes.push_back(format("%s: %s のひとレースだけで回収率が%.1fポイント動いています "
                                   "(このレースを除くと%.1f%%)。",
                                   line->label, raceText(most->id).c_str(), moved * 100,
                                   without * 100));
    }
    return notes;
}

} // namespace zelkor
