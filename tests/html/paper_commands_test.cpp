// Runs the built zelkor2k-cli's newspaper and predict-all commands on a
// generated race day.

#include "archive/archive_race_source.h"
#include "cli/cli_run.h"
#include "core/settings.h"
#include "html/newspaper_edition.h"
#include "html/newspaper_set.h"
#include "race/race_card.h"
#include "support/jv_generator.h"
#include "support/recording_prompt.h"
#include "text/cp932.h"
#include "text/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace zelkor::test;
namespace fs = std::filesystem;

using cli_test::Outcome;

class PaperCommands : public cli_test::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        fs::create_directories(temp_ / "card");
        // Races 1-12 at the first racecourse, 13-14 at the second.
        const JvRaceDay day = makeJvRaceDay(14, 400, 3);
        card_ = (temp_ / "card" / "JracDen1.dat").string();
        ASSERT_TRUE(writeJvRaceCard(card_, day.races));
        ASSERT_TRUE(writeJvHorseFile((temp_ / "card" / "JracUmaj.dat").string(), day.horses));
    }
    Outcome run(const std::string& line) { return ProgramFolderTest::run(cli_test::words(line)); }

    std::string card_;
};

TEST_F(PaperCommands, SetOfRacesPrintsTheIndexToOpenAndShowsProgress) {
    const Outcome o = run("paper " + card_ + " --races 13,2,14 --edition 3");
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string index = programFolder() + "HTML/Jv2026_0105/index.html";
    EXPECT_EQ(o.out, index + "\n");
    EXPECT_TRUE(fs::exists(index));
    EXPECT_TRUE(fs::exists(programFolder() + "HTML/Jv2026_0105/2026-0105menu.html"));
    EXPECT_EQ(std::distance(fs::directory_iterator(programFolder() + "HTML/Jv2026_0105"),
                            fs::directory_iterator{}),
              5);
    // The progress bar ends full; the texts name the files being written.
    EXPECT_NE(o.err.find("[####################] 100%"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find(cp932ToUtf8("を保存してます")), std::string::npos);
}

TEST_F(PaperCommands, OneRaceGoesToTheChosenPathInTheChosenEdition) {
    const std::string out = (temp_ / "one.html").string();
    const Outcome o = run("paper " + card_ + " --races 2 --edition 2 -o " + out);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, out + "\n");

    RecordingPrompt prompt;
    JvRaceCard race;
    ArchiveRaceSource source(card_, programFolder());
    ASSERT_TRUE(source.readRace(race, 2, prompt));
    EXPECT_EQ(readWholeFile(out).value_or(""),
              buildNewspaper(NewspaperEdition::Detailed, race, source, defaultSettings(),
                             programFolder(), prompt));
}

TEST_F(PaperCommands, WrongRaceListsAndEditionsAreRefused) {
    for (const char* arguments : {"--races 0", "--races 15", "--races 3-1", "--races x",
                                  "--races 1,,2", "--races 1 --edition 4", ""}) {
        const Outcome o = run("paper " + card_ + " " + arguments);
        EXPECT_EQ(o.status, 1) << arguments;
        EXPECT_FALSE(o.err.empty()) << arguments;
        EXPECT_TRUE(o.out.empty()) << arguments;
    }
    EXPECT_EQ(run("paper " + card_ + " --races 1,2 -o x.html").status, 1);
    EXPECT_FALSE(fs::exists(programFolder() + "HTML"));
}

TEST_F(PaperCommands, PredictAllPrintsTheIndexOfTheWholeDay) {
    const Outcome o = run("predict-all " + card_);
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string folder = programFolder() + "HTML/Jvzel2026_0105/";
    EXPECT_EQ(o.out, folder + "index.html\n");
    // 14 sports pages, the menu, the bets summary and the index.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 17);
    EXPECT_TRUE(fs::exists(folder + "2026-0105kaime.html"));
    EXPECT_NE(o.err.find("[####################] 100%"), std::string::npos);
}

TEST_F(PaperCommands, BlankFieldsShowZeroNeverThePreviousRecordsValues) {
    const JvRaceDay day = makeJvDayWithBlankFields();
    ASSERT_TRUE(writeJvRaceCard(card_, day.races));
    ASSERT_TRUE(writeJvHorseFile((temp_ / "card" / "JracUmaj.dat").string(), day.horses));
    RecordingPrompt prompt;
    JvRaceCard second;
    ArchiveRaceSource source(card_, programFolder());
    ASSERT_TRUE(source.readRace(second, 2, prompt));
    ASSERT_EQ(second.year, 0);

    // Every edition, as one page and within the set of both races.
    const std::string setFolder = programFolder() + "HTML/Jv0_1207/";
    for (int edition : {1, 2, 3}) {
        SCOPED_TRACE("edition " + std::to_string(edition));
        AppSettings settings = defaultSettings();
        settings.paperEdition = edition;
        const std::string expected = buildNewspaper(chosenPaperEdition(settings), second, source,
                                                    settings, programFolder(), prompt);
        EXPECT_NE(expected.find(">0.0<"), std::string::npos);
        EXPECT_EQ(expected.find("53.0"), std::string::npos);

        const std::string out = (temp_ / "one.html").string();
        const std::string number = std::to_string(edition);
        const Outcome one = run("paper " + card_ + " --races 2 --edition " + number + " -o " + out);
        ASSERT_EQ(one.status, 0) << one.err;
        EXPECT_EQ(readWholeFile(out).value_or(""), expected);

        const Outcome set = run("paper " + card_ + " --races all --edition " + number);
        ASSERT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(set.out, setFolder + "index.html\n");
        EXPECT_EQ(readWholeFile(setFolder + newspaperSetPageName(second)).value_or(""), expected);
    }
    EXPECT_TRUE(prompt.entries.empty());

    // Predict-all writes the second race under race number 0.
    const Outcome all = run("predict-all " + card_);
    ASSERT_EQ(all.status, 0) << all.err;
    const std::string folder = programFolder() + "HTML/Jvzel2026_1207/";
    EXPECT_EQ(all.out, folder + "index.html\n");
    EXPECT_TRUE(fs::exists(folder + cp932ToUtf8("Jvzel0-1207_京都0Rアトノ.html")));
    const std::string menu = readWholeFile(folder + "2026-1207menu.html").value_or("");
    EXPECT_NE(menu.find("<b>0R</b> アトノ特別"), std::string::npos);
}

TEST_F(PaperCommands, PredictAllOfAnEmptyCardFails) {
    ASSERT_TRUE(writeWholeFile(card_, ""));
    const Outcome o = run("predict-all " + card_);
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.empty());
    EXPECT_NE(o.err.find(cp932ToUtf8("出馬表にレースがありません")), std::string::npos);
    EXPECT_FALSE(fs::exists(programFolder() + "HTML"));
}

} // namespace
} // namespace zelkor
