#pragma once

#include <array>
#include <span>
#include <string_view>
#include <type_traits>

namespace zelkor {

// The fixed lists of choices behind every stored race-sheet index: the
// position of an entry is the value stored, its text is what the form shows
// and the pages print.
using TextList = std::span<const std::string_view>;

inline constexpr std::string_view kClassList[] = {"ＧⅠ",      "ＧⅡ",     "ＧⅢ",     "オープン",
                                                  "1600万下", "900万下", "500万下", "未勝利",
                                                  "未出走",   "新馬戦"};
// Classes count down from ＧⅠ (0) to 新馬戦 (9).
inline constexpr int kClassCount = 10;
static_assert(std::size(kClassList) == kClassCount);

inline constexpr std::string_view kAgeLimitList[] = {"４歳上", "３歳上", "３歳", "２歳", "？"};

inline constexpr std::string_view kSexLimitList[] = {"なし",     "牡",     "牝",
                                                     "牡・せん", "牡・牝", "？"};

inline constexpr std::string_view kWeightRuleList[] = {"別定", "定量", "ハンデ", "馬齢", "？"};

inline constexpr std::string_view kSurfaceList[] = {"芝", "ダート"};

inline constexpr std::string_view kDistanceList[] = {
    "１０００", "１１００", "１２００", "１３００", "１４００", "１５００", "１６００",
    "１７００", "１８００", "１９００", "２０００", "２１００", "２２００", "２３００",
    "２４００", "２５００", "２６００", "２７００", "２８００", "２９００", "３０００",
    "３１００", "３２００", "３３００", "３４００", "３５００", "３６００"};
// 3600 m, the last distance; no two distances lie further apart than the
// first and this one.
inline constexpr int kLongestDistance = 26;
static_assert(std::size(kDistanceList) == kLongestDistance + 1);

inline constexpr std::string_view kRaceNumberList[] = {
    "１",   "２",   "３",   "４",   "５",   "６",   "７",   "８",   "９",   "１０",
    "１１", "１２", "１３", "１４", "１５", "１６", "１７", "１８", "１９", "２０"};

inline constexpr std::string_view kFieldSizeList[] = {"４",   "５",   "６",   "７",   "８",
                                                      "９",   "１０", "１１", "１２", "１３",
                                                      "１４", "１５", "１６", "１７", "１８"};

inline constexpr std::string_view kRunnerAgeList[] = {"２", "３", "４", "５", "６",    "７", "８",
                                                      "９", "10", "11", "12", "13",    "14", "15",
                                                      "16", "17", "18", "19", "20以上"};

inline constexpr std::string_view kWeightList[] = {
    "46.0", "46.5", "47.0", "47.5", "48.0", "48.5", "49.0",    "49.5", "50.0", "50.5",
    "51.0", "51.5", "52.0", "52.5", "53.0", "53.5", "54.0",    "54.5", "55.0", "55.5",
    "56.0", "56.5", "57.0", "57.5", "58.0", "58.5", "59.0",    "59.5", "60.0", "60.5",
    "61.0", "61.5", "62.0", "62.5", "63.0", "63.5", "64.0以上"};

inline constexpr std::string_view kOddsBandList[] = {
    "1.0～1.5",   "1.6～2.0",   "2.1～3.0",   "3.1～4.0",   "4.1～5.0",
    "5.1～6.0",   "6.1～7.0",   "7.1～8.0",   "8.1～9.0",   "9.1～10.0",
    "10.1～15.0", "15.1～20.0", "20.1～30.0", "30.1～50.0", "50.1以上"};

inline constexpr std::string_view kSexList[] = {"牡", "牝", "せん"};

inline constexpr std::string_view kRunningStyleList[] = {"逃げ", "先行", "差し", "追込", "自在"};

inline constexpr std::string_view kPastRunKindList[] = {"レース", "放牧", "未出走", "ｱｸｼﾃﾞﾝﾄ"};

inline constexpr std::string_view kPastFinishList[] = {"1",  "2",  "3",  "4",  "5",  "6",
                                                       "7",  "8",  "9",  "10", "11", "12",
                                                       "13", "14", "15", "16", "17", "18"};

inline constexpr std::string_view kPastPopularityList[] = {"1",  "2",  "3",  "4",  "5",  "6",
                                                           "7",  "8",  "9",  "10", "11", "12",
                                                           "13", "14", "15", "16", "17", "18"};

inline constexpr std::string_view kPastFieldSizeList[] = {
    "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "17", "18"};

inline constexpr std::string_view kTimeDiffList[] = {
    "0.0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0",
    "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "2.0", "大"};
// Time behind the winner is told in tenths up to 2.0 s; anything more is "大".
inline constexpr int kLongestTimeDiff = 20;
inline constexpr int kTimeDiffBig = kLongestTimeDiff + 1;
static_assert(std::size(kTimeDiffList) == kTimeDiffBig + 1);

inline constexpr std::string_view kBaseWeightList[] = {
    "45", "46", "47", "48", "49", "50", "51", "52", "53", "54", "55", "56", "57",
    "58", "59", "60", "61", "62", "63", "64", "65", "66", "67", "68", "69", "70"};

inline constexpr std::string_view kRaceNameSuggestions[] = {"フェブラリーステークス",
                                                            "桜花賞",
                                                            "皐月賞",
                                                            "天皇賞（春）",
                                                            "ＮＨＫマイルカップ",
                                                            "高松宮記念",
                                                            "優駿牝馬（オークス）",
                                                            "東京優駿（日本ダービー）",
                                                            "安田記念",
                                                            "宝塚記念",
                                                            "秋華賞",
                                                            "天皇賞（秋）",
                                                            "菊花賞",
                                                            "エリザベス女王杯",
                                                            "マイルチャンピオンシップ",
                                                            "ジャパンカップ",
                                                            "阪神３歳牝馬ステークス",
                                                            "朝日杯３歳ステークス",
                                                            "スプリンターズステークス",
                                                            "有馬記念"};

inline constexpr std::string_view kRacecourseList[] = {"札幌",
                                                       "函館",
                                                       "福島",
                                                       "新潟",
                                                       "東京",
                                                       "中山",
                                                       "中京",
                                                       "京都",
                                                       "阪神",
                                                       "小倉",
                                                       "門別",
                                                       "北見",
                                                       "岩見沢",
                                                       "帯広",
                                                       "旭川",
                                                       "盛岡",
                                                       "水沢",
                                                       "上山",
                                                       "三条",
                                                       "足利",
                                                       "宇都宮",
                                                       "高崎",
                                                       "浦和",
                                                       "船橋",
                                                       "大井",
                                                       "川崎",
                                                       "金沢",
                                                       "笠松",
                                                       "名古屋",
                                                       "紀三井寺",
                                                       "園田",
                                                       "姫路",
                                                       "益田",
                                                       "福山",
                                                       "高知",
                                                       "佐賀",
                                                       "荒尾",
                                                       "中津",
                                                       "札幌（地方競馬）",
                                                       "函館（地方競馬）",
                                                       "新潟（地方競馬）",
                                                       "中京（地方競馬）",
                                                       "その他の外国",
                                                       "日本",
                                                       "アメリカ",
                                                       "イギリス",
                                                       "フランス",
                                                       "インド",
                                                       "アイルランド",
                                                       "ニュージーランド",
                                                       "オーストラリア",
                                                       "カナダ",
                                                       "イタリア",
                                                       "ドイツ",
                                                       "オマーン",
                                                       "イラク",
                                                       "アラブ首長国連邦",
                                                       "シリア",
                                                       "スウェーデン",
                                                       "ハンガリー",
                                                       "ポルトガル",
                                                       "ロシア",
                                                       "ウルグアイ",
                                                       "ペルー",
                                                       "アルゼンチン",
                                                       "ブラジル",
                                                       "ベルギー",
                                                       "トルコ",
                                                       "韓国",
                                                       "中国",
                                                       "チリ",
                                                       "パナマ",
                                                       "香港",
                                                       "スペイン",
                                                       "西ドイツ",
                                                       "南アフリカ",
                                                       "不明"};

// Bracket colour names, indexed by bracket 1..8 (entry 0 unused).
inline constexpr std::string_view kBracketColourNames[] = {"",   "白", "黒", "赤", "青",
                                                           "黄", "緑", "橙", "桃"};

// The entry at `index`, or the empty text for a value outside the list
// (old files and imports may hold such values).
constexpr std::string_view listText(TextList list, int index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return {};
    return list[static_cast<size_t>(index)];
}

// The entry of a named choice (Sex, RunningStyle, PastRunKind).
template <class E>
requires std::is_enum_v<E>
constexpr std::string_view listText(TextList list, E value) {
    return listText(list, static_cast<int>(value));
}

// `index` moved into the list's range.
constexpr int clampToList(TextList list, int index) {
    if (index < 0)
        return 0;
    if (static_cast<size_t>(index) >= list.size())
        return static_cast<int>(list.size()) - 1;
    return index;
}

// The one converter of each list whose entries stand for a quantity, from
// the list index to what it shows and back: distances (race, best distance,
// past run) in metres, weights carried in tenths of a kilogram, field sizes
// in runners. Unclamped both ways (callers clamp with clampToList); the
// forward direction saturates, since a loaded file may hold any index.
constexpr int saturatedInt(long long value) {
    return value > 2147483647LL    ? 2147483647
           : value < -2147483648LL ? -2147483647 - 1
                                   : static_cast<int>(value);
}
constexpr int distanceMetres(int index) {
    return saturatedInt(1000 + 100LL * index);
}
constexpr int distanceIndexOf(int metres) {
    return metres / 100 - 10;
}
constexpr int weightTenthsOfKg(int index) {
    return saturatedInt(460 + 5LL * index);
}
constexpr int weightIndexOf(int tenthsOfKg) {
    return saturatedInt((tenthsOfKg - 460LL) / 5);
}
constexpr int fieldSizeRunners(int index) {
    return saturatedInt(index + 4LL);
}
constexpr int fieldSizeIndexOf(int runners) {
    return saturatedInt(runners - 4LL);
}

} // namespace zelkor
