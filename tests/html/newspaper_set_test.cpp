// The newspaper set: file names, progress texts, the menu grouped by
// racecourse, the index and the single-race path.
#include "archive/race_card_file.h"
#include "html/newspaper_set.h"
#include "paper_test_data.h"
#include "race/race_card.h"
#include "text/cp932.h"
#include "text/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace zelkor::test;
namespace fs = std::filesystem;

TEST(NewspaperFileNames, SingleRaceDropsTheLeadingZeroOfTheDateWhileSetPagesKeepIt) {
    JvRaceCard race;
    race.year = 2001;
    race.monthDay = 616;
    race.courseName = "東京";
    race.raceNumber = 11;
    race.raceName = "テスト記念ステークス";
    race.shortName = "テスト";
    EXPECT_EQ(singleNewspaperFileName(race), "Jv2001-616_東京11Rテスト.html");
    // File names on this system are UTF-8.
    EXPECT_EQ(newspaperSetPageName(race), cp932ToUtf8("Jv2001-0616_東京11Rテスト.html"));
    EXPECT_EQ(newspaperSetFolder("/p/", race), "/p/HTML/Jv2001_0616/");

    // A separator in a name never sends the file to another folder; the
    // second byte of "ソ" is the byte of "\" and stays.
    race.shortName = "A/B:ソ";
    EXPECT_EQ(singleNewspaperFileName(race), "Jv2001-616_東京11RA_B_ソ.html");
    EXPECT_EQ(newspaperSetPageName(race), cp932ToUtf8("Jv2001-0616_東京11RA_B_ソ.html"));
    // A lead byte before "/" or a control character is no character.
    race.shortName = "\x81/\x1b\x81";
    EXPECT_EQ(newspaperSetPageName(race), cp932ToUtf8("Jv2001-0616_東京11R____.html"));
}

TEST(SavingProgressText, ThirtyByteLinesNeverSplitADoubleByteCharacter) {
    EXPECT_EQ(savingProgressText("/tmp/a.html"), "\"/tmp/a.html\"\r\nを保存してます");
    // Exactly 30 bytes with the quotes stay on one line.
    EXPECT_EQ(savingProgressText("/" + std::string(27, 'a')),
              "\"/" + std::string(27, 'a') + "\"\r\nを保存してます");
    EXPECT_EQ(savingProgressText("/" + std::string(28, 'a')),
              "\"/" + std::string(28, 'a') + "\r\n\"\r\nを保存してます");
    // "東" would take bytes 30 and 31: the line ends before it.
    EXPECT_EQ(savingProgressText(cp932ToUtf8("/" + std::string(27, 'a') + "東京.html")),
              "\"/" + std::string(27, 'a') + "\r\n東京.html\"\r\nを保存してます");

    const std::string longPath =
        cp932ToUtf8("/home/ユーザー/ゼルコ馬/HTML/Jv2026_0105/Jv2026-0105_東京11Rテスト.html");
    const std::string text = savingProgressText(longPath);
    std::string joined;
    size_t from = 0;
    for (size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2) {
        const std::string line = text.substr(from, end - from);
        EXPECT_LE(line.size(), 30u);
        EXPECT_TRUE(isValidCp932(line)) << cp932ToUtf8(line);
        joined += line;
    }
    EXPECT_EQ(text.substr(from), "を保存してます");
    EXPECT_EQ(joined, "\"" + utf8ToCp932(longPath) + "\"");
}

TEST(SetProgressPosition, EndsAtOneHundredForAnyCountWithoutOverflow) {
    EXPECT_EQ(setProgressPosition(1, 3), 33);
    EXPECT_EQ(setProgressPosition(3, 3), 100);
    EXPECT_EQ(setProgressPosition(0, 3), 0);
    EXPECT_EQ(setProgressPosition(1, 0), 0);
    // Far more races than an int times 100 holds.
    EXPECT_EQ(setProgressPosition(21474837, 21474837), 100);
    EXPECT_EQ(setProgressPosition(21474836, 42949672), 50);
    EXPECT_EQ(setProgressPosition(21474835, 42949672), 49);
}

