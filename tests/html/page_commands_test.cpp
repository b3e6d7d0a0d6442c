// Runs the built zelkor2k-cli's page commands as a user would.
#include "cli/cli_run.h"
#include "core/prediction_file.h"
#include "core/scoring.h"
#include "core/settings.h"
#include "html/race_sheet_page.h"
#include "html/sports_page.h"
#include "html_test_sheets.h"
#include "support/recording_prompt.h"
#include "text/file_io.h"

#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace zelkor::test;
namespace fs = std::filesystem;

class PageCommands : public cli_test::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        RecordingPrompt prompt;
        ASSERT_TRUE(writePredictionFile(fourRunnerSheet(), zel_, prompt));
    }
    int run(const std::string& line) {
        const cli_test::Outcome outcome = ProgramFolderTest::run(cli_test::words(line));
        err_ = outcome.err;
        return outcome.status;
    }
    RaceSheet loadedSheet() const {
        RaceSheet sheet;
        RecordingPrompt prompt;
        EXPECT_TRUE(readPredictionFile(sheet, zel_, prompt));
        return sheet;
    }

    std::string zel_ = (temp_ / "race.zel").string();
    std::string err_;
};

TEST_F(PageCommands, SheetCommandWritesTheRaceSheetPageWithTheFolderSettings) {
    AppSettings settings = defaultSettings();
    settings.sportsShowImages = 0;
    settings.sportsLinkNames = 0;
    ASSERT_TRUE(writeSettings(settings, programFolder() + kConfigFileName));
    const std::string out = (temp_ / "sheet.html").string();
    ASSERT_EQ(run("sheet " + zel_ + " -o " + out), 0) << err_;
    EXPECT_EQ(readWholeFile(out), buildRaceSheetPage(loadedSheet(), settings, programFolder()));

    EXPECT_EQ(run("sheet " + zel_), 1); // no -o
    EXPECT_EQ(run("sheet " + zel_ + " -o " + programFolder() + "missing/x.html"), 1);
    EXPECT_NE(err_.find("missing/x.html"), std::string::npos);
}

TEST_F(PageCommands, SportsCommandScoresTheRaceAndUsesDefaultsWithoutConfig) {
    const std::string out = (temp_ / "sports.html").string();
    const std::time_t before = std::time(nullptr);
    ASSERT_EQ(run("sports " + zel_ + " -o " + out), 0);
    std::tm local{};
    localtime_r(&before, &local);

    RaceSheet sheet = loadedSheet();
    scoreRace(sheet);
    EXPECT_EQ(readWholeFile(out),
              buildSportsPage(sheet, defaultSettings(), programFolder(), local));
    EXPECT_FALSE(fileExists(programFolder() + kConfigFileName)); // only read, never created
    EXPECT_EQ(run("sports " + programFolder() + "none.zel -o " + out), 1);
}

} // namespace
} // namespace zelkor
