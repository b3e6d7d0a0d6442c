#include "core/settings.h"
#include "support/temp_folder.h"
#include "text/file_io.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
  protected:
    std::string fileText() const { return readWholeFile(path).value_or("<missing>"); }
    void writeFile(const std::string& text) const { ASSERT_TRUE(writeWholeFile(path, text)); }
    // Writes `written` and reads it back over settings that differ from it.
    AppSettings reread(const AppSettings& written) const {
        EXPECT_TRUE(writeSettings(written, path));
        AppSettings read;
        read.dbUrl2 = "stale";
        EXPECT_TRUE(readSettings(read, path));
        return read;
    }

    test::TempFolder temp{"zelkor-settings"};
    std::string dir = temp.dir();
    std::string path = temp.file(kConfigFileName);
};

const std::string kDefaultFile =
    "Zelkor sports Image file=1\r\n"
    "Zelkor sports Name DB link=1\r\n"
    "JRA-VAN Newsp Image file=1\r\n"
    "JRA-VAN Newsp How Read=1\r\n"
    "JRA-VAN Newsp Name DB link=1\r\n"
    "JRA-VAN Newsp kind=1\r\n"
    "JRA-VAN Newsp race=5\r\n"
    "DataBase URL1=https://www.google.com/search?ie=Shift_JIS&q=site%3Adb.netkeiba.com+\r\n"
    "DataBase URL2=\r\n"
    "DataBase Default Name=duverovu\r\n"
    "HELPER=1\r\n"
    "Value threshold=110\r\n";