TEST(ChosenPaperEdition, AnyOtherValueThanOneToThreeBecomesTheSimpleEdition) {
    AppSettings settings;
    settings.paperEdition = 3;
    EXPECT_EQ(chosenPaperEdition(settings), NewspaperEdition::WithPastResults);
    settings.paperEdition = 7;
    EXPECT_EQ(chosenPaperEdition(settings), NewspaperEdition::Simple);
    settings.paperEdition = -1;
    EXPECT_EQ(chosenPaperEdition(settings), NewspaperEdition::Simple);
}

JvRaceData namedRace(const std::string& courseCode, int raceNumber, const std::string& name) {
    JvRaceData race = testRace();
    race.courseCode = courseCode;
    race.raceNumber = raceNumber;
    race.raceName = name;
    race.shortName = "";
    race.runners.resize(1);
    return race;
}

class NewspaperSet : public ::testing::Test {
  protected:
    void SetUp() override {
        // Tokyo, Nakayama, Tokyo: the racecourses alternate in card order.
        cardPath = writeTestCard(dir.path(),
                                 {namedRace("05", 1, "一番レース"), namedRace("06", 1, "中山一番"),
                                  namedRace("05", 2, "二番レース"), namedRace("06", 2, "中山二番")},
                                 {redStar()});
        folder = dir.path() + "HTML/Jv2026_0105/";
    }

    std::string pagePath(const std::string& cp932Name) const {
        return folder + cp932ToUtf8(cp932Name);
    }

    PaperTestDir dir;
    std::string cardPath;
    std::string folder;
    RecordingPrompt prompt;
    RecordingProgress progress;
    RecordingShell shell;
};

TEST_F(NewspaperSet, MenuGroupsByRacecourseAtEveryChangeAndTheIndexShowsTheLastSelectedRace) {
    AppSettings settings = paperSettings(0, 0, 0, 2);
    // Selection order does not matter: the races are written in card order.
    const std::string index =
        newspaperSetOf(cardPath, {3, 1, 2}, settings, dir.path(), prompt, progress, shell);
    EXPECT_EQ(index, folder + "index.html");
    EXPECT_EQ(shell.documents, std::vector<std::string>{index});

    EXPECT_EQ(
        readWholeFile(index).value_or(""),
        framedIndex("2026 0105 Race List from JRA-VAN", "Jv2026-0105_%E6%9D%B1%E4%BA%AC2R.html"));

    const std::string at = "file://" + folder + "Jv2026-0105_";
    EXPECT_EQ(readWholeFile(folder + "2026-0105menu.html").value_or(""),
              "<HTML>\r\n<HEAD>\r\n" + kMeta +
                  "\r\n<TITLE></TITLE></HEAD>\r\n<BODY bgcolor=dddddd><br>\r\n"
                  "<center><h2>2026年<br>1月5日<br>競走一覧</h2></center>\r\n" +
                  menuGroup("東京", at + "%E6%9D%B1%E4%BA%AC1R.html", "1R", "一番レース") +
                  menuGroup("中山", at + "%E4%B8%AD%E5%B1%B11R.html", "1R", "中山一番") +
                  menuGroup("東京", at + "%E6%9D%B1%E4%BA%AC2R.html", "2R", "二番レース") +
                  "\r\n</BODY>\r\n</HTML>");

    // One page per selected race, in the chosen edition; race 4 was not selected.
    JvRaceCard race;
    ASSERT_TRUE(readRace(race, cardPath, 2, dir.path()));
    EXPECT_EQ(readWholeFile(pagePath("Jv2026-0105_中山1R.html")).value_or(""),
              newspaperOf(NewspaperEdition::Detailed, race, settings, dir.path(), prompt));
    EXPECT_TRUE(fs::exists(pagePath("Jv2026-0105_東京1R.html")));
    EXPECT_TRUE(fs::exists(pagePath("Jv2026-0105_東京2R.html")));
    EXPECT_FALSE(fs::exists(pagePath("Jv2026-0105_中山2R.html")));

    ASSERT_FALSE(progress.texts.empty());
    EXPECT_EQ(progress.texts.front(), "\"" + utf8ToCp932(index) + "\"を保存してます");
    EXPECT_EQ(progress.texts.back(), savingProgressText(pagePath("Jv2026-0105_東京2R.html")));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 33, 66, 100}));
}

