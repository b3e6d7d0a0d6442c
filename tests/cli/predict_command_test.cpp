// Runs the built zelkor2k-cli as a user would and checks what it prints.

#include "cli_run.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

using cli_test::Outcome;
using cli_test::u8;

class PredictCommand : public cli_test::ProgramFolderTest {
  protected:
    // Without a program folder named: the command's own choice.
    Outcome run(const std::vector<std::string>& args) {
        return cli_test::runCli(cli_, args, temp_);
    }

    std::string sample() const { return (source_ / "resources/sample/sample.zel").string(); }
    std::string eighteen() const { return (source_ / "tests/cli/fixtures/eighteen.zel").string(); }
};

TEST_F(PredictCommand, SampleRaceTable) {
    Outcome r = run({"predict", sample()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(
        r.out,
        u8(u8"霜月ステークス  東京  11R  12頭\n"
           u8"穴順  枠番     馬名            穴度  単オッズ\n"
           u8"   1  3枠 3番  アカツキボーイ   320  15.1～20.0\n"
           u8"   2  4枠 4番  ソラノカケハシ   317  20.1～30.0\n"
           u8"   3  6枠 8番  ツキカゲオー     302  10.1～15.0\n"
           u8"   4  6枠 7番  ホシノコドウ     268  30.1～50.0\n"
           u8"   5  8枠11番  シズカナウミ     260  20.1～30.0\n"
           u8"   6  8枠12番  コハクノヒカリ   256  9.1～10.0\n"
           u8"   7  7枠 9番  ハナノミチ       249  50.1以上\n"
           u8"   8  7枠10番  イナズマリュウ   246  8.1～9.0\n"
           u8"   9  5枠 5番  ユキミザクラ     230  8.1～9.0\n"
           u8"  10  1枠 1番  ハヤテノツバサ     0  2.1～3.0\n"
           u8"  11  2枠 2番  ミヤビクイーン     0  4.1～5.0\n"
           u8"  12  5枠 6番  カゼノシラベ       0  5.1～6.0\n"
           u8"\n"
           u8"＝＝＝＝＝＝＝ ゼルコ馬予想 ＝＝＝＝＝＝＝\n"
           u8"【穴馬】\n"
           u8"   [アカツキボーイ]\n"
           u8"   [ソラノカケハシ]\n"
           u8"\n"
           u8"＝＝＝＝＝＝＝  買い目  ＝＝＝＝＝＝＝＝\n"
           u8"【複勝】\n"
           u8" 3\t[アカツキボーイ]\n"
           u8" 4\t[ソラノカケハシ]\n"
           u8"【馬連】\n"
           u8" 1 - 3 \t[ハヤテノツバサ]-[アカツキボーイ]\n"
           u8" 2 - 3 \t[ミヤビクイーン]-[アカツキボーイ]\n"
           u8" 3 - 6 \t[アカツキボーイ]-[カゼノシラベ]\n"
           u8" 1 - 4 \t[ハヤテノツバサ]-[ソラノカケハシ]\n"
           u8" 2 - 4 \t[ミヤビクイーン]-[ソラノカケハシ]\n"
           u8" 4 - 6 \t[ソラノカケハシ]-[カゼノシラベ]\n"
           u8" 3 - 4 \t[アカツキボーイ]-[ソラノカケハシ]\n"
           u8"\n"
           u8"調教師の本音\n"
           u8"   1  ハヤテノツバサ  ↑ "
           u8"追い切りはすごい手応えだ。この馬の力を出し切ればいい結果になるだろう。\n"
           u8"   2  ミヤビクイーン  ↑ "
           u8"追い切りはすごい手応えだ。この馬の力を出し切ればいい結果になるだろう。\n"
           u8"   3  アカツキボーイ  → "
           u8"ハンデ戦だから、前走より２kgも軽くなった。これも前走わざと大敗したせいだろう。\n"
           u8"   4  ソラノカケハシ  → この馬は走るかどうかわからんからなぁ・・・。\n"
           u8"   5  ユキミザクラ    ↑ ここ２レースはほんとに絶好調だ。これなら勢いで勝てる。\n"
           u8"   6  カゼノシラベ    ↑ 普通に走ってくれれば、結果は自然とついてくるだろう。\n"
           u8"   7  ホシノコドウ    → この馬は走るかどうかわからんからなぁ・・・。\n"
           u8"   8  ツキカゲオー    → "
           u8"前走の長距離レースはステップにした。この馬には長かったが、2000m以上のレースに出走させ"
           u8"ると距離割増賞金をもらえるからな。\n"
           u8"   9  ハナノミチ      → この馬は走るかどうかわからんからなぁ・・・。\n"
           u8"  10  イナズマリュウ  ↑ ここ２レースはほんとに絶好調だ。これなら勢いで勝てる。\n"
           u8"  11  シズカナウミ    → この馬は走るかどうかわからんからなぁ・・・。\n"
           u8"  12  コハクノヒカリ  → この馬は走るかどうかわからんからなぁ・・・。\n"));
}

TEST_F(PredictCommand, SampleRaceJson) {
    Outcome r = run({"predict", sample(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["runnerCount"], 12);
    EXPECT_EQ(j["scores"], nlohmann::json({0, 0, 320, 317, 230, 0, 268, 302, 249, 246, 260, 256}));
    EXPECT_EQ(j["ranking"], nlohmann::json({3, 4, 8, 7, 11, 12, 9, 10, 5, 1, 2, 6}));
    EXPECT_EQ(j["darkHorseCount"], 2);
    // Each dark horse with the partners 1, 2 and 6, then the two dark horses.
    EXPECT_EQ(j["quinellaPairs"],
              nlohmann::json({{1, 3}, {2, 3}, {3, 6}, {1, 4}, {2, 4}, {4, 6}, {3, 4}}));
    ASSERT_EQ(j["runners"].size(), 12u);
    EXPECT_EQ(j["runners"][3]["horse"], 4);
    EXPECT_EQ(j["runners"][3]["name"], u8(u8"ソラノカケハシ"));
    EXPECT_EQ(j["runners"][3]["bracket"], 4);
    EXPECT_EQ(j["runners"][11]["bracket"], 8);

    // The trainer's intent, the deciding factors, the analysis and the report.
    const nlohmann::json& third = j["runners"][2];
    EXPECT_EQ(third["intentCode"], 17);
    EXPECT_EQ(third["mark"], u8(u8"→"));
    EXPECT_EQ(
        third["remark"],
        u8(u8"ハンデ戦だから、前走より２kgも軽くなった。これも前走わざと大敗したせいだろう。"));
    EXPECT_EQ(third["decidingFactors"], nlohmann::json({1, 5, 13}));
    EXPECT_EQ(j["runners"][10]["decidingFactors"], nlohmann::json::array());
    std::vector<int> codes;
    for (const auto& runner : j["runners"])
        codes.push_back(runner["intentCode"]);
    EXPECT_EQ(codes, (std::vector<int>{2, 2, 17, 30, 4, 3, 30, 12, 30, 4, 30, 30}));

    EXPECT_EQ(j["analysis"],
              nlohmann::json::parse(R"({"popularity": [1, 2, 6], "distance": [1, 5, 8],
                                        "form": [1, 4, 5], "weightDrop": [3, 4, 2]})"));
    EXPECT_EQ(j["report"]["darkHorses"], u8(u8"＝＝＝＝＝＝＝ ゼルコ馬予想 ＝＝＝＝＝＝＝\r\n"
                                            u8"【穴馬】\r\n"
                                            u8"   [アカツキボーイ]\r\n"
                                            u8"   [ソラノカケハシ]\r\n"));
    const std::string bets = j["report"]["bets"];
    EXPECT_EQ(bets.substr(0, bets.find(u8(u8"【馬連】"))),
              u8(u8"＝＝＝＝＝＝＝  買い目  ＝＝＝＝＝＝＝＝\r\n"
                 u8"【複勝】\r\n"
                 u8" 3\t[アカツキボーイ]\r\n"
                 u8" 4\t[ソラノカケハシ]\r\n"));
    EXPECT_NE(bets.find(u8(u8"【馬連】\r\n 1 - 3 \t[ハヤテノツバサ]-[アカツキボーイ]\r\n")),
              std::string::npos);
}

TEST_F(PredictCommand, EighteenRunnerRace) {
    Outcome r = run({"predict", eighteen(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["runnerCount"], 18);
    EXPECT_EQ(j["scores"], nlohmann::json({0, 0, 229, 194, 212, 296, 217, 298, 314, 205, 0, 0, 243,
                                           0, 0, 217, 315, 288}));
    // 7 and 16 score alike: the lower number ranks first.
    EXPECT_EQ(j["ranking"],
              nlohmann::json({17, 9, 8, 6, 18, 13, 3, 7, 16, 5, 10, 4, 1, 2, 11, 12, 14, 15}));
    EXPECT_EQ(j["darkHorseCount"], 2);
    // Nine partners: the first dark horse alone uses up the eight pairs.
    EXPECT_EQ(j["quinellaPairs"],
              nlohmann::json(
                  {{1, 17}, {2, 17}, {3, 17}, {7, 17}, {11, 17}, {12, 17}, {14, 17}, {15, 17}}));
    std::vector<int> brackets;
    for (const auto& runner : j["runners"])
        brackets.push_back(runner["bracket"]);
    EXPECT_EQ(brackets, (std::vector<int>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7, 8, 8, 8}));
    EXPECT_EQ(j["runners"][8]["name"], u8(u8"カンマ,ホース"));
    EXPECT_EQ(j["runners"][9]["name"], u8(u8"ｶﾀｶﾅﾎｰｽ"));

    Outcome table = run({"predict", eighteen()});
    ASSERT_EQ(table.status, 0);
    EXPECT_NE(table.out.find(u8(u8"   2  5枠 9番  カンマ,ホース      314  50.1以上\n")),
              std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find(u8(u8"  18  7枠15番  ソウテンノオー       0  3.1～4.0\n")),
              std::string::npos);
}

// Every failure is told on stderr alone: status 1 for the job, 2 for the
// command line; an unusable program folder in one line, no page written.
TEST_F(PredictCommand, FailuresExplainThemselvesOnStderr) {
    const std::string missing = (temp_ / "missing.zel").string();
    const std::string notOurs = (temp_ / "notes.txt").string();
    std::ofstream(notOurs) << "hello\n";
    std::ofstream(temp_ / "plain") << "not a folder";
    const std::string plain = (temp_ / "plain/sub").string();
    const std::string page = (temp_ / "page.html").string();
    const std::string pre = "zelkor2k-cli: ";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"predict", missing},
         1,
         u8(u8"ゼルコ馬ファイルを読み込めませんでした。\nファイル'") + missing +
             u8(u8"'を開けません\nファイルまたはフォルダがありません。\n")},
        {{"predict", notOurs, "--json"},
         1,
         u8(u8"ゼルコ馬ファイル'") + notOurs +
             u8(u8"'を読み込めませんでした。\nゼルコ馬ファイルではありません\n"
                u8"先頭がゼルコ馬ファイルの印で始まっていません。\n")},
        {{"predict"},
         1,
         pre + u8(u8"predict には予想ファイルを 1 つ、または --date YYYYMMDD "
                  u8"を指定してください (predict --help を参照)\n")},
        {{"predict", sample(), "--jsn"},
         1,
         pre + u8(u8"--jsn というオプションはありません (predict --help を参照)\n")},
        {{"--program-folder", plain, "sports", sample(), "-o", page},
         1,
         pre + u8(u8"フォルダ'") + plain + u8(u8"/'を作成できません (Not a directory)\n")},
        {{"--program-folder"}, 2, pre + u8(u8"オプション --program-folder には値が必要です\n")},
        {{"--json", "predict", sample()},
         2,
         pre + u8(u8"--json というオプションはありません (--help を参照)\n")},
        {{"pedict"}, 2, pre + u8(u8"'pedict' というコマンドはありません (--help を参照)\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_FALSE(fs::exists(page));
}

TEST_F(PredictCommand, HelpTexts) {
    Outcome r = run({"predict", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("zelkor2k-cli predict FILE.zel|--date YYYYMMDD --race N"),
              std::string::npos);
    EXPECT_NE(r.out.find(u8(u8"予想ファイル")), std::string::npos);

    r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with(
        u8(u8"使い方: zelkor2k-cli [--program-folder DIR] <コマンド> [オプション]\n")));
    EXPECT_NE(r.out.find(u8(u8"  predict      予想ファイル (.zel) を採点して順位を表示します\n")),
              std::string::npos);
    EXPECT_NE(r.out.find(u8(u8"  --version             版を表示して終わります\n")),
              std::string::npos);
}

TEST_F(PredictCommand, GlobalOptionsComeBeforeTheCommand) {
    Outcome r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "zelkor2k-cli " ZELKOR_TEST_VERSION "\n");

    // The folder given before the command is the one the page's pictures come from.
    const fs::path folder = temp_ / "before";
    const std::string page = (temp_ / "page.html").string();
    r = run({"--program-folder", folder.string(), "sports", sample(), "-o", page});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(
        cli_test::fileText(page).find("<BASE HREF=\"file://" + folder.string() + "/Image/\">"),
        std::string::npos);
    EXPECT_TRUE(fs::is_directory(folder / "Image"));
    // One given after the command wins, before its operand too.
    const fs::path after = temp_ / "after";
    r = run({"--program-folder", folder.string(), "sports", sample(), "-o", page,
             "--program-folder", after.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(cli_test::fileText(page).find("file://" + after.string() + "/Image/"),
              std::string::npos);
    r = run({"predict", "--program-folder", temp_.string(), sample()});
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(PredictCommand, ASettingsFileThatCannotBeReadIsToldAndLeftAsItIs) {
    const fs::path folder = temp_ / "program";
    fs::create_directories(folder);
    const std::string config = (folder / "Zelkor2k.cfg").string();
    ASSERT_EQ(::mkfifo(config.c_str(), 0600), 0);
    const std::string page = (temp_ / "page.html").string();
    Outcome r = run({"--program-folder", folder.string(), "sheet", sample(), "-o", page});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "zelkor2k-cli: " + u8(u8"設定ファイル'") + config +
                         u8(u8"'を読み込めませんでした\n今回は初期設定を使います\n"));
    EXPECT_TRUE(fs::is_fifo(config));
    EXPECT_TRUE(fs::exists(page));
}

} // namespace
} // namespace zelkor