TEST_F(SettingsFile, MissingFileGivesDefaultsAndWritesThem) {
    AppSettings settings;
    EXPECT_TRUE(readSettings(settings, path));
    EXPECT_EQ(settings, defaultSettings());
    EXPECT_EQ(fileText(), kDefaultFile);

    // The start-up clears the first-use flag and writes again.
    settings.showFirstUseMessage = false;
    ASSERT_TRUE(writeSettings(settings, path));
    std::string expected = kDefaultFile;
    expected.replace(expected.find("HELPER=1"), 8, "HELPER=0");
    EXPECT_EQ(fileText(), expected);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(SettingsFile, RoundTripKeepsEveryValueInItsField) {
    AppSettings written;
    written.sportsShowImages = false;
    written.sportsLinkNames = true;
    written.paperShowImages = true;
    written.paperHowToRead = false;
    written.paperLinkNames = true;
    written.paperEdition = 3;
    written.paperPastRuns = -2147483647 - 1;
    // Long texts are kept whole.
    written.dbUrl1 = "http://example.test/?q= with blanks " + std::string(600, 'a') + "?key=";
    written.dbUrl2 = "";
    written.dbTestName = "メジロマックイーン";
    for (int i = 0; i < 150; ++i)
        written.dbTestName += "ア";
    written.showFirstUseMessage = false;
    written.valueThreshold = 125;
    EXPECT_EQ(reread(written), written);
}

TEST_F(SettingsFile, OutOfRangeNumbersAreReadAsTheyAreAndFlagsAsOnOrOff) {
    writeFile("Zelkor sports Image file=  -3\r\n"
              "Zelkor sports Name DB link=+4\r\n"
              "JRA-VAN Newsp Image file=12abc\r\n"
              "JRA-VAN Newsp How Read=0\r\n"
              "JRA-VAN Newsp Name DB link=1\r\n"
              "JRA-VAN Newsp kind=7\r\n"
              "JRA-VAN Newsp race=0\r\n");
    AppSettings settings;
    EXPECT_TRUE(readSettings(settings, path));
    EXPECT_TRUE(settings.sportsShowImages && settings.sportsLinkNames && settings.paperShowImages);
    EXPECT_FALSE(settings.paperHowToRead);
    EXPECT_EQ(settings.paperEdition, 7);
    EXPECT_EQ(settings.paperPastRuns, 0);
    // Missing lines leave their fields as they were.
    EXPECT_EQ(settings.dbUrl1, "");
    EXPECT_FALSE(settings.showFirstUseMessage);
    EXPECT_EQ(valueThresholdOf(settings), 1.10); // a file from before the threshold
    // A flag is written back as 1.
    ASSERT_TRUE(writeSettings(settings, path));
    EXPECT_EQ(fileText().substr(0, 27), "Zelkor sports Image file=1\r");
}

TEST_F(SettingsFile, LineWithTheWrongKeyLeavesItsField) {
    AppSettings settings = defaultSettings();
    settings.dbUrl1 = "before";
    writeFile("Zelkor sports Image file=0\n"
              "zelkor sports name db link=0\n"           // case differs
              "JRA-VAN Newsp Image file =0\n"            // blank before "="
              "JRA-VAN Newsp How Read=\n"                // no number
              "JRA-VAN Newsp Name DB link=99999999999\n" // beyond int
              "JRA-VAN Newsp kind\n"
              "JRA-VAN Newsp race=3\n"
              "DataBase URL2=x\n" // line 8 belongs to URL1
              "DataBase URL2=after\n"
              "DataBase Default Name=\n"
              "HELPER=0\n");
    EXPECT_TRUE(readSettings(settings, path));
    AppSettings expected = defaultSettings();
    expected.sportsShowImages = false;
    expected.paperPastRuns = 3;
    expected.dbUrl1 = "before";
    expected.dbUrl2 = "after";
    expected.dbTestName = "";
    expected.showFirstUseMessage = false;
    EXPECT_EQ(settings, expected);
    // An existing file is not rewritten by reading.
    EXPECT_EQ(fileText().substr(0, 27), "Zelkor sports Image file=0\n");
}

TEST_F(SettingsFile, LineBreaksInsideTextsDoNotShiftTheFollowingLines) {
    AppSettings settings = defaultSettings();
    settings.dbUrl2 = "&x=1\r\n&y=2";
    settings.dbTestName = "name\n";
    const AppSettings read = reread(settings);
    EXPECT_EQ(read.dbUrl2, "&x=1&y=2");
    EXPECT_EQ(read.dbTestName, "name");
    EXPECT_EQ(read.showFirstUseMessage, 1);
}

TEST_F(SettingsFile, UnwritableFolderKeepsTheSettingsInMemory) {
    const std::string missing = (fs::path(dir) / "no-such-folder" / kConfigFileName).string();
    AppSettings settings;
    EXPECT_TRUE(readSettings(settings, missing));
    EXPECT_EQ(settings, defaultSettings());
    EXPECT_FALSE(writeSettings(settings, missing));
    EXPECT_FALSE(fs::exists(fs::path(dir) / "no-such-folder"));
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFile) {
    ASSERT_TRUE(writeSettings(defaultSettings(), path));
    // A folder in place of the file: the rename fails.
    const std::string folderPath = (fs::path(dir) / "asFolder").string();
    fs::create_directories(fs::path(folderPath) / "inner");
    EXPECT_FALSE(writeSettings(defaultSettings(), folderPath));
    EXPECT_TRUE(fs::is_directory(folderPath));
    EXPECT_EQ(fileText(), kDefaultFile);
}

TEST_F(SettingsFile, AFileThatCannotBeReadIsToldAndNeverReplaced) {
    // A folder, a FIFO (which must not block) and an oversized file.
    const std::function<void()> makers[] = {
        [&] { fs::create_directory(path); },
        [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
        [&] { writeFile("HELPER=1\r\n" + std::string(kSettingsFileLimit, 'x')); },
    };
    for (const auto& make : makers) {
        fs::remove_all(path);
        make();
        const auto before = fs::status(path).type();
        const std::string text = fs::is_regular_file(path) ? fileText() : "";
        AppSettings settings;
        const Result<SettingsFileState> read = readSettings(settings, path);
        EXPECT_FALSE(read);
        AppSettings expected = defaultSettings();
        expected.showFirstUseMessage = 0;
        EXPECT_EQ(settings, expected);
        EXPECT_EQ(read.message(),
                  "設定ファイル'" + path + "'を読み込めませんでした\r\n今回は初期設定を使います");
        EXPECT_FALSE(writeSettings(settings, path));
        EXPECT_EQ(fs::status(path).type(), before);
        EXPECT_EQ(fs::is_regular_file(path) ? fileText() : "", text);
    }
}

} // namespace
} // namespace zelkor
