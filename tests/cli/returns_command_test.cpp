// Runs the built zelkor2k-cli backtest over a generated store as a user would.

#include "cli_run.h"
#include "store/jvdata_store.h"
#include "support/season_store.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

class ReturnsCommand : public cli_test::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(test::importRecords(
            test::seasonRecords({.days = 2, .coursesPerDay = 1, .horses = 40}, &stats_),
            jvStorePath(program_.string() + "/")));
    }
    std::string day(size_t i) const { return std::to_string(stats_.dates.at(i)); }
    test::JvdSeasonStats stats_;
};

// Ctrl+C during a long import: a Japanese message, status 1, the store as it was.
TEST_F(ReturnsCommand, CtrlCStopsAnImportAndTheStoreStaysAsItWas) {
    const fs::path season = temp_ / "season.dat";
    std::ofstream(season, std::ios::binary) << test::seasonRecords({.days = 4, .horses = 400});
    const std::string store = jvStorePath(program_.string() + "/");
    const std::string before = cli_test::fileText(store);
    std::vector<std::string> args{"import", "--program-folder", program_.string()};
    args.insert(args.end(), 100, season.string()); // seconds of work
    // The store's side file shows the import under way, Ctrl+C caught.
    ASSERT_FALSE(fs::exists(store + "-shm"));
    const pid_t pid = cli_test::startCli(cli_, args, temp_);
    for (int i = 0; i < 3000 && !fs::exists(store + "-shm"); ++i)
        ::usleep(10000);
    ::kill(pid, SIGINT);
    const cli_test::Outcome r = cli_test::finishCli(pid, temp_);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, cli_test::u8(u8"取り込みをキャンセルしました。\n"
                                  u8"データベースは取り込む前のままです。\n"));
    EXPECT_EQ(cli_test::fileText(store), before);
}

TEST_F(ReturnsCommand, JsonOfASmallSeason) {
    const cli_test::Outcome r = run({"backtest", "--from", day(1), "--to", day(1), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, fixtureText("returns.json"));
    EXPECT_TRUE(fs::exists(program_ / "HTML" / "ZelReturns.html"));
}

TEST_F(ReturnsCommand, CsvHasOneRowPerTicket) {
    const std::string csv = (temp_ / "tickets.csv").string();
    const cli_test::Outcome r = run({"backtest", "--from", day(1), "--to", day(1), "--csv", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    // The tickets of returns.json: place pays 200 in all, quinella 900.
    EXPECT_EQ(cli_test::fileText(csv),
              "year,monthDay,courseCode,raceNumber,betType,combination,stake,return\r\n"
              "2025,0105,05,1,place,1,100,200\r\n2025,0105,05,1,quinella,1-3,100,0\r\n"
              "2025,0105,05,2,place,5,100,0\r\n2025,0105,05,2,quinella,5-8,100,900\r\n"
              "2025,0105,05,3,place,4,100,0\r\n2025,0105,05,3,quinella,4-11,100,0\r\n");
    EXPECT_EQ(run({"backtest", "--from", day(1), "--to", "2025011"}).status, 1);
}

} // namespace
} // namespace zelkor
