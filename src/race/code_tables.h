#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zelkor {

// JRA-VAN files carry codes, not words. Index tables are looked up by a
// numeric code (slot 0 is the empty text unless a table says otherwise);
// keyed tables compare the whole code text with each key in order.
using CodeTable = std::span<const std::string_view>;

struct KeyedCode {
    std::string_view key;
    std::string_view text;
};
using KeyedCodeTable = std::span<const KeyedCode>;

// The slot text of `code`, or the empty text for a code outside the table.
constexpr std::string_view codeText(CodeTable table, int code) {
    if (code < 0 || static_cast<size_t>(code) >= table.size())
        return {};
    return table[static_cast<size_t>(code)];
}

// ---- Index tables --------------------------------------------------------

inline constexpr std::string_view kWeekdayTable[] = {"",   "土", "日", "祝", "月",
                                                     "火", "水", "木", "金"};

// Index = kind code - 10.
inline constexpr std::string_view kRaceKindTable[] = {"",
                                                      "サラ系２歳　　",
                                                      "サラ系３歳　　",
                                                      "サラ系３歳以上",
                                                      "サラ系４歳以上",
                                                      "",
                                                      "",
                                                      "",
                                                      "サラ系障害３歳以上",
                                                      "サラ系障害４歳以上",
                                                      "",
                                                      "アラ系２歳　　",
                                                      "アラ系３歳　　",
                                                      "アラ系３歳以上",
                                                      "アラ系４歳以上"};

inline constexpr std::string_view kWeightRuleTable[] = {"", "ハンデ", "別定", "馬齢", "定量"};

inline constexpr std::string_view kSaleTable[] = {"全国発売なし", "全国発売・前日売り",
                                                  "全国発売・当日売り"};

// The first character of a race symbol code is one of these keys; its
// position is the index into kSymbolTable.
inline constexpr std::string_view kSymbolKeys = "0ABCDEFGHIJKLMN";

inline constexpr std::string_view kSymbolTable[] = {"",
                                                    "○混",
                                                    "○父",
                                                    "○位置",
                                                    "○抽",
                                                    "□抽",
                                                    "○抽○市",
                                                    "○抽 関西配布馬",
                                                    "○抽 関東配布馬",
                                                    "□抽 関西配布馬",
                                                    "□抽 関東配布馬",
                                                    "○抽○市 関西配布馬",
                                                    "○抽○市 関東配布馬",
                                                    "九州産馬",
                                                    "○国際"};

inline constexpr std::string_view kSexRestrictionTable[] = {"", "牡", "牝", "牡・せん", "牡・牝"};

inline constexpr std::string_view kDesignationTable[] = {"", "○指", "見習騎手", "□指", "○特指"};

// Indexed as decodeTrack describes, not by the track code itself.
inline constexpr std::string_view kTrackTable[] = {"",
                                                   "芝　直線",
                                                   "芝　左回り",
                                                   "芝　左回り｜外回り",
                                                   "芝　左回り｜内→外回り",
                                                   "芝　左回り｜外→内回り",
                                                   "芝　左回り｜内２周",
                                                   "芝　左回り｜外２周",
                                                   "芝　右回り",
                                                   "芝　右回り｜外回り",
                                                   "芝　右回り｜内→外回り",
                                                   "芝　右回り｜外→内回り",
                                                   "芝　右回り｜内２周",
                                                   "芝　右回り｜外２周",
                                                   "ダート　左回り",
                                                   "ダート　右回り",
                                                   "ダート　直線",
                                                   "（障害）芝　襷",
                                                   "（障害）芝　→　ダート",
                                                   "（障害）芝　左",
                                                   "（障害）芝",
                                                   "（障害）芝　外回り",
                                                   "（障害）芝　外→内回り",
                                                   "（障害）芝　内→外回り",
                                                   "（障害）芝　内２周",
                                                   "（障害）芝　外２周"};

inline constexpr std::string_view kTrackConditionTable[] = {"不明", "良", "稍重", "重", "不良"};

inline constexpr std::string_view kWeatherTable[] = {"不明", "晴", "曇",  "雨",
                                                     "小雨", "雪", "小雪"};

