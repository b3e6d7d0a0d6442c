#include "archive/archive_intake.h"
#include "archive/archive_race_source.h"
#include "race/race_card.h"
#include "support/jv_generator.h"
#include "support/jv_test_dir.h"
#include "support/recording_prompt.h"
#include "text/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;
using test::JvTestDir;
using test::RecordingPrompt;

const std::string kTrainerQuestion = "調教師データを更新しますか？\r\n(現在のデータは失われます)";
const std::string kJockeyQuestion = "騎手データを更新しますか？\r\n(現在のデータは失われます)";

std::string fixture(const std::string& name) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/archive/fixtures/" + name;
}

std::string contentsOf(const std::string& path) {
    return readWholeFile(path).value_or("<none>");
}

// A program folder with its two working folders, as start-up leaves it.
class ArchiveIntake : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(working);
        fs::create_directories(staff);
    }
    bool intake(const std::string& archive) {
        return intakeJvArchive(fixture(archive), program.path(), card, prompt).ok();
    }

    JvTestDir program;
    std::string working = program.path() + "JRA-VAN/";
    std::string staff = program.path() + "KTDAT/";
    JvRaceCard card;
    RecordingPrompt prompt;
};

TEST_F(ArchiveIntake, WorkingFoldersBelowTheProgramFolder) {
    EXPECT_EQ(jvWorkingFolder("/opt/zelkor/"), "/opt/zelkor/JRA-VAN/");
    EXPECT_EQ(staffFolder("/opt/zelkor/"), "/opt/zelkor/KTDAT/");
}

TEST_F(ArchiveIntake, FullArchiveUnpacksAndAsksBothQuestions) {
    writeWholeFile(staff + "JracChok.dat", "old trainers");
    writeWholeFile(staff + "JracKisi.dat", "old jockeys");
    prompt.answers = {true, false};
    ASSERT_TRUE(intake("good.lzh"));

    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{kTrainerQuestion, kJockeyQuestion}));
    for (const auto& e : prompt.entries) {
        EXPECT_TRUE(e.question);
        EXPECT_EQ(e.caption, "Qorvex - ゼルコ馬 2000");
    }
    EXPECT_EQ(card.raceCardPath, working + "JracDen1.dat");
    EXPECT_EQ(card.horseFilePath, working + "JracUmaj.dat");
    for (const char* name : {"JracDen1.dat", "JracUmaj.dat", "JracChok.dat", "JracKisi.dat"})
        EXPECT_TRUE(fs::exists(working + name)) << name;
    // Yes copied the trainers over the kept file; No left the jockeys.
    EXPECT_EQ(contentsOf(staff + "JracChok.dat"), contentsOf(working + "JracChok.dat"));
    EXPECT_EQ(contentsOf(staff + "JracKisi.dat"), "old jockeys");
}

TEST_F(ArchiveIntake, AnswerNoToBothKeepsTheStaffFiles) {
    writeWholeFile(staff + "JracChok.dat", "old trainers");
    ASSERT_TRUE(intake("good.lzh"));
    EXPECT_EQ(prompt.entries.size(), 2u);
    EXPECT_EQ(contentsOf(staff + "JracChok.dat"), "old trainers");
    EXPECT_FALSE(fs::exists(staff + "JracKisi.dat"));
}

TEST_F(ArchiveIntake, ArchiveWithoutStaffFilesAsksNothing) {
    ASSERT_TRUE(intake("no_staff.lzh"));
    EXPECT_TRUE(prompt.entries.empty());
}

TEST_F(ArchiveIntake, SecondArchiveClearsTheFirstOnesFiles) {
    prompt.answers = {false, false};
    ASSERT_TRUE(intake("good.lzh"));
    ASSERT_TRUE(intake("no_staff.lzh"));
    EXPECT_TRUE(fs::exists(working + "JracDen1.dat"));
    EXPECT_TRUE(fs::exists(working + "JracUmaj.dat"));
    EXPECT_FALSE(fs::exists(working + "JracChok.dat"));
    EXPECT_FALSE(fs::exists(working + "JracKisi.dat"));
}

TEST_F(ArchiveIntake, NotAnArchiveDeletesNothing) {
    writeWholeFile(working + "JracDen1.dat", "earlier card");
    EXPECT_FALSE(intake("not_archive.lzh"));
    EXPECT_EQ(prompt.onlyText(), "ファイル 'not_archive.lzh' は書庫ではありません");
    EXPECT_EQ(prompt.entries[0].caption, "Qorvex - ゼルコ馬 2000");
    EXPECT_EQ(contentsOf(working + "JracDen1.dat"), "earlier card");
    EXPECT_TRUE(card.raceCardPath.empty());
}

TEST_F(ArchiveIntake, DamagedArchiveFailsAfterTheOldFilesAreGone) {
    for (const char* name : {"JracDen1.dat", "JracUmaj.dat", "JracChok.dat", "JracKisi.dat"})
        writeWholeFile(working + name, "earlier");
    writeWholeFile(working + "other.txt", "not ours");
    for (const char* archive : {"damaged.lzh", "truncated.lzh"}) {
        SCOPED_TRACE(archive);
        prompt.entries.clear();
        EXPECT_FALSE(intake(archive));
        EXPECT_EQ(prompt.onlyText(), "ファイルを解凍できませんでした");
        for (const char* name : {"JracDen1.dat", "JracUmaj.dat", "JracChok.dat", "JracKisi.dat"})
            EXPECT_FALSE(fs::exists(working + name)) << name;
    }
    EXPECT_EQ(contentsOf(working + "other.txt"), "not ours");
}