TEST_F(NewspaperSet, OutOfRangeEditionIsWrittenAsTheSimpleOne) {
    AppSettings settings = paperSettings(0, 0, 0, 9);
    newspaperSetOf(cardPath, {1, 4}, settings, dir.path(), prompt, progress, shell);
    JvRaceCard race;
    ASSERT_TRUE(readRace(race, cardPath, 4, dir.path()));
    EXPECT_EQ(readWholeFile(pagePath("Jv2026-0105_中山2R.html")).value_or(""),
              newspaperOf(NewspaperEdition::Simple, race, settings, dir.path(), prompt));
}

// The last selected race fixes the day: with none, or one beyond the card
// (told once), there is no set.
TEST_F(NewspaperSet, NoRaceOrALastRaceBeyondTheCardWritesNothing) {
    AppSettings settings = paperSettings(0, 0, 0, 1);
    const std::pair<std::vector<int>, size_t> cases[] = {{{}, 0}, {{0, -3}, 0}, {{1, 9}, 1}};
    for (const auto& [chosen, toldSoFar] : cases) {
        EXPECT_EQ(newspaperSetOf(cardPath, chosen, settings, dir.path(), prompt, progress, shell),
                  "");
        EXPECT_EQ(prompt.entries.size(), toldSoFar) << chosen.size();
    }
    EXPECT_TRUE(shell.documents.empty());
    EXPECT_TRUE(progress.texts.empty());
    EXPECT_FALSE(fs::exists(dir.path() + "HTML"));
}

