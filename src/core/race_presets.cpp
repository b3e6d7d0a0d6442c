#include "core/race_presets.h"

#include "core/fixed_lists.h"

#include <string_view>

namespace zelkor {

namespace {

struct RacePreset {
    std::string_view racecourse;
    int ageLimit;   // 0 ４歳上, 1 ３歳上, 2 ３歳, 3 ２歳
    int sexLimit;   // 0 なし, 2 牝, 3 牡・せん, 4 牡・牝
    int weightRule; // 1 定量, 3 馬齢
    int surface;    // 0 芝, 1 ダート
    int metres;
};

// One entry per race-name suggestion, in the same order. Every one is a ＧⅠ.
constexpr RacePreset kRacePresets[] = {
    {"東京", 0, 0, 1, 1, 1600}, // フェブラリーステークス ダート
    {"阪神", 2, 2, 1, 0, 1600}, // 桜花賞 芝
    {"中山", 2, 4, 1, 0, 2000}, // 皐月賞 芝
    {"京都", 0, 4, 1, 0, 3200}, // 天皇賞（春） 芝
    {"東京", 2, 4, 1, 0, 1600}, // ＮＨＫマイルカップ 芝
    {"中京", 1, 0, 1, 0, 1200}, // 高松宮記念 芝
    {"東京", 2, 2, 1, 0, 2400}, // 優駿牝馬（オークス） 芝
    {"東京", 2, 4, 1, 0, 2400}, // 東京優駿（日本ダービー） 芝
    {"東京", 1, 0, 1, 0, 1600}, // 安田記念 芝
    {"阪神", 1, 0, 1, 0, 2200}, // 宝塚記念 芝
    {"京都", 2, 2, 1, 0, 2000}, // 秋華賞 芝
    {"東京", 1, 4, 1, 0, 2000}, // 天皇賞（秋） 芝
    {"京都", 2, 4, 1, 0, 3000}, // 菊花賞 芝
    {"京都", 1, 2, 1, 0, 2200}, // エリザベス女王杯 芝
    {"京都", 1, 0, 1, 0, 1600}, // マイルチャンピオンシップ 芝
    {"東京", 1, 0, 1, 0, 2400}, // ジャパンカップ 芝
    {"阪神", 3, 2, 3, 0, 1600}, // 阪神３歳牝馬ステークス 芝
    {"中山", 3, 3, 1, 0, 1600}, // 朝日杯３歳ステークス 芝
    {"中山", 1, 0, 3, 0, 1200}, // スプリンターズステークス 芝
    {"中山", 1, 0, 3, 0, 2500}, // 有馬記念 芝
};
static_assert(std::size(kRacePresets) == std::size(kRaceNameSuggestions));

constexpr int kFillyLimit = 2; // 牝

} // namespace

bool applyRacePreset(RaceSheet& sheet, int suggestion) {
    if (suggestion < 0 || static_cast<size_t>(suggestion) >= std::size(kRacePresets))
        return false;
    const RacePreset& p = kRacePresets[suggestion];
    sheet.raceName = std::string(kRaceNameSuggestions[suggestion]);
    sheet.racecourse = std::string(p.racecourse);
    sheet.grade = 0;
    sheet.ageLimit = p.ageLimit;
    sheet.sexLimit = p.sexLimit;
    sheet.weightRule = p.weightRule;
    sheet.surface = p.surface;
    sheet.distance = distanceIndexOf(p.metres);
    return true;
}

void applySexLimitRule(RaceSheet& sheet) {
    const Sex sex = sheet.sexLimit == kFillyLimit ? Sex::Filly : Sex::Colt;
    for (RunnerEntry& r : sheet.runners())
        r.sex = sex;
}

bool applyAgeLimitRule(RaceSheet& sheet) {
    int age;
    switch (sheet.ageLimit) {
    case 0: // ４歳上
    case 1: // ３歳上
        age = 2;
        break;
    case 2: // ３歳
        age = 1;
        break;
    case 3: // ２歳
        age = 0;
        break;
    default:
        return false;
    }
    for (RunnerEntry& r : sheet.runners())
        r.age = age;
    return true;
}

} // namespace zelkor