TEST_F(ArchiveIntake, MissingRaceCardOrHorseFile) {
    EXPECT_FALSE(intake("no_card.lzh"));
    EXPECT_EQ(prompt.onlyText(),
              "このファイルには出馬表データがありません\r\n"
              "出馬表データが含まれている圧縮ファイルをダウンロードしてください");
    // The paths already point into the working folder.
    EXPECT_EQ(card.raceCardPath, working + "JracDen1.dat");

    prompt.entries.clear();
    EXPECT_FALSE(intake("evil_names.lzh")); // brings a race card only
    EXPECT_EQ(prompt.onlyText(),
              "このファイルには競走馬データがありません\r\n"
              "競走馬データが含まれている圧縮ファイルをダウンロードしてください");
}

TEST_F(ArchiveIntake, HostileEntryNamesStayInTheWorkingFolder) {
    ASSERT_TRUE(intake("evil.lzh"));
    EXPECT_FALSE(fs::exists(working + "evil.dat"));
    EXPECT_FALSE(fs::exists(program.path() + "evil.dat"));
    EXPECT_FALSE(fs::exists(fs::path(program.path()).parent_path().parent_path() / "evil.dat"));
}

TEST_F(ArchiveIntake, MissingWorkingFoldersAreCreated) {
    fs::remove_all(working);
    fs::remove_all(staff);
    prompt.answers = {true, true};
    ASSERT_TRUE(intake("good.lzh"));
    EXPECT_TRUE(fs::exists(staff + "JracChok.dat"));
    EXPECT_TRUE(fs::exists(staff + "JracKisi.dat"));
}

// From the archive to the race sheet, as the front ends run it.
TEST_F(ArchiveIntake, OpenedCardLoadsTheChosenRace) {
    test::JvRaceData first;
    first.raceName = "イチバンレース";
    test::JvRaceData second = first;
    second.raceName = "ニバンレース";
    second.raceNumber = 2;
    test::JvRunnerData runner;
    runner.horseId = "2020100009";
    runner.horseName = "カードノナマエ";
    second.runners = {runner, runner};
    first.runners = {runner};
    test::JvHorseData horse;
    horse.id = "2020100009";
    horse.name = "ホンモノ";
    ASSERT_TRUE(test::writeJvRaceCard(working + "JracDen1.dat", {first, second}));
    ASSERT_TRUE(test::writeJvHorseFile(working + "JracUmaj.dat", {horse}));
    forgetJvFileIndexes();

    ASSERT_TRUE(openJvCard(working + "JracDen1.dat", program.path(), card, prompt));
    RaceSheet sheet;
    ArchiveRaceSource source(card.raceCardPath, program.path());
    ASSERT_TRUE(loadChosenJvRace(source, 2, card, sheet, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    EXPECT_EQ(sheet.raceName, "ニバンレース");
    EXPECT_EQ(sheet.runnerCount, 2);
    EXPECT_EQ(sheet.runner(2).name, "ホンモノ");
    EXPECT_EQ(card.trainerFilePath, staff + "JracChok.dat");

    // A race past the end of the card loads nothing.
    RaceSheet untouched;
    EXPECT_FALSE(loadChosenJvRace(source, 3, card, untouched, prompt));
    EXPECT_EQ(prompt.onlyText(), "出馬表ファイルの読み込みに失敗しました");
    EXPECT_EQ(untouched.raceName, RaceSheet().raceName);
}

TEST_F(ArchiveIntake, OpenCardTellsArchivesFromRaceCards) {
    // A name ending in .lzh goes through the intake, whatever its contents.
    writeWholeFile(program.path() + "plain.LZH", "text");
    EXPECT_FALSE(openJvCard(program.path() + "plain.LZH", program.path(), card, prompt));
    EXPECT_EQ(prompt.onlyText(), "ファイル 'plain.LZH' は書庫ではありません");

    // An archive under another name is still an archive.
    prompt.entries.clear();
    fs::copy_file(fixture("no_staff.lzh"), program.path() + "day.bin");
    EXPECT_TRUE(openJvCard(program.path() + "day.bin", program.path(), card, prompt));
    EXPECT_EQ(card.raceCardPath, working + "JracDen1.dat");

    // A race card without its horse file.
    JvTestDir other;
    writeWholeFile(other.file("JracDen1.dat"), "card");
    JvRaceCard plain;
    prompt.entries.clear();
    EXPECT_FALSE(openJvCard(other.file("JracDen1.dat"), program.path(), plain, prompt));
    EXPECT_EQ(prompt.onlyText(),
              "このファイルには競走馬データがありません\r\n"
              "競走馬データが含まれている圧縮ファイルをダウンロードしてください");
}

} // namespace
} // namespace zelkor