TEST_F(NewspaperSet, ProgressEndsAtOneHundredForMoreThanOneHundredRaces) {
    std::vector<JvRaceData> races;
    for (int r = 0; r < 120; ++r)
        races.push_back(namedRace(r % 2 ? "05" : "06", r / 2 % 12 + 1, "レース"));
    const std::string card = writeTestCard(dir.path(), races, {redStar()});
    std::vector<int> all;
    for (int r = 1; r <= 120; ++r)
        all.push_back(r);
    AppSettings settings = paperSettings(0, 0, 0, 1);
    newspaperSetOf(card, all, settings, dir.path(), prompt, progress, shell);
    ASSERT_EQ(progress.positions.size(), 121u);
    EXPECT_EQ(progress.positions.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
    EXPECT_GT(progress.positions[60], 0);
}

TEST_F(NewspaperSet, FilesThatCannotBeWrittenAreNamedInOneMessage) {
    // A file where the HTML folder should be: no page of the set can be written.
    ASSERT_TRUE(writeWholeFile(dir.path() + "HTML", "not a folder"));
    AppSettings settings = paperSettings(0, 0, 0, 1);
    const std::string index =
        newspaperSetOf(cardPath, {1, 2}, settings, dir.path(), prompt, progress, shell);
    EXPECT_EQ(index, folder + "index.html");
    EXPECT_EQ(prompt.onlyText(), "次のファイルに書き込めませんでした\r\n" + folder +
                                     "index.html\r\n" + folder + "Jv2026-0105_東京1R.html\r\n" +
                                     folder + "Jv2026-0105_中山1R.html\r\n" + folder +
                                     "2026-0105menu.html");
    EXPECT_EQ(shell.documents, std::vector<std::string>{index});

    // Every file written: nothing to say.
    RecordingPrompt quiet;
    newspaperSetOf(cardPath, {1, 2}, settings, dir.path() + "elsewhere/", quiet, progress, shell);
    EXPECT_TRUE(quiet.entries.empty());
}

TEST(UnwrittenFiles, ManyFilesAreCountedAfterTheFirstFive) {
    UnwrittenFiles unwritten;
    for (int i = 1; i <= 8; ++i)
        unwritten.note(i == 3, "/set/page" + std::to_string(i) + ".html");
    RecordingPrompt prompt;
    unwritten.report(prompt);
    EXPECT_EQ(prompt.onlyText(), "次のファイルに書き込めませんでした\r\n/set/page1.html\r\n/set/"
                                 "page2.html\r\n/set/page4.html\r\n/set/page5.html\r\n/set/"
                                 "page6.html\r\nほか 2 個");
}

TEST_F(NewspaperSet, SingleRaceIsOpenedWhateverTheWriterReturned) {
    JvRaceCard race;
    ArchiveRaceSource source(cardPath, dir.path());
    ASSERT_TRUE(source.readRace(race, 3, prompt));
    AppSettings settings = paperSettings(1, 1, 1, 0);
    const std::string path = dir.file("chosen.html");
    EXPECT_TRUE(writeSingleNewspaper(race, source, settings, dir.path(), path, prompt, shell));
    EXPECT_EQ(readWholeFile(path).value_or(""),
              newspaperOf(NewspaperEdition::Simple, race, settings, dir.path(), prompt));

    const std::string unwritable = dir.file("no-such-folder/chosen.html");
    EXPECT_FALSE(
        writeSingleNewspaper(race, source, settings, dir.path(), unwritable, prompt, shell));
    EXPECT_EQ(prompt.entries.back().text, "ファイル '" + unwritable + "' に書き込めませんでした");
    EXPECT_EQ(shell.documents, (std::vector<std::string>{path, unwritable}));
}

// A race read into the card of the race before shows 0 for its blank
// fields in every edition, in its page name and in the menu.
TEST(NewspaperSetWithBlankFields, EveryEditionShowsZeroNeverThePreviousRecordsValues) {
    const JvRaceDay day = makeJvDayWithBlankFields();
    for (int edition : {1, 2, 3}) {
        SCOPED_TRACE("edition " + std::to_string(edition));
        PaperTestDir dir;
        RecordingPrompt prompt;
        RecordingProgress progress;
        RecordingShell shell;
        const std::string card = writeTestCard(dir.path(), day.races, day.horses);
        AppSettings settings = paperSettings(0, 0, 0, edition);
        // The last selected race, the second, names the set's folder.
        const std::string index =
            newspaperSetOf(card, {1, 2}, settings, dir.path(), prompt, progress, shell);
        const std::string folder = dir.path() + "HTML/Jv0_1207/";
        EXPECT_EQ(index, folder + "index.html");
        EXPECT_TRUE(prompt.entries.empty());

        JvRaceCard second;
        ASSERT_TRUE(readRace(second, card, 2, dir.path()));
        EXPECT_EQ(newspaperSetPageName(second), cp932ToUtf8("Jv0-1207_京都0Rアトノ.html"));
        const std::string page = readWholeFile(folder + newspaperSetPageName(second)).value_or("");
        EXPECT_EQ(page,
                  newspaperOf(chosenPaperEdition(settings), second, settings, dir.path(), prompt));
        // Runner 2 carries 0.0 kg (not the first race's 53.0) and, its last
        // run having no finish, is not marked 替; runner 1 is.
        EXPECT_NE(page.find(">0.0<"), std::string::npos);
        EXPECT_EQ(page.find("53.0"), std::string::npos);
        const std::string mark = "<font size=2>替</font>";
        size_t marks = 0;
        for (size_t at = page.find(mark); at != std::string::npos; at = page.find(mark, at + 1))
            ++marks;
        EXPECT_EQ(marks, 1u);
        if (edition == 3) {
            // The blank run: finish 0, 0th favourite, time 0 (not 2, 3 and 1345).
            EXPECT_NE(page.find("<font size=4><b>0</b></font>"), std::string::npos);
            EXPECT_NE(page.find("頭0人<br>"), std::string::npos);
            EXPECT_NE(page.find("<b> 0</b>"), std::string::npos);
        }

        const std::string menu = readWholeFile(folder + "0-1207menu.html").value_or("");
        EXPECT_NE(menu.find("<b>0R</b> アトノ特別"), std::string::npos);
        EXPECT_NE(menu.find("<b>9R</b> サキノ特別"), std::string::npos);
        EXPECT_NE(menu.find("<h2>0年<br>12月7日"), std::string::npos);
    }
}

} // namespace
} // namespace zelkor
