#include "core/crown_name.h"

namespace zelkor {
namespace {

// Owners' name prefixes. None is the beginning of another, so the order of
// the search does not matter.
constexpr std::string_view kCrownNames[] = {
    "アサクサ", "エア",   "エイシン",   "エリモ",   "エーピー", "オースミ", "カガミ", "キョウエイ",
    "ケイアイ", "サクラ", "サンデー",   "シルク",   "シンコウ", "スター",   "タイキ", "ダイワ",
    "タマモ",   "タヤス", "ダンツ",     "テイエム", "トーヨー", "ナリタ",   "ニシノ", "マイネル",
    "マチカネ", "マヤノ", "メイショウ", "メジロ",   "ビコー",   "ロイヤル",
};

} // namespace

std::string stripCrownName(std::string_view name) {
    // A byte prefix at the start of the name is also a character prefix: the
    // crown names are whole two-byte characters, so the name's characters from
    // its first byte line up with theirs.
    for (std::string_view crown : kCrownNames) {
        if (name != crown && name.starts_with(crown))
            return std::string(name.substr(crown.size()));
    }
    return std::string(name);
}

} // namespace zelkor
