// Opens written pages in a real browser and checks what it decoded.
#include "headless_chromium.h"
#include "html/race_sheet_page.h"
#include "html/sports_page.h"
#include "html_test_sheets.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"
#include "text/cp932.h"
#include "text/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace zelkor::test;
namespace fs = std::filesystem;

// The DOM as the browser built it (UTF-8).
std::string dumpDom(const fs::path& page, const fs::path& profile) {
    return chromiumDom("file://" + page.string(), profile);
}

TEST(Browser, PagesDecodeAsJapaneseText) {
    ZELKOR_NEED_OUTSIDE_TOOL(test::chromiumInstalled(), "chromium");
    const TempFolder temp("zelkor-browser");
    const fs::path folder = temp.path();
    fs::create_directories(folder / "profile");

    RaceSheet sheet = fourRunnerSheet();
    sheet.runner(4).name = "<script>document.title='x'</script>";
    for (int position = 1; int horse : {2, 1, 3, 4})
        sheet.result.setHorseAt(position++, horse);
    sheet.result.darkHorseCount = 1;
    const std::string sheetPage = (folder / "sheet.html").string();
    const std::string sportsPage = (folder / "sports.html").string();
    ASSERT_TRUE(
        writeWholeFile(sheetPage, buildRaceSheetPage(sheet, pageSettings(0, 1), temp.path())));
    std::tm t{};
    t.tm_year = 101;
    t.tm_mon = 5;
    t.tm_mday = 16;
    t.tm_wday = 6;
    test::RecordingPrompt prompt;
    ASSERT_TRUE(writeSportsPage(sportsPage, sheet, pageSettings(0, 1), temp.path(), t, prompt));

    const std::string sheetDom = dumpDom(sheetPage, folder / "profile");
    ASSERT_FALSE(sheetDom.empty()) << "chromium printed nothing";
    // The browser's text is UTF-8; compare with the UTF-8 of our literals.
    for (const char* text : {"ジャパンカップ", "ステイヤー", "サクラハナコ", "枠馬番", "放牧",
                             "ｱｸｼﾃﾞﾝﾄ", "３歳上", "２４００m"})
        EXPECT_NE(sheetDom.find(cp932ToUtf8(text)), std::string::npos) << cp932ToUtf8(text);
    // The name is text, not a script: its markup shows escaped in the DOM.
    EXPECT_NE(sheetDom.find("&lt;script&gt;document.title='x'&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(sheetDom.find("<title>" + cp932ToUtf8("ジャパンカップ") + "</title>"),
              std::string::npos);

    const std::string sportsDom = dumpDom(sportsPage, folder / "profile");
    for (const char* text : {"ゼルコ馬スポーツ", "2001年 06月16日（土曜日）", "東京競馬確定",
                             "推奨馬券", "調教師の本音", "は調子ではなく、やる気度を示しています"})
        EXPECT_NE(sportsDom.find(cp932ToUtf8(text)), std::string::npos) << cp932ToUtf8(text);
}

} // namespace
} // namespace zelkor
