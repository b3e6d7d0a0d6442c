// Runs the built zelkor2k-cli's page commands as a user would.
#include "core/prediction_file.h"
#include "core/scoring.h"
#include "core/settings.h"
#include "html/race_sheet_page.h"
#include "html/sports_page.h"
#include "html_test_sheets.h"
#include "support/recording_prompt.h"
#include "text/file_io.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zelkor {
namespace {

using namespace zelkor::test;
namespace fs = std::filesystem;

class PageCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("ZELKOR_BIN_DIR");
        cli_ = fs::path(bin ? bin : ZELKOR_TEST_BIN_DIR) / "zelkor2k-cli";
        ASSERT_TRUE(fs::exists(cli_)) << cli_;
        folder_ =
            fs::temp_directory_path() / ("zelkor-page-commands-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        zel_ = (folder_ / "race.zel").string();
        RecordingPrompt prompt;
        ASSERT_TRUE(writePredictionFile(fourRunnerSheet(), zel_, prompt));
    }
    void TearDown() override { fs::remove_all(folder_); }

    int run(const std::string& arguments) {
        const std::string command = cli_.string() + " " + arguments + " --program-folder " +
                                    folder() + " >/dev/null 2>" + (folder_ / "err.txt").string();
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string folder() const { return folder_.string() + "/"; }
    RaceSheet loadedSheet() const {
        RaceSheet sheet;
        RecordingPrompt prompt;
        EXPECT_TRUE(readPredictionFile(sheet, zel_, prompt));
        return sheet;
    }

    fs::path cli_;
    fs::path folder_;
    std::string zel_;
};

TEST_F(PageCommands, SheetCommandWritesTheRaceSheetPageWithTheFolderSettings) {
    AppSettings settings = defaultSettings();
    settings.sportsShowImages = 0;
    settings.sportsLinkNames = 0;
    ASSERT_TRUE(writeSettings(settings, folder() + kConfigFileName));
    const std::string out = (folder_ / "sheet.html").string();
    ASSERT_EQ(run("sheet " + zel_ + " -o " + out), 0)
        << *readWholeFile((folder_ / "err.txt").string());
    EXPECT_EQ(readWholeFile(out), buildRaceSheetPage(loadedSheet(), settings, folder()));

    EXPECT_EQ(run("sheet " + zel_), 1); // no -o
    EXPECT_EQ(run("sheet " + zel_ + " -o " + folder() + "missing/x.html"), 1);
    EXPECT_NE(readWholeFile((folder_ / "err.txt").string())->find("missing/x.html"),
              std::string::npos);
}

TEST_F(PageCommands, SportsCommandScoresTheRaceAndUsesDefaultsWithoutConfig) {
    const std::string out = (folder_ / "sports.html").string();
    const std::time_t before = std::time(nullptr);
    ASSERT_EQ(run("sports " + zel_ + " -o " + out), 0);
    std::tm local{};
    localtime_r(&before, &local);

    RaceSheet sheet = loadedSheet();
    scoreRace(sheet);
    EXPECT_EQ(readWholeFile(out), buildSportsPage(sheet, defaultSettings(), folder(), local));
    EXPECT_FALSE(fileExists(folder() + kConfigFileName)); // only read, never created
    EXPECT_EQ(run("sports " + folder() + "none.zel -o " + out), 1);
}

} // namespace
} // namespace zelkor
