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

void expectSameRace(const RaceSheet& a, const RaceSheet& b) {
    EXPECT_EQ(a.raceName, b.raceName);
    EXPECT_EQ(a.racecourse, b.racecourse);
    EXPECT_EQ(a.grade, b.grade);
    EXPECT_EQ(a.ageLimit, b.ageLimit);
    EXPECT_EQ(a.sexLimit, b.sexLimit);
    EXPECT_EQ(a.weightRule, b.weightRule);
    EXPECT_EQ(a.baseWeight, b.baseWeight);
    EXPECT_EQ(a.surface, b.surface);
    EXPECT_EQ(a.distance, b.distance);
    EXPECT_EQ(a.runnerCount, b.runnerCount);
    EXPECT_EQ(a.raceNumber, b.raceNumber);
    for (int h = 1; h <= a.runnerCount; ++h)
        EXPECT_TRUE(a.runner(h) == b.runner(h)) << "horse " << h;
}

TEST_F(PredictionFile, NewSheetIsWrittenByteForByte) {
    RaceSheet sheet;
    sheet.racecourse = "東京";
    std::string expected = "ZELKOR 3.04,8,レース名,4,0,0,0,0,0,0,10,6,1,\r\n";
    for (int h = 1; h <= 6; ++h)
        expected += kUntouchedRunner;
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
    RecordingPrompt prompt;
    std::string p = path("round.zel");
    ASSERT_TRUE(writePredictionFile(original, p, prompt));

    RaceSheet loaded;
    loaded.currentRunner = 5;
    ASSERT_TRUE(readPredictionFile(loaded, p, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    expectSameRace(loaded, original);
    EXPECT_EQ(loaded.currentRunner, 1);
    EXPECT_EQ(loaded.liveRunnerCount, 12);
}

TEST_F(PredictionFile, ReaderAcceptsLineFeedsAloneAndBlanksBetweenValues) {
    std::string text = "ZELKOR 3.04,8,レース名,4,0,0,0,0,0,0,10,4,1,\n";
    for (int h = 1; h <= 4; ++h)
        text += "0,,0,0,20,0,10,0,0,0,0,0,10,0,20,0,\n 0,0,0,0, 10,0,20,0,\n";
    RaceSheet sheet = filledSheet();
    RecordingPrompt prompt;
    ASSERT_TRUE(readPredictionFile(sheet, writeRaw(text), prompt));
    EXPECT_EQ(sheet.runnerCount, 4);
    EXPECT_EQ(sheet.racecourse, "東京");
    EXPECT_TRUE(sheet.runner(4) == RunnerEntry());
}

TEST_F(PredictionFile, FewerRunnersLeaveTheSlotsAboveThemAsTheyWere) {
    RaceSheet ten = filledSheet();
    ten.runnerCount = 10;
    for (int h = 1; h <= 10; ++h)
        ten.runner(h).name = "十頭" + std::to_string(h);
    RecordingPrompt prompt;
    std::string p = path("ten.zel");
    ASSERT_TRUE(writePredictionFile(ten, p, prompt));

    RaceSheet sheet = filledSheet();
    ASSERT_TRUE(readPredictionFile(sheet, p, prompt));
    EXPECT_EQ(sheet.runnerCount, 10);
    EXPECT_EQ(sheet.runner(10).name, "十頭10");
    EXPECT_EQ(sheet.runner(11).name, "ホース11");
    EXPECT_EQ(sheet.runner(12).name, "ホース12");
}

TEST_F(PredictionFile, VersionAndMagicChecks) {
    std::string body = "8,レース名,4,0,0,0,0,0,0,10,4,1,\r\n";
    for (int h = 1; h <= 4; ++h)
        body += kUntouchedRunner;
    for (const char* opens :
         {"ZELKOR 3.10,", "ZELKOR 3.04,", "ZELKORX 3.04,", "ZELKOR 3,", "  ZELKOR\t3.99,"}) {
        RaceSheet sheet = filledSheet();
        RecordingPrompt prompt;
        EXPECT_TRUE(readPredictionFile(sheet, writeRaw(opens + body), prompt)) << opens;
        EXPECT_TRUE(prompt.entries.empty()) << opens;
        EXPECT_EQ(sheet.raceName, "レース名");
    }
    // A first word of any length is compared on its first six bytes only.
    std::string longWord = "ZELKOR" + std::string(5000, 'Z') + " 3.04,";
    RaceSheet sheet;
    RecordingPrompt prompt;
    EXPECT_TRUE(readPredictionFile(sheet, writeRaw(longWord + body), prompt));

    const RaceSheet filled = filledSheet();
    expectRefused("ZELKOR 2.50," + body, "以前のバージョンのファイルは開けません", filled);
    expectRefused("ZELKOR 4.00," + body, "以前のバージョンのファイルは開けません", filled);
    expectRefused("ZELKOR 30.4," + body, "以前のバージョンのファイルは開けません", filled);
    expectRefused("ZELKOR -3.04," + body, "以前のバージョンのファイルは開けません", filled);
    expectRefused("ZELKOR " + std::string(400, '9') + "," + body,
                  "以前のバージョンのファイルは開けません", filled);
    expectRefused("ZELKO 3.04," + body, "ゼルコ馬ファイルではありません", filled);
    expectRefused("zelkor 3.04," + body, "ゼルコ馬ファイルではありません", filled);
    expectRefused(std::string(5000, 'Q') + body, "ゼルコ馬ファイルではありません", filled);
    expectRefused("", "ゼルコ馬ファイルではありません", filled);
    expectRefused("ZELKOR v3.04," + body, "ファイルを開けません", filled);
    expectRefused("ZELKOR", "ファイルを開けません", filled);
    expectRefused("ZELKOR 3.04" + body, "ファイルを開けません", filled);
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
    for (int count : {19, -1, 100000}) {
        std::string text =
            "ZELKOR 3.04,8,レース名,4,0,0,0,0,0,0,10," + std::to_string(count) + ",1,\r\n";
        for (int h = 1; h <= 20; ++h)
            text += kUntouchedRunner;
        expectRefused(text, "ファイルを開けません", filledSheet());
    }
    std::string eighteen = "ZELKOR 3.04,8,レース名,4,0,0,0,0,0,0,10,18,1,\r\n";
    for (int h = 1; h <= 18; ++h)
        eighteen += kUntouchedRunner;
    RaceSheet sheet;
    RecordingPrompt prompt;
    EXPECT_TRUE(readPredictionFile(sheet, writeRaw(eighteen), prompt));
}

// A JRA-VAN race may have fewer runners than the form offers; whatever the
// program saves must open again as the same race.
TEST_F(PredictionFile, SmallFieldsTheProgramSavesOpenAgain) {
    for (int count : {0, 1, 3}) {
        SCOPED_TRACE(count);
        RaceSheet saved = filledSheet();
        saved.runnerCount = count;
        const std::string p = path("small.zel");
        RecordingPrompt prompt;
        ASSERT_TRUE(writePredictionFile(saved, p, prompt));
        RaceSheet opened;
        ASSERT_TRUE(readPredictionFile(opened, p, prompt));
        EXPECT_TRUE(prompt.entries.empty());
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
    const std::string race = "8,レース名,4,0,0,0,0,0,0,10,4,1,\r\n";
    std::string runners;
    for (int h = 1; h <= 4; ++h)
        runners += kUntouchedRunner;
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
    expectRefused(head + race + "0,,0,0,20,0,10,0,0,0,0,0,10,0,20,\r\n", "ファイルを開けません",
                  filled);

    // Values outside their lists are kept as they stand: the reader does not
    // judge them, everything that shows them does so safely.
    RaceSheet sheet = filled;
    RecordingPrompt prompt;
    std::string odd = head + "8,レース名,4,-7,0,0,0,0,0,2147483647,4,-2147483648,\r\n" + runners;
    ASSERT_TRUE(readPredictionFile(sheet, writeRaw(odd), prompt));
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
    RecordingPrompt prompt;
    std::string p = path("course.zel");
    ASSERT_TRUE(writePredictionFile(sheet, p, prompt));
    RaceSheet loaded;
    loaded.racecourse = "阪神";
    ASSERT_TRUE(readPredictionFile(loaded, p, prompt));
    EXPECT_EQ(loaded.racecourse, "");

    for (auto [stored, expected] :
         {std::pair{"76", "不明"}, {"0", "札幌"}, {"77", ""}, {"-5", ""}}) {
        std::string file = "ZELKOR 3.04,0,," + std::string(stored) + ",0,0,0,0,0,0,10,4,1,\r\n";
        for (int h = 1; h <= 4; ++h)
            file += kUntouchedRunner;
        RaceSheet s;
        s.racecourse = "阪神";
        ASSERT_TRUE(readPredictionFile(s, writeRaw(file), prompt)) << stored;
        EXPECT_EQ(s.racecourse, expected) << stored;
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
