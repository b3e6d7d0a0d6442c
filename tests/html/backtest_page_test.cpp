// The backtest report page: whole page for a representative backtest, and
// the page as a browser builds it.

#include "headless_chromium.h"
#include "html/backtest_page.h"
#include "support/backtest_races.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"
#include "text/cp932.h"
#include "text/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// The two hand-made races; three races dropped.
Backtest twoRaceBacktest() {
    Backtest backtest;
    backtest.horseFilePath = "/data/<馬>&/JracUmaj.dat";
    backtest.horses = 12;
    backtest.dropped.droppedFewRunners = 2;
    backtest.dropped.droppedInconsistent = 1;
    backtest.races = test::twoBacktestRaces();
    return backtest;
}

TEST(BacktestPage, TheWholePageOfATwoRaceBacktest) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    const std::optional<std::string> expected =
        readWholeFile(std::string(root) + "/tests/html/fixtures/backtest_page.html");
    ASSERT_TRUE(expected);
    EXPECT_EQ(backtestPage(twoRaceBacktest(), {}), *expected);
}

TEST(BacktestPage, WrittenBelowTheHtmlFolderAndOpened) {
    const test::TempFolder temp("zelkor-backtest-page");
    struct RecordingShell : Shell {
        void openDocument(const std::string& path) override { opened.push_back(path); }
        void openUrl(const std::string&) override {}
        std::vector<std::string> opened;
    } shell;
    const std::string path = backtestPagePath(temp.path());
    EXPECT_EQ(path, temp.path() + "HTML/ZelBacktest.html");
    test::RecordingPrompt prompt;
    ASSERT_TRUE(writeBacktestPage(path, twoRaceBacktest(), {}, prompt, shell));
    EXPECT_EQ(readWholeFile(path), backtestPage(twoRaceBacktest(), {}));
    EXPECT_EQ(shell.opened, std::vector<std::string>{path});

    // A folder in the way of the page: nothing written, nothing opened, the
    // user told.
    fs::remove(path);
    fs::create_directories(path);
    EXPECT_FALSE(writeBacktestPage(path, twoRaceBacktest(), {}, prompt, shell));
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(prompt.onlyText(), "ファイル '" + path + "' に書き込めませんでした");
}

TEST(BacktestPage, TheChartsAxisFitsLowRatesAndItsBaselinesDiffer) {
    // 200 races of sixteen in which every pick finishes ninth or worse but
    // the top pick wins one race in ten: every rate is below 20 %.
    Backtest backtest;
    for (int r = 0; r < 200; ++r) {
        BacktestRace race;
        race.fieldSize = 16;
        for (int k = 1; k <= 8; ++k)
            race.runners.push_back(
                test::backtestRunner(k, k, k == 1 && r % 10 == 0 ? 1 : 8 + k, k, 100 + k));
        backtest.races.push_back(race);
    }
    const std::string page = backtestPage(backtest, {});
    EXPECT_NE(page.find(">18%</text>"), std::string::npos);
    EXPECT_EQ(page.find(">40%</text>"), std::string::npos);
    // Each baseline its own colour and dash pattern.
    std::set<std::string> strokes;
    for (size_t at = page.find("class=\"baseline\""); at != std::string::npos;
         at = page.find("class=\"baseline\"", at + 1)) {
        const size_t stroke = page.find("stroke=", at);
        const size_t end = page.find("/>", at);
        strokes.insert(page.substr(stroke, end - stroke));
    }
    EXPECT_EQ(strokes.size(), 3u);
}

size_t countOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(BacktestPage, TheBrowserShowsTheTablesAndTheChart) {
    ZELKOR_NEED_OUTSIDE_TOOL(test::chromiumInstalled(), "chromium");
    const test::TempFolder temp("zelkor-backtest-browser");
    fs::create_directories(temp.file("profile"));
    const std::string path = temp.file("report.html");
    ASSERT_TRUE(writeWholeFile(path, backtestPage(twoRaceBacktest(), {})));
    const std::string dom = test::chromiumDom("file://" + path, temp.file("profile"));
    ASSERT_FALSE(dom.empty()) << "chromium printed nothing";
    EXPECT_NE(dom.find("<title>" + cp932ToUtf8("ゼルコ馬 過去レース検証") + "</title>"),
              std::string::npos);
    for (const char* text :
         {"ゼルコ馬の順位ごとの成績", "穴馬の複勝率", "1番人気の複勝率",
          "偶然 (複勝圏の頭数÷頭数) の複勝率", "回収率は出していません", "2201m以上"})
        EXPECT_NE(dom.find(cp932ToUtf8(text)), std::string::npos) << cp932ToUtf8(text);
    // The path is text: its markup characters come back escaped.
    EXPECT_NE(dom.find(cp932ToUtf8("/data/&lt;馬&gt;&amp;/JracUmaj.dat")), std::string::npos);
    // The chart is live SVG in the page: a bar per ranking position, an
    // interval on each position that has races, three baselines.
    EXPECT_EQ(countOf(dom, "<svg"), 1u);
    EXPECT_EQ(countOf(dom, "class=\"rank\""), 8u);
    EXPECT_EQ(countOf(dom, "class=\"interval\""), 4u);
    EXPECT_EQ(countOf(dom, "class=\"baseline\""), 3u);
}

} // namespace
} // namespace zelkor