inline constexpr std::string_view kHorseMarkTable[] = {
    "",       "○抽",    "□抽",    "○父",    "○市",    "○地",      "○外",
    "○父○抽", "○父○市", "○父○地", "○市○地", "○外○地", "○父○市○地"};

inline constexpr std::string_view kBreedTable[] = {"",     "サラ", "サラ系", "準サラ",
                                                   "軽半", "アア", "アラ系", "アラブ"};

inline constexpr std::string_view kHorseSexTable[] = {"", "牡馬", "牝馬", "せん馬"};

inline constexpr std::string_view kCoatColourTable[] = {"",       "栗毛",   "栃栗毛", "鹿毛",
                                                        "黒鹿毛", "青鹿毛", "青毛",   "芦毛",
                                                        "栗粕毛", "鹿粕毛", "青粕毛", "白毛"};

// Picture names (without ".gif") of the coat colours for the newspaper.
inline constexpr std::string_view kCoatImageTable[] = {"",         "kuri",   "totikuri", "sika",
                                                       "kurosika", "aosika", "ao",       "asi",
                                                       "kuri",     "sika",   "aosika",   "siro"};

// 4 ★ and 9 ◇ come with JV-Data only.
inline constexpr std::string_view kApprenticeMarkTable[] = {"", "☆", "△", "▲", "★",
                                                            "", "",  "",  "",  "◇"};

// ---- Class names by date --------------------------------------------------

// JRA has called three earnings classes by wins since 2019-06-01: a race
// from that day on is named "…1勝クラス" where an older one was
// "…500万円以下", and a past run in it is labelled "1勝". Only the names
// change: the scoring ranks the codes as before.
inline constexpr int kClassesByWinsFrom = 20190601;

struct ClassByWins {
    int conditionCode;
    std::string_view name;  // in race names and condition texts
    std::string_view label; // on past runs
};
inline constexpr ClassByWins kClassesByWins[] = {
    {5, "1勝クラス", "1勝"}, {10, "2勝クラス", "2勝"}, {16, "3勝クラス", "3勝"}};

// The class by wins of condition `code` in a race on `yyyymmdd`; null for an
// older race or another code.
const ClassByWins* classByWins(int code, int yyyymmdd);

// ---- Keyed tables --------------------------------------------------------

inline constexpr KeyedCode kGradeTable[] = {
    {"A", "ＧⅠ"},     {"B", "ＧⅡ"},     {"C", "ＧⅢ"},     {"D", "重賞"},       {"E", "特別"},
    {"F", "Ｊ・ＧⅠ"}, {"G", "Ｊ・ＧⅡ"}, {"H", "Ｊ・ＧⅢ"}, {"L", "リステッド"}, // JV-Data only; an
                                                                               // open race
};
inline constexpr std::string_view kGradeDefault = "一般競走";

