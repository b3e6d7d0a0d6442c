// Predict-all: every race of the card loaded, scored and written, the bets
// summary, the menu and the index; the last race stays loaded.
#include "archive/race_card_file.h"
#include "core/scoring.h"
#include "html/predict_all.h"
#include "html/sports_page.h"
#include "paper_test_data.h"
#include "race/race_card.h"
#include "race/race_loader.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace zelkor::test;
namespace fs = std::filesystem;

JvHorseData horse(const std::string& id, const std::string& name, int finish) {
    JvHorseData h = redStar();
    h.id = id;
    h.name = name;
    h.runs[0].finish = finish;
    h.runs[1].finish = finish;
    return h;
}

JvRunnerData runner(const std::string& id, const std::string& name) {
    JvRunnerData r;
    r.horseId = id;
    r.horseName = name;
    return r;
}

JvRaceData race(const std::string& courseCode, int raceNumber, const std::string& name,
                std::vector<JvRunnerData> runners) {
    JvRaceData raceData = testRace();
    raceData.courseCode = courseCode;
    raceData.raceNumber = raceNumber;
    raceData.raceName = name;
    raceData.shortName = "";
    raceData.runners = std::move(runners);
    return raceData;
}

std::tm saturday() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_wday = 1;
    return t;
}

class PredictAll : public ::testing::Test {
  protected:
    void SetUp() override {
        // Tokyo, Nakayama, Tokyo. The first race has one runner, so its
        // prediction keeps no quinella pair.
        cardPath = writeTestCard(
            dir.path(),
            {race("05", 1, "一番レース", {runner("2022100001", "アカイホシ")}),
             race("06", 5, "中山五番",
                  {runner("2022100002", "アオイソラ"), runner("2022100003", "キイロイハナ"),
                   runner("2022100004", "シロイクモ")}),
             race("05", 9, "九番特別",
                  {runner("2022100003", "キイロイハナ"), runner("2022100001", "アカイホシ")})},
            {redStar(), horse("2022100002", "アオイソラ", 5),
             horse("2022100003", "キイロイハナ", 9), horse("2022100004", "シロイクモ", 1)});
        folder = dir.path() + "HTML/Jvzel2026_0105/";
        settings = paperSettings(0, 0, 0);
    }

    std::string run(const PredictAllRaceHook& hook = {}) {
        return predictAllOf(cardPath, sheet, currentRace, settings, dir.path(), saturday(), prompt,
                            progress, shell, hook);
    }

    // The race as the program would predict it on its own.
    RaceSheet scored(int position) {
        JvRaceCard card;
        EXPECT_TRUE(readRace(card, cardPath, position, dir.path()));
        RaceSheet s;
        loadRaceOf(s, card, prompt);
        scoreRace(s);
        return s;
    }

    PaperTestDir dir;
    std::string cardPath;
    std::string folder;
    AppSettings settings;
    RaceSheet sheet;
    JvRaceCard currentRace;
    RecordingPrompt prompt;
    RecordingProgress progress;
    RecordingShell shell;
};

TEST_F(PredictAll, IndexFirstShowsTheCardsFirstRaceAndIsOpened) {
    const std::string index = run();
    EXPECT_EQ(index, folder + "index.html");
    EXPECT_EQ(shell.documents, std::vector<std::string>{index});
    EXPECT_EQ(readWholeFile(index).value_or(""),
              framedIndex("2026 0105 ゼルコ馬予想 from JRA-VAN",
                          "Jvzel2026-0105_%E6%9D%B1%E4%BA%AC1R.html"));
}

TEST_F(PredictAll, MenuLinksTheSummaryAndGroupsTheRacesByRacecourse) {
    run();
    const std::string address = "file://" + folder, at = address + "Jvzel2026-0105_";
    EXPECT_EQ(
        readWholeFile(folder + "2026-0105menu.html").value_or(""),
        "<HTML>\r\n<HEAD>\r\n" + kMeta +
            "\r\n<TITLE></TITLE></HEAD>\r\n<BODY bgcolor=dddddd><br>\r\n"
            "<center><h2>2026年<br>1月5日<br>ゼルコ馬予想一覧</h2></center><br><br>\r\n"
            "<center><a href=\"" +
            address +
            "2026-0105kaime.html\" target=\"NEWS\">ゼルコ馬・買い目一覧</a></center><br>\r\n" +
            menuGroup("東京", at + "%E6%9D%B1%E4%BA%AC1R.html", "1R", "一番レース") +
            menuGroup("中山", at + "%E4%B8%AD%E5%B1%B15R.html", "5R", "中山五番") +
            menuGroup("東京", at + "%E6%9D%B1%E4%BA%AC9R.html", "9R", "九番特別") +
            "</BODY></HTML>");
}

