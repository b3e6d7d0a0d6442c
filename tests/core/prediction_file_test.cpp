#include "core/fixed_lists.h"
#include "core/prediction_file.h"
#include "core/race_sheet.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"
#include "text/cp932.h"
#include "text/file_io.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zelkor {
namespace {

namespace fs = std::filesystem;
using test::RecordingPrompt;

// The second line of a failure message, what failed: after what was being
// done, before why.
std::string whatFailed(const RecordingPrompt& prompt) {
    const std::string text = prompt.onlyText() + "\r\n";
    const size_t start = text.find("\r\n") + 2;
    return text.substr(start, text.find("\r\n", start) - start);
}

const std::string kUntouchedRunner = "0,,0,0,20,0,10,0,0,0,0,0,10,0,20,0,\r\n"
                                     "0,0,0,0,10,0,20,0,\r\n";
// The race line of a file of four untouched runners, after the version.
const std::string kRaceLine = "8,レース名,4,0,0,0,0,0,0,10,4,1,\r\n";

std::string untouchedRunners(int n) {
    std::string lines;
    for (int h = 1; h <= n; ++h)
        lines += kUntouchedRunner;
    return lines;
}

class PredictionFile : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    std::string writeRaw(const std::string& content, const std::string& name = "in.zel") {
        std::string p = path(name);
        EXPECT_TRUE(writeWholeFile(p, content));
        return p;
    }

    // Reads `content` over `sheet`; expects it refused with `message` and
    // the sheet left exactly as it was.
    void expectRefused(const std::string& content, const std::string& message, RaceSheet sheet) {
        const RaceSheet before = sheet;
        RecordingPrompt prompt;
        EXPECT_FALSE(readPredictionFile(sheet, writeRaw(content), prompt));
        EXPECT_EQ(whatFailed(prompt), message);
        EXPECT_EQ(predictionFileText(sheet), predictionFileText(before));
        EXPECT_TRUE(sheet.runners() == before.runners());
        EXPECT_EQ(sheet.currentRunner, before.currentRunner);
    }

    // Reads `content` over `sheet`; expects it taken without a word to the user.
    void expectOpens(const std::string& content, RaceSheet& sheet) {
        RecordingPrompt prompt;
        EXPECT_TRUE(readPredictionFile(sheet, writeRaw(content), prompt));
        EXPECT_TRUE(prompt.entries.empty());
    }

    // Saves `saved` and opens the file again over `opened`, both silently.
    RaceSheet reopened(const RaceSheet& saved, RaceSheet opened = {}) {
        RecordingPrompt prompt;
        const std::string p = path("saved.zel");
        EXPECT_TRUE(writePredictionFile(saved, p, prompt));
        EXPECT_TRUE(readPredictionFile(opened, p, prompt));
        EXPECT_TRUE(prompt.entries.empty());
        return opened;
    }

    test::TempFolder temp_{"zelkor-zel"};
    fs::path dir_ = temp_.dir();
};

// A sheet with every field away from its reset value.
RaceSheet filledSheet() {
    RaceSheet sheet;
    sheet.raceName = "有馬記念";
    sheet.racecourse = "中山";
    sheet.grade = 0;
    sheet.ageLimit = 1;
    sheet.sexLimit = 3;
    sheet.weightRule = 1;
    sheet.baseWeight = 12;
    sheet.surface = 1;
    sheet.distance = 15;
    sheet.runnerCount = 12;
    sheet.raceNumber = 11;
    for (int h = 1; h <= 12; ++h) {
        RunnerEntry& r = sheet.runner(h);
        r.name = "ホース" + std::to_string(h);
        r.sex = static_cast<Sex>(h % 3);
        r.age = h % 8;
        r.weight = 10 + h;
        r.runningStyle = static_cast<RunningStyle>(h % 5);
        r.aptitudeDistance = h;
        r.oddsBand = h + 2;
        for (int i = 0; i < 2; ++i)
            r.pastRuns[i] = {.kind = static_cast<PastRunKind>((h + i) % 4),
                             .finish = h + i,
                             .fieldSize = h,
                             .popularity = 17 - h,
                             .distance = 20 - h - i,
                             .raceClass = (h + i) % 10,
                             .weight = 30 - h,
                             .timeDiff = h + 9 * i};
    }
    return sheet;
}