inline constexpr KeyedCode kRacecourseTable[] = {
    {"00", "不明"},
    {"01", "札幌"},
    {"02", "函館"},
    {"03", "福島"},
    {"04", "新潟"},
    {"05", "東京"},
    {"06", "中山"},
    {"07", "中京"},
    {"08", "京都"},
    {"09", "阪神"},
    {"10", "小倉"},
    {"30", "門別"},
    {"31", "北見"},
    {"32", "岩見沢"},
    {"33", "帯広"},
    {"34", "旭川"},
    {"35", "盛岡"},
    {"36", "水沢"},
    {"37", "上山"},
    {"38", "三条"},
    {"39", "足利"},
    {"40", "宇都宮"},
    {"41", "高崎"},
    {"42", "浦和"},
    {"43", "船橋"},
    {"44", "大井"},
    {"45", "川崎"},
    {"46", "金沢"},
    {"47", "笠松"},
    {"48", "名古屋"},
    {"49", "紀三井寺"},
    {"50", "園田"},
    {"51", "姫路"},
    {"52", "益田"},
    {"53", "福山"},
    {"54", "高知"},
    {"55", "佐賀"},
    {"56", "荒尾"},
    {"57", "中津"},
    {"58", "札幌（地方競馬）"},
    {"59", "函館（地方競馬）"},
    {"60", "新潟（地方競馬）"},
    {"61", "中京（地方競馬）"},
    {"A0", "その他の外国"},
    {"A2", "日本"},
    {"A4", "アメリカ"},
    {"A6", "イギリス"},
    {"A8", "フランス"},
    {"B0", "インド"},
    {"B2", "アイルランド"},
    {"B4", "ニュージーランド"},
    {"B6", "オーストラリア"},
    {"B8", "カナダ"},
    {"C0", "イタリア"},
    {"C2", "ドイツ"},
    {"C4", "(未使用)"},
    {"C5", "オマーン"},
    {"C6", "イラク"},
    {"C7", "アラブ首長国連邦"},
    {"C8", "シリア"},
    {"D0", "スウェーデン"},
    {"D2", "ハンガリー"},
    {"D4", "ポルトガル"},
    {"D6", "ロシア"},
    {"D8", "ウルグアイ"},
    {"E0", "ペルー"},
    {"E2", "アルゼンチン"},
    {"E4", "ブラジル"},
    {"E6", "ベルギー"},
    {"E8", "トルコ"},
    {"F0", "韓国"},
    {"F1", "中国"},
    {"F2", "チリ"},
    {"F4", "(未使用)"},
    {"F6", "(未使用)"},
    {"F8", "パナマ"},
    {"G0", "香港"},
    {"G2", "スペイン"},
    {"G4", "(未使用)"},
    {"G6", "(未使用)"},
    {"G8", "(未使用)"},
    {"H0", "西ドイツ"},
    {"H2", "南アフリカ"},
};

// Margin behind the horse in front.
inline constexpr KeyedCode kMarginTable[] = {
    {"_12", "1/2 馬身"},  {"_34", "3/4 馬身"},   {"1__", "１ 馬身"},  {"112", "1.5 馬身"},
    {"114", "1.25 馬身"}, {"134", "1.75 馬身"},  {"2__", "２ 馬身"},  {"212", "2.5 馬身"},
    {"3__", "３ 馬身"},   {"312", "3.5 馬身"},   {"4__", " ４ 馬身"}, {"5__", " ５ 馬身"},
    {"6__", " ６ 馬身"},  {"7__", " ７ 馬身"},   {"8__", " ８ 馬身"}, {"9__", " ９ 馬身"},
    {"A__", " ｱﾀﾏ"},      {"D__", " 同着"},      {"H__", " ハナ"},    {"K__", " クビ"},
    {"T__", " 大差"},     {"Z__", " １０ 馬身"},
};
inline constexpr std::string_view kMarginDefault = " 不明";

// The text of the first key equal to the whole `code`, else `fallback`.
std::string_view keyedText(KeyedCodeTable table, std::string_view code,
                           std::string_view fallback = {});

// ---- Decoders ------------------------------------------------------------

// Two-character racecourse code to its name; empty when unknown.
std::string decodeRacecourse(std::string_view code);
// One-character grade code; "一般競走" when no key matches (an empty code too).
std::string decodeGrade(std::string_view code);
// Three-digit race condition code of a race on `yyyymmdd` ("500万円以下",
// "1勝クラス", "未勝利", "オープン", ...). 0 gives "0万円以下"; callers skip
// zero codes.
std::string decodeCondition(int code, int yyyymmdd);
// The row name of an earnings class (condition 001-100) in a class table,
// as the race is named on `yyyymmdd`: "2勝クラス", "1000万下".
std::string earningsClassName(int code, int yyyymmdd);
std::string decodeTrack(int code);
// 1 "牡", 2 "牝", 3 "せ", anything else empty.
std::string decodeRunnerSex(int code);
// Three-character margin code; " 不明" when no key matches.
std::string decodeMargin(std::string_view code);
// Race kind code 11..24 to its text; other codes give the empty text.
std::string decodeRaceKind(int kindCode);
// Three-character race symbol code to its combined text ("A10" → "○混牡").
std::string decodeSymbol(std::string_view symbolCode);

} // namespace zelkor