TEST_F(PredictAll, SummaryListsEveryRaceWithAnEmptyQuinellaCellWhereNoPairIsKept) {
    run();
    const RaceSheet first = scored(1);
    ASSERT_EQ(first.result.quinellaCount, 0);
    std::string expected =
        "<HTML>\r\n<HEAD>\r\n" + kMeta +
        "\r\n<TITLE>ゼルコ馬・買い目一覧</TITLE></HEAD>\r\n<BODY bgcolor=dddddd><br>\r\n"
        "<center><h2>2026年<br>1月5日<br>ゼルコ馬・買い目一覧</h2></center><br><br>\r\n"
        "<table border=1><tr BGCOLOR=9999cc><td><font size=2>レース名</font></td><td>ゼルコ馬</"
        "td><td>ZEL度</td><td>複勝</td><td>馬連</td></tr>\r\n" +
        format("<tr><td><font size=2>東京 1R 一番レース</font></td><td>アカイホシ</td><td><font "
               "size=2>%d</font></td><td>1　\r\n</td><td></td></tr>\r\n",
               first.result.score(1));
    // The other races as the program predicts them on their own.
    for (int position : {2, 3}) {
        const RaceSheet s = scored(position);
        const PredictionResult& r = s.result;
        std::string places, pairs;
        for (int i = 1; i <= r.darkHorseCount; ++i)
            places += format("%d　\r\n", r.horseAt(i));
        for (int i = 0; i < r.quinellaCount; ++i)
            pairs += format("<nobr>%d-%d</nobr>　", r.quinellaPairs[i][0], r.quinellaPairs[i][1]);
        expected += format("<tr><td><font size=2>%s %dR %s</font></td><td>%s</td><td><font "
                           "size=2>%d</font></td><td>%s</td><td>%s</td></tr>\r\n",
                           s.racecourse.c_str(), s.raceNumber, s.raceName.c_str(),
                           s.runner(r.horseAt(1)).name.c_str(), r.score(r.horseAt(1)),
                           places.c_str(), pairs.c_str());
    }
    expected += "</table></BODY></HTML>";
    EXPECT_EQ(readWholeFile(folder + "2026-0105kaime.html").value_or(""), expected);
}

TEST_F(PredictAll, EveryRaceIsWrittenAsItsSportsPageAndTheLastStaysLoaded) {
    std::vector<std::string> shown;
    run([&](const JvRaceCard& race, RaceSheet& s) {
        shown.push_back(race.raceName);
        EXPECT_EQ(s.raceName, race.raceName);
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"一番レース", "中山五番", "九番特別"}));

    for (int position : {1, 2, 3}) {
        const RaceSheet s = scored(position);
        JvRaceCard card;
        ASSERT_TRUE(readRace(card, cardPath, position, dir.path()));
        EXPECT_EQ(readWholeFile(folder + predictAllPageName(card)).value_or(""),
                  buildSportsPage(s, settings, dir.path(), saturday()))
            << position;
    }

    // The main window's race is the working race after the last read, which
    // was reused for every race of the card.
    JvRaceCard last;
    for (int position : {1, 2, 3})
        ASSERT_TRUE(readRace(last, cardPath, position, dir.path()));
    EXPECT_EQ(currentRace, last);
    const RaceSheet expected = scored(3);
    EXPECT_EQ(sheet.raceName, "九番特別");
    EXPECT_EQ(sheet.liveRunnerCount, 2);
    for (int h = 1; h <= 2; ++h)
        EXPECT_EQ(sheet.runner(h), expected.runner(h)) << h;
    EXPECT_EQ(sheet.result, expected.result);

    // Three races: the bar still ends at 100 (a fixed step of 33 would not).
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 33, 66, 100}));
    EXPECT_EQ(progress.texts.size(), 4u);
}

