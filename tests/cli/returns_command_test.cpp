// Runs the built zelkor2k-cli backtest over a generated store as a user would.

#include "cli_run.h"
#include "store/jvdata_store.h"
#include "support/season_store.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

class ReturnsCommand : public cli_test::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        test::JvdSeasonPlan plan;
        plan.days = 2;
        plan.coursesPerDay = 1;
        plan.horses = 40;
        ASSERT_TRUE(test::importRecords(test::seasonRecords(plan, &stats_),
                                        jvStorePath(program_.string() + "/")));
    }
    std::string expected(const std::string& name) const {
        return cli_test::fileText(source_ / "tests/cli/fixtures" / name);
    }
    std::string day(size_t i) const { return std::to_string(stats_.dates.at(i)); }
    test::JvdSeasonStats stats_;
};

TEST_F(ReturnsCommand, JsonOfASmallSeason) {
    const cli_test::Outcome r = run({"backtest", "--from", day(1), "--to", day(1), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected("returns.json"));
    EXPECT_TRUE(fs::exists(program_ / "HTML" / "ZelReturns.html"));
}

TEST_F(ReturnsCommand, CsvHasOneRowPerTicket) {
    const std::string csv = (temp_ / "tickets.csv").string();
    const cli_test::Outcome r = run({"backtest", "--from", day(1), "--to", day(1), "--csv", csv});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string rows = cli_test::fileText(csv);
    EXPECT_EQ(rows.substr(0, rows.find("\r\n")),
              "year,monthDay,courseCode,raceNumber,betType,combination,stake,return");
    EXPECT_EQ(run({"backtest", "--from", day(1), "--to", "2025011"}).status, 1);
}

} // namespace
} // namespace zelkor