TEST_F(PredictionFile, NewSheetIsWrittenByteForByte) {
    RaceSheet sheet;
    sheet.racecourse = "東京";
    const std::string expected =
        "ZELKOR 3.04,8,レース名,4,0,0,0,0,0,0,10,6,1,\r\n" + untouchedRunners(6);
    EXPECT_EQ(predictionFileHeader(), "ZELKOR 3.04,");
    EXPECT_EQ(predictionFileText(sheet), expected);

    RecordingPrompt prompt;
    std::string p = path("new.zel");
    ASSERT_TRUE(writePredictionFile(sheet, p, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_EQ(readWholeFile(p).value_or(""), expected);
}

TEST_F(PredictionFile, FilledSheetLinesFollowTheLayout) {
    RaceSheet sheet = filledSheet();
    std::string text = predictionFileText(sheet);
    EXPECT_EQ(text.substr(0, text.find("\r\n") + 2),
              "ZELKOR 3.04,8,有馬記念,5,0,1,3,1,12,1,15,12,11,\r\n");
    EXPECT_NE(text.find("\r\n7,ホース3,0,3,13,3,3,5,3,3,3,14,17,3,27,3,\r\n"
                        "0,4,3,14,16,4,27,12,\r\n"),
              std::string::npos);
}

TEST_F(PredictionFile, EverythingWrittenReadsBackUnchanged) {
    RaceSheet original = filledSheet();
    original.runner(1).name = "カンマ,入り,の馬";
    original.raceName = ",,有馬記念,\r\n2000,";
    original.runner(2).name = std::string(500, 'A') + "長い名前";
    original.runner(3).name = "ソ表"; // 0x5C trail bytes
    RaceSheet loaded;
    loaded.currentRunner = 5;
    loaded = reopened(original, loaded);
    EXPECT_EQ(predictionFileText(loaded), predictionFileText(original));
    EXPECT_EQ(loaded.raceName, original.raceName);
    EXPECT_TRUE(loaded.runners() == original.runners());
    EXPECT_EQ(loaded.currentRunner, 1);
    EXPECT_EQ(loaded.liveRunnerCount, 12);
}

TEST_F(PredictionFile, ReaderAcceptsLineFeedsAloneAndBlanksBetweenValues) {
    std::string text = "ZELKOR 3.04,8,レース名,4,0,0,0,0,0,0,10,4,1,\n";
    for (int h = 1; h <= 4; ++h)
        text += "0,,0,0,20,0,10,0,0,0,0,0,10,0,20,0,\n 0,0,0,0, 10,0,20,0,\n";
    RaceSheet sheet = filledSheet();
    expectOpens(text, sheet);
    EXPECT_EQ(sheet.runnerCount, 4);
    EXPECT_EQ(sheet.racecourse, "東京");
    EXPECT_TRUE(sheet.runner(4) == RunnerEntry());
}

TEST_F(PredictionFile, FewerRunnersLeaveTheSlotsAboveThemAsTheyWere) {
    RaceSheet ten = filledSheet();
    ten.runnerCount = 10;
    for (int h = 1; h <= 10; ++h)
        ten.runner(h).name = "十頭" + std::to_string(h);
    const RaceSheet sheet = reopened(ten, filledSheet());
    EXPECT_EQ(sheet.runnerCount, 10);
    EXPECT_EQ(sheet.runner(10).name, "十頭10");
    EXPECT_EQ(sheet.runner(11).name, "ホース11");
    EXPECT_EQ(sheet.runner(12).name, "ホース12");
}

TEST_F(PredictionFile, VersionAndMagicChecks) {
    const std::string body = kRaceLine + untouchedRunners(4);
    // A first word of any length is compared on its first six bytes only.
    for (const std::string& opens : std::initializer_list<std::string>{
             "ZELKOR 3.10,", "ZELKOR 3.04,", "ZELKORX 3.04,", "ZELKOR 3,", "  ZELKOR\t3.99,",
             "ZELKOR" + std::string(5000, 'Z') + " 3.04,"}) {
        SCOPED_TRACE(opens.substr(0, 20));
        RaceSheet sheet = filledSheet();
        expectOpens(opens + body, sheet);
        EXPECT_EQ(sheet.raceName, "レース名");
    }
    const std::string older = "以前のバージョンのファイルは開けません";
    const std::string alien = "ゼルコ馬ファイルではありません";
    const std::pair<std::string, std::string> refused[] = {
        {"ZELKOR 2.50," + body, older},
        {"ZELKOR 4.00," + body, older},
        {"ZELKOR 30.4," + body, older},
        {"ZELKOR -3.04," + body, older},
        {"ZELKOR " + std::string(400, '9') + "," + body, older},
        {"ZELKO 3.04," + body, alien},
        {"zelkor 3.04," + body, alien},
        {std::string(5000, 'Q') + body, alien},
        {"", alien},
        {"ZELKOR v3.04," + body, "ファイルを開けません"},
        {"ZELKOR", "ファイルを開けません"},
        {"ZELKOR 3.04" + body, "ファイルを開けません"},
    };
    for (const auto& [content, message] : refused) {
        SCOPED_TRACE(content.substr(0, 20));
        expectRefused(content, message, filledSheet());
    }
}

TEST_F(PredictionFile, FileThatCannotBeOpenedNamesItsPath) {
    RaceSheet sheet = filledSheet();
    RecordingPrompt prompt;
    std::string missing = path("missing.zel");
    EXPECT_FALSE(readPredictionFile(sheet, missing, prompt));
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text, "ゼルコ馬ファイルを読み込めませんでした。\r\nファイル'" +
                                          missing +
                                          "'を開けません\r\nファイルまたはフォルダがありません。");
    EXPECT_EQ(prompt.entries[0].caption, kAppTitle);
    EXPECT_EQ(sheet.raceName, "有馬記念");

    // What is no regular file is refused without waiting or reading on.
    ASSERT_EQ(::mkfifo(path("fifo.zel").c_str(), 0600), 0);
    const std::string large = writeRaw(std::string(kPredictionFileLimit + 1, ' '), "large.zel");
    for (const std::string& input : {dir_.string(), path("fifo.zel"), std::string("/dev/zero")}) {
        prompt.entries.clear();
        EXPECT_FALSE(readPredictionFile(sheet, input, prompt));
        EXPECT_EQ(whatFailed(prompt), "'" + input + "'は通常のファイルではありません");
    }
    prompt.entries.clear();
    EXPECT_FALSE(readPredictionFile(sheet, large, prompt));
    EXPECT_EQ(whatFailed(prompt), "ファイル'" + large + "'は大きすぎて読めません");
}

TEST_F(PredictionFile, AFileCutShortOrInAnotherCodeSaysWhy) {
    const std::string full = predictionFileText(filledSheet());
    const std::string reencoded = "ファイルを開けません\r\n文字コードがShift-JIS (CP932) "
                                  "から別のもの (UTF-8など) に変換されています。";
    const std::pair<std::string, std::string> cases[] = {
        {full.substr(0, 60), "ファイルを開けません\r\nファイルが途中で切れています。"},
        {full.substr(0, 60) + "x,\r\n", "ファイルを開けません\r\nファイルの中身が壊れています。"},
        {cp932ToUtf8(full), reencoded},
        {"\xff\xfeZ", "ゼルコ馬ファイルではありません" + reencoded.substr(20)},
    };
    for (const auto& [content, told] : cases) {
        RaceSheet sheet;
        RecordingPrompt prompt;
        const std::string p = writeRaw(content);
        EXPECT_FALSE(readPredictionFile(sheet, p, prompt));
        EXPECT_EQ(prompt.onlyText(),
                  "ゼルコ馬ファイル'" + p + "'を読み込めませんでした。\r\n" + told);
    }
}

TEST_F(PredictionFile, RunnerCountsTheSlotsCannotHoldAreRefused) {
    auto file = [](int count) {
        return "ZELKOR 3.04,8,レース名,4,0,0,0,0,0,0,10," + std::to_string(count) + ",1,\r\n" +
               untouchedRunners(20);
    };
    for (int count : {19, -1, 100000})
        expectRefused(file(count), "ファイルを開けません", filledSheet());
    RaceSheet sheet;
    expectOpens(file(18), sheet);
    EXPECT_EQ(sheet.runnerCount, 18);
}

// A JRA-VAN race may have fewer runners than the form offers; whatever the
// program saves must open again as the same race.
TEST_F(PredictionFile, SmallFieldsTheProgramSavesOpenAgain) {
    for (int count : {0, 1, 3}) {
        SCOPED_TRACE(count);
        RaceSheet saved = filledSheet();
        saved.runnerCount = count;
        const RaceSheet opened = reopened(saved);
        EXPECT_EQ(opened.runnerCount, count);
        EXPECT_EQ(predictionFileText(opened), predictionFileText(saved));
    }
}

TEST_F(PredictionFile, FileCutShortAnywhereLeavesTheSheetUnchanged) {
    RaceSheet written = filledSheet();
    written.runnerCount = 4;
    written.runner(2).name = "途中,で切れる";
    const std::string full = predictionFileText(written);
    const size_t lastComma = full.rfind(',');
    const RaceSheet target = filledSheet();
    for (size_t cut = predictionFileHeader().size(); cut < full.size(); ++cut) {
        RaceSheet sheet = target;
        RecordingPrompt prompt;
        const Outcome result = readPredictionFile(sheet, writeRaw(full.substr(0, cut)), prompt);
        if (cut > lastComma) {
            EXPECT_TRUE(result) << cut;
            continue;
        }
        ASSERT_FALSE(result) << cut;
        EXPECT_EQ(whatFailed(prompt), "ファイルを開けません") << cut;
        ASSERT_TRUE(sheet.runners() == target.runners()) << cut;
        ASSERT_EQ(predictionFileText(sheet), predictionFileText(target)) << cut;
    }
}

TEST_F(PredictionFile, MalformedValuesAreRefusedWithoutTouchingTheSheet) {
    const std::string head = "ZELKOR 3.04,";
    const std::string runners = untouchedRunners(4);
    const RaceSheet filled = filledSheet();
    const char* refused[] = {
        "8,レース名,4,0,0,x,0,0,0,10,4,1,\r\n",          // not a number
        "8,レース名,4,0,0,0,0,0,0,10,4,1;\r\n",          // wrong separator
        "-1,,4,0,0,0,0,0,0,10,4,1,\r\n",                 // negative text length
        "99999,レース名,4,0,0,0,0,0,0,10,4,1,\r\n",      // text longer than the file
        "7,レース名,4,0,0,0,0,0,0,10,4,1,\r\n",          // length ends mid-text: no comma follows
        "8,レース名,4,0,0,0,0,0,0,99999999999,4,1,\r\n", // does not fit a number
        "8,レース名,4,0,0,0,0,0,0,-,4,1,\r\n",           // sign without digits
    };
    for (const char* r : refused)
        expectRefused(head + r + runners, "ファイルを開けません", filled);
    expectRefused(head + kRaceLine + "0,,0,0,20,0,10,0,0,0,0,0,10,0,20,\r\n",
                  "ファイルを開けません", filled);

    // Values outside their lists are kept as they stand: the reader does not
    // judge them, everything that shows them does so safely.
    RaceSheet sheet = filled;
    expectOpens(head + "8,レース名,4,-7,0,0,0,0,0,2147483647,4,-2147483648,\r\n" + runners, sheet);
    EXPECT_EQ(sheet.grade, -7);
    EXPECT_EQ(sheet.distance, 2147483647);
    EXPECT_EQ(sheet.raceNumber, -2147483647 - 1);
}

TEST_F(PredictionFile, RacecoursePositions) {
    EXPECT_EQ(racecoursePosition("東京"), 4);
    EXPECT_EQ(racecoursePosition("中"), 5); // 中山 comes before 中京
    EXPECT_EQ(racecoursePosition("中京"), 6);
    EXPECT_EQ(racecoursePosition("新潟（"), 40);
    EXPECT_EQ(racecoursePosition("不明"), 76);
    EXPECT_EQ(racecoursePosition("東京競馬場"), std::nullopt);
    EXPECT_EQ(racecoursePosition("Tokyo"), std::nullopt);
    EXPECT_EQ(racecoursePosition(""), std::nullopt);
    // "\x93" alone is the first byte of 東; a half character matches nothing.
    EXPECT_EQ(racecoursePosition("\x93"), std::nullopt);

    RaceSheet sheet;
    sheet.racecourse = "ロンシャン";
    std::string text = predictionFileText(sheet);
    EXPECT_EQ(text.substr(0, 26), "ZELKOR 3.04,8,レース名,-1,");
    RaceSheet loaded;
    loaded.racecourse = "阪神";
    EXPECT_EQ(reopened(sheet, loaded).racecourse, "");

    for (auto [stored, expected] :
         {std::pair{"76", "不明"}, {"0", "札幌"}, {"77", ""}, {"-5", ""}}) {
        SCOPED_TRACE(stored);
        RaceSheet s;
        s.racecourse = "阪神";
        expectOpens("ZELKOR 3.04,0,," + std::string(stored) + ",0,0,0,0,0,0,10,4,1,\r\n" +
                        untouchedRunners(4),
                    s);
        EXPECT_EQ(s.racecourse, expected);
    }
}

TEST_F(PredictionFile, FailedSaveTellsTheUserAndKeepsWhatWasThere) {
    RaceSheet sheet = filledSheet();
    RecordingPrompt prompt;
    std::string nowhere = path("no-such-folder/race.zel");
    EXPECT_FALSE(writePredictionFile(sheet, nowhere, prompt));
    EXPECT_EQ(prompt.onlyText(),
              "ゼルコ馬ファイルを保存できませんでした。\r\nファイル'" + nowhere +
                  "'は開けませんでした。\r\nファイルまたはフォルダがありません。");
    EXPECT_FALSE(fileExists(nowhere));
    // A folder nobody may write into, root neither.
    prompt.entries.clear();
    EXPECT_FALSE(writePredictionFile(sheet, "/sys/race.zel", prompt));
    EXPECT_TRUE(prompt.onlyText().ends_with(
        "\r\n書き込みや読み取りが許可されていない場所です（読み取り専用のフォルダなど）。"));

    // A folder or FIFO in the way (or behind a link) is refused and stays.
    fs::create_directories(path("taken.zel/inside"));
    ASSERT_EQ(::mkfifo(path("fifo.zel").c_str(), 0600), 0);
    fs::create_symlink("fifo.zel", path("link.zel"));
    for (const char* name : {"taken.zel", "fifo.zel", "link.zel"}) {
        prompt.entries.clear();
        EXPECT_FALSE(writePredictionFile(sheet, path(name), prompt));
        EXPECT_EQ(whatFailed(prompt), "'" + path(name) + "'は通常のファイルではありません");
    }
    EXPECT_TRUE(fs::is_directory(path("taken.zel/inside")));
    EXPECT_TRUE(fs::is_fifo(path("fifo.zel")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);

    // A save over an earlier file replaces it whole, through a chain of
    // links, which stay links.
    std::string p = writeRaw(std::string(10000, 'x'), "old.zel");
    fs::create_symlink("old.zel", path("first.zel"));
    fs::create_symlink(path("first.zel"), path("second.zel"));
    ASSERT_TRUE(writePredictionFile(sheet, path("second.zel"), prompt));
    EXPECT_EQ(readWholeFile(p).value_or(""), predictionFileText(sheet));
    EXPECT_TRUE(fs::is_symlink(path("first.zel")) && fs::is_symlink(path("second.zel")));
}

TEST_F(PredictionFile, RunnerCountBeyondTheSlotsIsWrittenAsTheRunnersWritten) {
    RaceSheet sheet = filledSheet();
    sheet.runnerCount = 25;
    std::string text = predictionFileText(sheet);
    EXPECT_NE(text.find(",18,11,\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 2 * 18);
}

TEST(DefaultPredictionFileName, RaceNameOrRacecourseAndNumber) {
    RaceSheet sheet;
    sheet.raceName = "有馬記念";
    EXPECT_EQ(defaultPredictionFileName(sheet), "有馬記念.zel");
    sheet.raceName = "";
    sheet.racecourse = "中山";
    sheet.raceNumber = 11;
    EXPECT_EQ(defaultPredictionFileName(sheet), "中山_11R.zel");
    sheet.raceName = "100%勝負";
    EXPECT_EQ(defaultPredictionFileName(sheet), "100%勝負.zel");
    // A separator never turns the proposal into a path; the 0x5C trail
    // byte of ソ is part of a character, not a separator.
    sheet.raceName = "1/2\\ソ";
    EXPECT_EQ(defaultPredictionFileName(sheet), "1_2_ソ.zel");
}

} // namespace
} // namespace zelkor