// Two races whose pages have one name: the page is written once, with the
// later race, and both races stay in the menu.
TEST_F(PredictAll, APageNamedByTwoRacesHoldsTheLaterOne) {
    cardPath = writeTestCard(dir.path(),
                             {race("05", 9, "九番特別", {runner("2022100001", "アカイホシ")}),
                              race("05", 9, "九番二度目", {runner("2022100002", "アオイソラ")})},
                             {redStar(), horse("2022100002", "アオイソラ", 5)});
    run();
    const std::string page = folder + "Jvzel2026-0105_" + cp932ToUtf8("東京") + "9R.html";
    EXPECT_EQ(readWholeFile(page).value_or(""),
              buildSportsPage(scored(2), settings, dir.path(), saturday()));
    const std::string menu = readWholeFile(folder + "2026-0105menu.html").value_or("");
    EXPECT_NE(menu.find("九番特別"), std::string::npos);
    EXPECT_NE(menu.find("九番二度目"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
    EXPECT_TRUE(prompt.entries.empty());
}

TEST_F(PredictAll, FilesThatCannotBeWrittenAreNamedInOneMessage) {
    ASSERT_TRUE(writeWholeFile(dir.path() + "HTML", "not a folder"));
    EXPECT_EQ(run(), folder + "index.html");
    ASSERT_EQ(prompt.entries.size(), 1u);
    const std::string& text = prompt.entries[0].text;
    EXPECT_TRUE(
        text.starts_with("次のファイルに書き込めませんでした\r\n" + folder + "index.html\r\n"));
    // The index, three sports pages and the menu; the summary is counted.
    EXPECT_TRUE(text.ends_with("\r\nほか 1 個")) << text;
    EXPECT_EQ(shell.documents, std::vector<std::string>{folder + "index.html"});
}

TEST_F(PredictAll, AnEmptyRaceCardDoesNothing) {
    ASSERT_TRUE(writeWholeFile(cardPath, ""));
    forgetJvFileIndexes();
    sheet.raceName = "そのまま";
    currentRace.raceName = "そのまま";
    EXPECT_EQ(run(), "");
    EXPECT_EQ(sheet.raceName, "そのまま");
    EXPECT_EQ(currentRace.raceName, "そのまま");
    EXPECT_TRUE(shell.documents.empty());
    EXPECT_TRUE(progress.positions.empty());
    EXPECT_FALSE(fs::exists(dir.path() + "HTML"));

    // A card that cannot be opened is told once and does nothing either.
    EXPECT_EQ(predictAllOf(dir.file("missing.dat"), sheet, currentRace, settings, dir.path(),
                           saturday(), prompt, progress, shell),
              "");
    EXPECT_EQ(prompt.texts().size(), 1u);
    EXPECT_TRUE(shell.documents.empty());
}

TEST(PredictAllWithBlankFields, BlankFieldsPredictAsZeroNeverThePreviousRecordsValues) {
    const JvRaceDay day = makeJvDayWithBlankFields();
    PaperTestDir dir;
    RecordingPrompt prompt;
    RecordingProgress progress;
    RecordingShell shell;
    const std::string card = writeTestCard(dir.path(), day.races, day.horses);
    const AppSettings settings = paperSettings(0, 0, 0);
    RaceSheet sheet;
    JvRaceCard currentRace;
    // The first race fixes the day's folder.
    const std::string folder = dir.path() + "HTML/Jvzel2026_1207/";
    EXPECT_EQ(predictAllOf(card, sheet, currentRace, settings, dir.path(), saturday(), prompt,
                           progress, shell),
              folder + "index.html");
    EXPECT_TRUE(prompt.entries.empty());

    // The second race as a new card and new horse records give it.
    JvRaceCard second;
    ASSERT_TRUE(readRace(second, card, 2, dir.path()));
    EXPECT_EQ(currentRace, second);
    RaceSheet expected;
    loadRaceOf(expected, second, prompt);
    scoreRace(expected);
    EXPECT_EQ(sheet.runners(), expected.runners());
    EXPECT_EQ(sheet.result, expected.result);
    EXPECT_EQ(sheet.runner(2).weight, 0);
    // The last run without a finish is 未出走 with no values of the race before.
    PastRun notRun;
    notRun.kind = PastRunKind::NotRun;
    EXPECT_EQ(sheet.runner(2).pastRuns[kLastRun], notRun);

    EXPECT_EQ(predictAllPageName(second), cp932ToUtf8("Jvzel0-1207_京都0Rアトノ.html"));
    EXPECT_EQ(readWholeFile(folder + predictAllPageName(second)).value_or(""),
              buildSportsPage(expected, settings, dir.path(), saturday()));
    const std::string summary = readWholeFile(folder + "2026-1207kaime.html").value_or("");
    EXPECT_NE(summary.find(betsSummaryRow(second, expected)), std::string::npos);
    const std::string menu = readWholeFile(folder + "2026-1207menu.html").value_or("");
    EXPECT_NE(menu.find("<b>0R</b> アトノ特別"), std::string::npos);
}

TEST(BetsSummaryRow, TopHorseScorePlacesAndPairsWithEscapedTexts) {
    JvRaceCard race;
    race.courseName = "東京";
    race.raceNumber = 11;
    race.raceName = "A&B<杯>";
    RaceSheet sheet;
    sheet.runner(3).name = "<ホシ>";
    for (int position = 1; int horse : {3, 1, 2})
        sheet.result.setHorseAt(position++, horse);
    sheet.result.setScore(3, 57);
    sheet.result.darkHorseCount = 2;
    sheet.result.quinellaCount = 2;
    sheet.result.quinellaPairs[0] = {1, 3};
    sheet.result.quinellaPairs[1] = {2, 3};
    EXPECT_EQ(betsSummaryRow(race, sheet),
              "<tr><td><font size=2>東京 11R A&amp;B&lt;杯&gt;</font></td><td>&lt;ホシ&gt;</"
              "td><td><font "
              "size=2>57</font></td><td>3　\r\n1　\r\n</td><td><nobr>1-3</nobr>　<nobr>2-3</"
              "nobr>　</td></"
              "tr>\r\n");
}

} // namespace
} // namespace zelkor
