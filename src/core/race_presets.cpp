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
    int distance;   // index: 1000 m + 100 m × index
};

// One entry per race-name suggestion, in the same order. Every one is a ＧⅠ.
constexpr RacePreset kRacePresets[] = {
    {"東京", 0, 0, 1, 1, 6},  // フェブラリーステークス  ダート 1600
    {"阪神", 2, 2, 1, 0, 6},  // 桜花賞                  芝 1600
    {"中山", 2, 4, 1, 0, 10}, // 皐月賞                  芝 2000
    {"京都", 0, 4, 1, 0, 22}, // 天皇賞（春）            芝 3200
    {"東京", 2, 4, 1, 0, 6},  // ＮＨＫマイルカップ      芝 1600
    {"中京", 1, 0, 1, 0, 2},  // 高松宮記念              芝 1200
    {"東京", 2, 2, 1, 0, 14}, // 優駿牝馬（オークス）    芝 2400
    {"東京", 2, 4, 1, 0, 14}, // 東京優駿（日本ダービー）芝 2400
    {"東京", 1, 0, 1, 0, 6},  // 安田記念                芝 1600
    {"阪神", 1, 0, 1, 0, 12}, // 宝塚記念                芝 2200
    {"京都", 2, 2, 1, 0, 10}, // 秋華賞                  芝 2000
    {"東京", 1, 4, 1, 0, 10}, // 天皇賞（秋）            芝 2000
    {"京都", 2, 4, 1, 0, 20}, // 菊花賞                  芝 3000
    {"京都", 1, 2, 1, 0, 12}, // エリザベス女王杯        芝 2200
    {"京都", 1, 0, 1, 0, 6},  // マイルチャンピオンシップ 芝 1600
    {"東京", 1, 0, 1, 0, 14}, // ジャパンカップ          芝 2400
    {"阪神", 3, 2, 3, 0, 6},  // 阪神３歳牝馬ステークス  芝 1600
    {"中山", 3, 3, 1, 0, 6},  // 朝日杯３歳ステークス    芝 1600
    {"中山", 1, 0, 3, 0, 2},  // スプリンターズステークス 芝 1200
    {"中山", 1, 0, 3, 0, 15}, // 有馬記念                芝 2500
};
static_assert(std::size(kRacePresets) == std::size(kRaceNameSuggestions));

constexpr int kFillyLimit = 2; // 牝
constexpr int kFilly = 1;
constexpr int kColt = 0;

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
    sheet.distance = p.distance;
    return true;
}

void applySexLimitRule(RaceSheet& sheet) {
    const int sex = sheet.sexLimit == kFillyLimit ? kFilly : kColt;
    for (RunnerEntry& r : sheet.runners)
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
    for (RunnerEntry& r : sheet.runners)
        r.age = age;
    return true;
}

} // namespace zelkor
