// Runs the built zelkor2k-cli backtest on small horse files as a user would.

#include "cli_run.h"
#include "support/jv_generator.h"
#include "text/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

using cli_test::Outcome;
using cli_test::u8;
using test::JvHorseData;
using test::JvRunData;

JvRunData runIn(int monthDay, int raceNumber, int fieldSize, int horseNumber, int finish,
                int popularity) {
    JvRunData run;
    run.year = 2025;
    run.monthDay = monthDay;
    run.courseCode = "06";
    run.meeting = 5;
    run.meetingDay = monthDay % 8 + 1;
    run.raceNumber = raceNumber;
    run.fieldSize = fieldSize;
    run.horseNumber = horseNumber;
    run.finish = finish;
    run.popularity = popularity;
    run.timeDiff = 2 * finish;
    return run;
}

// Two races kept: a turf mile of six runners (all present) and a dirt race
// of 2400 m with five of six. Every horse also ran two earlier races with
// few of their runners in the file, and one later race of twelve.
std::vector<JvHorseData> backtestHorses() {
    const int mileFinish[] = {4, 5, 1, 2, 6, 3};
    const int milePopularity[] = {2, 5, 3, 1, 6, 4};
    const int dirtFinish[] = {2, 5, 1, 3, 4};
    std::vector<JvHorseData> horses;
    for (int h = 1; h <= 6; ++h) {
        JvHorseData horse;
        horse.id = test::jvHorseIdFor(h);
        horse.birthYear = 2020 + h % 3;
        horse.sexCode = h % 3 + 1;
        JvRunData later = runIn(1214, 11, 12, h, h, h);
        JvRunData mile = runIn(1102, 10, 6, h, mileFinish[h - 1], milePopularity[h - 1]);
        mile.distanceMetres = 1600;
        mile.trackCode = 17;
        mile.conditionCode = 16;
        mile.weightCarried = 540 + 10 * (h % 3);
        JvRunData first = runIn(1005, h, 14, 3, h + 3, h);
        first.distanceMetres = 1000 + 300 * h;
        first.corners = {h, h + 1, h, h};
        first.abnormal = h == 4 ? 1 : 0;
        JvRunData second = runIn(905, h, 16, 5, 2 * h, 7);
        second.conditionCode = 703;
        second.corners = {3 * h, 3 * h, 3 * h, 3 * h};
        horse.runs = {later, mile, first, second};
        if (h <= 5) {
            JvRunData dirt = runIn(1120, 9, 6, h + 1, dirtFinish[h - 1], 6 - h);
            dirt.distanceMetres = 2400;
            dirt.trackCode = 23;
            dirt.gradeCode = "B";
            dirt.abnormal = h == 2 ? 1 : 0;
            horse.runs.insert(horse.runs.begin() + 1, dirt);
        }
        horses.push_back(horse);
    }
    horses[2].runs.resize(3); // horse 3's record ends with the mile
    return horses;
}

class BacktestCommand : public cli_test::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        fs::create_directories(temp_ / "data");
        horseFile_ = (temp_ / "data" / "JracUmaj.dat").string();
        ASSERT_TRUE(test::writeJvHorseFile(horseFile_, backtestHorses()));
    }

    // The text with the test's own folder written as "TEMP".
    std::string withoutTemp(std::string text) const {
        const std::string folder = temp_.string();
        for (size_t at; (at = text.find(folder)) != std::string::npos;)
            text.replace(at, folder.size(), "TEMP");
        return text;
    }

    std::string horseFile_;
};

// The horse file, or a race card that brings the one beside it: JSON alone
// on stdout, no progress where stderr is no terminal, and the page written.
TEST_F(BacktestCommand, JsonHoldsEveryFigureAndEveryRace) {
    const std::string card = (temp_ / "data" / "JracDen1.dat").string();
    test::JvRaceData race;
    race.runners = {test::JvRunnerData{}};
    ASSERT_TRUE(test::writeJvRaceCard(card, {race}));
    for (const std::string& input : {horseFile_, card}) {
        SCOPED_TRACE(input);
        const Outcome r = run({"backtest", input, "--json"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(withoutTemp(r.out), fixtureText("backtest.json"));
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(fs::remove(program_ / "HTML" / "ZelBacktest.html"));
    }
}

TEST_F(BacktestCommand, CsvHasOneRowPerRaceAndRunner) {
    const std::string csv = (temp_ / "rows.csv").string();
    const Outcome r = run({"backtest", horseFile_, "--csv", csv, "--min-runners", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(cli_test::fileText(csv), fixtureText("backtest.csv"));
    // The terminal gets the summary and the page's path last.
    EXPECT_NE(r.out.find(u8(u8"検証したレース: 2\n")), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(u8(u8"払戻金のデータがないため、回収率は出していません。")),
              std::string::npos);
    EXPECT_EQ(withoutTemp(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1)),
              "TEMP/program/HTML/ZelBacktest.html\n");
}

TEST_F(BacktestCommand, TheRulesAreOptions) {
    // Half of the field suffices: the later race, six of twelve, is kept too.
    Outcome loose = run({"backtest", horseFile_, "--json", "--min-share", "50"});
    ASSERT_EQ(loose.status, 0) << loose.err;
    EXPECT_NE(loose.out.find("\"racesUsed\": 3,"), std::string::npos);
    EXPECT_NE(loose.out.find("\"minSharePercent\": 50,"), std::string::npos);

    // Six runners: the dirt race has five of its six.
    Outcome strict = run({"backtest", horseFile_, "--json", "--min-runners", "6"});
    ASSERT_EQ(strict.status, 0) << strict.err;
    EXPECT_NE(strict.out.find("\"racesUsed\": 1,"), std::string::npos);

    for (const auto& bad : std::vector<std::vector<std::string>>{{"--min-runners", "0"},
                                                                 {"--min-runners", "19"},
                                                                 {"--min-share", "101"},
                                                                 {"--min-share", "-5"},
                                                                 {"--min-share", "8O"}}) {
        std::vector<std::string> args = {"backtest", horseFile_};
        args.insert(args.end(), bad.begin(), bad.end());
        Outcome r = run(args);
        EXPECT_EQ(r.status, 1) << bad[0] << " " << bad[1];
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(bad[0]), std::string::npos) << r.err;
    }
}

TEST_F(BacktestCommand, AMissingHorseFileIsReported) {
    const std::string missing = (temp_ / "none" / "JracUmaj.dat").string();
    const Outcome r = run({"backtest", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(withoutTemp(r.err), u8(u8"ファイル TEMP/none/JracUmaj.dat は開けませんでした。\n"));
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(fs::exists(program_ / "HTML" / "ZelBacktest.html"));
}

} // namespace
} // namespace zelkor
