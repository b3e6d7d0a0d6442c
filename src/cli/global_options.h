#pragma once

namespace zelkor::cli {

// The options of zelkor2k-cli itself, as --help and the manual page show
// them (CP932).
inline constexpr const char* kGlobalOptionsHelp =
    "全体のオプション (--program-folder はコマンドの後にも書けます):\n"
    "  --program-folder DIR  フォルダ DIR で作業します: 設定、作業フォルダ、画像を\n"
    "                        そこで探します。既定: このプログラムのフォルダが Image\n"
    "                        を持ち書き込めればそこ、ほかは $XDG_DATA_HOME/zelkor2k\n"
    "                        (~/.local/share/zelkor2k)\n"
    "  --version             版を表示して終わります\n"
    "  -h, --help            この説明を表示して終わります\n";

} // namespace zelkor::cli
