#include "archive/race_card_file.h"
#include "race/race_card.h"
#include "support/jv_generator.h"
#include "support/jv_test_dir.h"
#include "text/file_io.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using test::JvRaceData;
using test::JvRunnerData;
using test::JvTestDir;

const std::string kReadFailure = "出馬表ファイルの読み込みに失敗しました";

JvRaceData raceNumbered(int number) {
    JvRaceData race;
    race.raceNumber = number;
    race.raceName = "第" + std::to_string(number) + "競走";
    race.runners.resize(3);
    return race;
}

std::vector<JvRaceData> fiveRaces() {
    std::vector<JvRaceData> races;
    for (int n = 1; n <= 5; ++n)
        races.push_back(raceNumbered(n));
    return races;
}

class RaceCardFile : public ::testing::Test {
  protected:
    std::string write(const std::vector<JvRaceData>& races) {
        forgetJvFileIndexes();
        EXPECT_TRUE(test::writeJvRaceCard(path, races));
        return path;
    }
    std::string writeText(const std::string& text) {
        forgetJvFileIndexes();
        EXPECT_TRUE(writeWholeFile(path, text));
        return path;
    }
    JvRaceCard readOne(const JvRaceData& race, int index = 1) {
        write({race});
        JvRaceCard card;
        EXPECT_TRUE(readRace(card, path, index, "/prog/"));
        return card;
    }

    JvTestDir dir;
    std::string path = dir.file("JracDen1.dat");
};

TEST_F(RaceCardFile, ReadsEveryFieldOfTheRacePart) {
    JvRaceData race;
    race.year = 2026;
    race.monthDay = 105;
    race.courseCode = "06";
    race.meeting = 1;
    race.meetingDay = 2;
    race.raceNumber = 11;
    race.weekdayCode = 3;
    race.raceName = "中山金杯";
    race.shortName = "中金杯";
    race.edition = 75;
    race.gradeCode = "C";
    race.kindCode = 14;
    race.symbolCode = "A31";
    race.weightRuleCode = 1;
    race.conditionCodes = {0, 0, 999, 999, 16};
    race.distanceMetres = 2000;
    race.trackCode = 17;
    race.prizeMoney = {43000, 17000, 11000, 6500, 4300};
    race.addedMoney = {1234, 352, 176};
    race.postTime = 1545;
    race.saleCode = 1;
    race.runners.resize(2);
    JvRaceCard card = readOne(race);

    EXPECT_EQ(card.raceCardPath, path);
    EXPECT_EQ(card.horseFilePath, dir.file("JracUmaj.dat"));
    EXPECT_EQ(card.jockeyFilePath, "/prog/KTDAT/JracKisi.dat");
    EXPECT_EQ(card.trainerFilePath, "/prog/KTDAT/JracChok.dat");
    EXPECT_EQ(card.year, 2026);
    EXPECT_EQ(card.monthDay, 105);
    EXPECT_EQ(card.courseCode, "06");
    EXPECT_EQ(card.courseName, "中山");
    EXPECT_EQ(card.meeting, 1);
    EXPECT_EQ(card.meetingDay, 2);
    EXPECT_EQ(card.raceNumber, 11);
    EXPECT_EQ(card.weekdayCode, 3);
    EXPECT_EQ(card.weekdayText, "祝");
    EXPECT_EQ(card.raceName, "中山金杯");
    EXPECT_EQ(card.shortName, "中金杯");
    EXPECT_EQ(card.edition, 75);
    EXPECT_EQ(card.gradeCode, "C");
    EXPECT_EQ(card.gradeText, "ＧⅢ");
    EXPECT_EQ(card.kindCode, 14);
    EXPECT_EQ(card.kindText, "サラ系４歳以上");
    EXPECT_EQ(card.symbolCode, "A31");
    EXPECT_EQ(card.symbolText, "○混牡・せん○指");
    EXPECT_EQ(card.weightRuleCode, 1);
    EXPECT_EQ(card.weightRuleText, "ハンデ");
    EXPECT_EQ(card.conditionCodes, (std::array<int, 5>{0, 0, 999, 999, 16}));
    EXPECT_EQ(card.conditionTexts[2], "オープン");
    EXPECT_EQ(card.conditionTexts[4], "3勝クラス"); // the name since 2019-06-01
    EXPECT_EQ(card.distanceMetres, 2000);
    EXPECT_EQ(card.trackCode, 17);
    EXPECT_EQ(card.trackText, "芝　右回り");
    EXPECT_EQ(card.prizeMoney, (std::array<int, 5>{43000, 17000, 11000, 6500, 4300}));
    EXPECT_EQ(card.addedMoney, (std::array<int, 3>{1234, 352, 176}));
    EXPECT_EQ(card.postTime, 1545);
    EXPECT_EQ(card.saleCode, 1);
    EXPECT_EQ(card.saleText, "全国発売・前日売り");
    EXPECT_EQ(card.runnerCount, 2);
}

TEST_F(RaceCardFile, ReadsEveryFieldOfARunnerGroup) {
    JvRaceData race;
    race.runners.resize(3);
    JvRunnerData& r = race.runners[2];
    r.horseNumber = 12;
    r.bracket = 6;
    r.horseId = "2021104567";
    r.horseName = "サクラチヨ";
    r.sexCode = 2;
    r.weightCarried = 540;
    r.blinkers = 1;
    r.jockeyCode = 1234;
    r.jockeyName = "武藤";
    r.apprenticeCode = 2;
    r.trainerCode = 45678;
    r.trainerName = "藤沢";
    JvRaceCard card = readOne(race);

    EXPECT_EQ(card.runnerCount, 3);
    EXPECT_EQ(card.runners[2], (JvRunner{.horseNumber = 12,
                                         .bracket = 6,
                                         .sexCode = 2,
                                         .blinker = 1,
                                         .weightCarried = 540,
                                         .jockeyCode = 1234,
                                         .apprenticeCode = 2,
                                         .trainerCode = 45678,
                                         .sexText = "牝",
                                         .horseName = "サクラチヨ",
                                         .jockeyName = "武藤",
                                         .trainerName = "藤沢",
                                         .horseId = "2021104567"}));
    EXPECT_EQ(card.runners[0].horseNumber, 1);
    EXPECT_EQ(card.runners[0].weightCarried, 550); // 55.0 kg
}

TEST_F(RaceCardFile, PrizeFieldsAreThousandsOfYen) {
    JvRaceData race;
    race.prizeMoney = {12000, 0, 1, 9999999, 500};
    JvRaceCard card = readOne(race);
    EXPECT_EQ(card.prizeMoney, (std::array<int, 5>{12000, 0, 1, 9999999, 500}));
}

TEST_F(RaceCardFile, NamesAreCutBeforeTheFirstFullWidthSpace) {
    JvRaceData race;
    race.raceName = "有馬記念　（グランプリ）";
    race.shortName = "有馬";
    EXPECT_EQ(readOne(race).raceName, "有馬記念");
    EXPECT_EQ(readOne(race).shortName, "有馬");

    // Thirty full-width characters fill the field with no space to cut at.
    std::string full;
    for (int i = 0; i < 30; ++i)
        full += "競";
    race.raceName = full;
    EXPECT_EQ(readOne(race).raceName, full);
    EXPECT_EQ(readOne(race).raceName.size(), 60u);
}

TEST_F(RaceCardFile, UnnamedRaceIsNamedByKindAndTheMatchingAgeCondition) {
    struct Case {
        int kind;
        std::array<int, 5> conditions;
        std::string name;
    };
    const Case cases[] = {
        {11, {701, 0, 0, 0, 0}, "サラ系２歳　　新馬"},
        {12, {0, 703, 0, 0, 0}, "サラ系３歳　　未勝利"},
        {21, {703, 5, 9, 0, 0}, "アラ系２歳　　未勝利"},
        {13, {0, 5, 9, 0, 0}, "サラ系３歳以上500万円以下"},
        {18, {0, 999, 16, 0, 0}, "サラ系障害３歳以上オープン"},
        {22, {0, 702, 5, 0, 0}, "アラ系３歳　　未出走"},
        {23, {0, 9, 5, 0, 0}, "アラ系３歳以上900万円以下"},
        {14, {0, 5, 16, 0, 0}, "サラ系４歳以上1600万円以下"},
        {19, {0, 5, 999, 0, 0}, "サラ系障害４歳以上オープン"},
        {24, {0, 0, 100, 0, 0}, "アラ系４歳以上1億円以下"},
        // A zero condition adds nothing, an unknown kind gives no kind text.
        {13, {0, 0, 5, 0, 0}, "サラ系３歳以上"},
        {15, {0, 0, 5, 0, 0}, "500万円以下"},
        {0, {0, 0, 0, 0, 0}, ""},
    };
    for (const Case& c : cases) {
        JvRaceData race;
        race.year = 2018; // the classes' names before they were named by wins
        race.kindCode = c.kind;
        race.conditionCodes = c.conditions;
        EXPECT_EQ(readOne(race).raceName, c.name) << "kind " << c.kind;
    }
}

TEST_F(RaceCardFile, RacesAreCountedAndReadByPosition) {
    write(fiveRaces());
    EXPECT_EQ(countRaces(path).valueOr(-1), 5);
    JvRaceCard card;
    // An index below the first race reads the first.
    for (const auto& [index, number] : {std::pair{5, 5}, {3, 3}, {0, 1}, {-4, 1}, {1, 1}}) {
        ASSERT_TRUE(readRace(card, path, index));
        EXPECT_EQ(card.raceName, "第" + std::to_string(number) + "競走") << index;
    }
}

TEST_F(RaceCardFile, AnIndexPastTheLastRaceIsRefusedAndLeavesTheCard) {
    write(fiveRaces());
    JvRaceCard card;
    ASSERT_TRUE(readRace(card, path, 2));
    const JvRaceCard before = card;
    for (int index : {6, 7, 2147483647}) {
        EXPECT_EQ(readRace(card, path, index).message(), kReadFailure) << index;
        EXPECT_EQ(card, before);
    }
}

TEST_F(RaceCardFile, AFileThatCannotBeOpenedIsReported) {
    const std::string missing = dir.file("nothing/JracDen1.dat");
    const std::string cannotOpen = "ファイル'" + missing + "'を開けませんでした";
    EXPECT_EQ(countRaces(missing).message(), cannotOpen);
    EXPECT_EQ(rescan::countRaces(missing).message(), cannotOpen);

    JvRaceCard card;
    card.raceName = "前のレース";
    EXPECT_EQ(readRace(card, missing, 1).message(), cannotOpen);
    EXPECT_EQ(rescan::readRace(card, missing, 1).message(), cannotOpen);
    EXPECT_EQ(card.raceName, "前のレース");
    EXPECT_TRUE(card.raceCardPath.empty());

    // A folder is no race card either.
    EXPECT_EQ(countRaces(dir.path()).message(), "ファイル'" + dir.path() + "'を開けませんでした");
}

TEST_F(RaceCardFile, AnEmptyFileHasNoRaces) {
    writeText("");
    EXPECT_EQ(countRaces(path).valueOr(-1), 0);
    JvRaceCard card;
    EXPECT_EQ(readRace(card, path, 1).message(), kReadFailure);
}

// A file of line ends is no race day: it would list a race per line.
TEST_F(RaceCardFile, ACardOfMoreRacesThanADayHoldsIsRefusedByBothReaders) {
    writeText(std::string(kJvMaxRaces, '\n'));
    EXPECT_EQ(countRaces(path).valueOr(-1), kJvMaxRaces);
    EXPECT_EQ(rescan::countRaces(path).valueOr(-1), kJvMaxRaces);

    writeText(std::string(kJvMaxRaces + 1, '\n'));
    JvRaceCard card;
    card.raceName = "前のレース";
    const JvRaceCard before = card;
    EXPECT_EQ(countRaces(path).message(), kReadFailure);
    EXPECT_EQ(rescan::countRaces(path).message(), kReadFailure);
    EXPECT_EQ(readRace(card, path, 1).message(), kReadFailure);
    EXPECT_EQ(rescan::readRace(card, path, 1).message(), kReadFailure);
    EXPECT_EQ(card, before);

    // Lines of the longest text a buffer read takes, "\r\n" ended, and a
    // card of 8 MiB of line ends: still refused by both.
    for (const std::string& text : {[] {
                                        std::string lines;
                                        for (int i = 0; i <= kJvMaxRaces; ++i)
                                            lines +=
                                                std::string(kJvLineBufferBytes - 2, 'x') + "\r\n";
                                        return lines;
                                    }(),
                                    std::string(8 << 20, '\n')}) {
        writeText(text);
        EXPECT_EQ(countRaces(path).message(), kReadFailure);
        EXPECT_EQ(rescan::countRaces(path).message(), kReadFailure);
    }
}

TEST_F(RaceCardFile, FieldsWithoutDigitsReadZeroNeverThePreviousRacesValues) {
    JvRaceData first = raceNumbered(4);
    first.monthDay = 1224;
    first.distanceMetres = 2500;
    first.prizeMoney[0] = 30000;
    first.runners.resize(4);
    first.runners[1].weightCarried = 570;
    first.runners[3].horseId = "2020444444";
    JvRaceData second = raceNumbered(7);
    second.year = test::kBlankField;
    second.raceNumber = test::kBlankField;
    second.monthDay = test::kBlankField;
    second.distanceMetres = test::kBlankField;
    second.prizeMoney[0] = test::kBlankField;
    second.meeting = test::kBlankField;
    second.runners.resize(2);
    second.runners[1].weightCarried = test::kBlankField;
    write({first, second});

    JvRaceCard fresh;
    ASSERT_TRUE(readRace(fresh, path, 2, "/prog/"));
    EXPECT_EQ(fresh.year, 0);
    EXPECT_EQ(fresh.raceNumber, 0);
    EXPECT_EQ(fresh.distanceMetres, 0);
    EXPECT_EQ(fresh.prizeMoney[0], 0);
    EXPECT_EQ(fresh.meeting, 0);
    EXPECT_EQ(fresh.monthDay, 0);
    EXPECT_EQ(fresh.runners[1].weightCarried, 0);
    EXPECT_EQ(fresh.runners[3], JvRunner{});

    // A card that held another race reads the same: nothing of it survives,
    // not even in the runners past this race's runners.
    for (auto reader : {&readRace, &rescan::readRace}) {
        JvRaceCard reused;
        ASSERT_TRUE(reader(reused, path, 1, "/prog/"));
        EXPECT_EQ(reused.runners[1].weightCarried, 570);
        EXPECT_EQ(reused.runners[3].horseId, "2020444444");
        ASSERT_TRUE(reader(reused, path, 2, "/prog/"));
        EXPECT_EQ(reused, fresh);
    }

    // A failed read leaves the card as it was.
    JvRaceCard kept;
    ASSERT_TRUE(readRace(kept, path, 1, "/prog/"));
    const JvRaceCard before = kept;
    EXPECT_EQ(readRace(kept, path, 4, "/prog/").message(), kReadFailure);
    EXPECT_EQ(kept, before);
}

TEST_F(RaceCardFile, NumbersAllowBlanksAndASign) {
    std::string line = test::jvRaceLine(raceNumbered(1));
    line.replace(132, 4, "  95");    // distance with leading blanks
    line.replace(83, 3, "-12");      // edition with a sign
    line.replace(148, 7, "12x4567"); // prize stops at the first non-digit
    writeText(line + "\r\n");
    JvRaceCard card;
    ASSERT_TRUE(readRace(card, path, 1));
    EXPECT_EQ(card.distanceMetres, 95);
    EXPECT_EQ(card.edition, -12);
    EXPECT_EQ(card.prizeMoney[0], 12);
}

TEST_F(RaceCardFile, AShortLineReadsItsMissingBytesAsBlanks) {
    JvRaceData race = raceNumbered(1);
    race.runners.resize(3);
    race.runners[2].horseId = "2020999999";
    race.runners[2].weightCarried = 570;
    std::string line = test::jvRaceLine(race);
    // The line claims three runners but ends halfway through the third one.
    line.resize(327 + 2 * 63 + 17);
    JvRaceData next = raceNumbered(2);
    writeText(line + "\r\n" + test::jvRaceLine(next) + "\r\n");

    JvRaceCard card;
    ASSERT_TRUE(readRace(card, path, 1));
    EXPECT_EQ(card.runnerCount, 3);
    EXPECT_EQ(card.runners[2].horseId, "2020999999");
    EXPECT_EQ(card.runners[2].horseName, "テス");
    EXPECT_EQ(card.runners[2].weightCarried, 0); // not in the line: blanks read 0
    EXPECT_EQ(card.runners[2].trainerName, "");
    EXPECT_EQ(card.raceNumber, 1);
    // Nothing of the next line was taken for the missing bytes.
    ASSERT_TRUE(readRace(card, path, 2));
    EXPECT_EQ(card.raceNumber, 2);

    // A line that ends inside the race part keeps its earlier fields.
    writeText(test::jvRaceLine(raceNumbered(9)).substr(0, 90) + "\n");
    JvRaceCard partial;
    ASSERT_TRUE(readRace(partial, path, 1));
    EXPECT_EQ(partial.raceNumber, 9);
    EXPECT_EQ(partial.raceName, "第9競走");
    EXPECT_EQ(partial.runnerCount, 0);
    EXPECT_EQ(partial.gradeText, "一般競走");
}

TEST_F(RaceCardFile, MoreThanEighteenRunnersAreCutToEighteen) {
    JvRaceData race = raceNumbered(1);
    race.runners.resize(19);
    for (size_t k = 0; k < race.runners.size(); ++k)
        race.runners[k].horseId = test::jvHorseIdFor(static_cast<int>(k));
    write({race, raceNumbered(2)});

    JvRaceCard card;
    ASSERT_TRUE(readRace(card, path, 1));
    EXPECT_EQ(card.runnerCount, 18);
    EXPECT_EQ(card.runner(18).horseId, test::jvHorseIdFor(17));
    EXPECT_EQ(card.runner(1).horseId, test::jvHorseIdFor(0));
    EXPECT_EQ(card.runner(0), JvRunner{});
    EXPECT_EQ(card.runner(19), JvRunner{});
    // 327 + 19 × 63 bytes fill the line buffer, so the line counts twice.
    EXPECT_EQ(countRaces(path).valueOr(-1), 3);
    ASSERT_TRUE(readRace(card, path, 3));
    EXPECT_EQ(card.raceNumber, 2);
}

TEST_F(RaceCardFile, LinesAreCountedThroughTheLineBuffer) {
    const std::string fits(1462, '9');
    const std::string fills(1463, '9');
    const std::string twice(2926, '9');
    struct Case {
        std::string text;
        int races;
    };
    const Case cases[] = {
        {fits + "\n", 1},
        {fits + "\r\n", 1},
        {fills + "\n", 2},
        {fills + "\r\n", 2},
        {twice + "\n", 3},
        {fills, 1}, // no line end after the last line
        {fills + "9", 2},
        {"a\nb\nc", 3},
        {"a\n\nb\n", 3},       // an empty line is a race line
                               // too
        {"a\r\nb\r\n\x1a", 2}, // the end-of-file mark ends the text
        {"a\nb\x1a\nc\n", 2},
        {"\r\n", 1},
        {"a\rb\n", 1},
    };
    for (const Case& c : cases) {
        writeText(c.text);
        EXPECT_EQ(countRaces(path).valueOr(-1), c.races) << c.text.size();
        EXPECT_EQ(rescan::countRaces(path).valueOr(-1), c.races) << c.text.size();
    }
}

TEST_F(RaceCardFile, LineEndsOfEitherKindGiveTheSameRace) {
    std::vector<JvRaceData> races = fiveRaces();
    writeText(test::jvRaceCardText(races, "\n"));
    JvRaceCard lf;
    ASSERT_TRUE(readRace(lf, path, 4, "/p/"));
    writeText(test::jvRaceCardText(races, "\r\n"));
    JvRaceCard crlf;
    ASSERT_TRUE(readRace(crlf, path, 4, "/p/"));
    EXPECT_EQ(lf, crlf);
    EXPECT_EQ(crlf.raceNumber, 4);
}

TEST_F(RaceCardFile, HorseFileIsTheOneInTheCardsFolderWhateverTheCardsName) {
    EXPECT_EQ(horseFilePathFor("/home/u/zelkor/JRA-VAN/JracDen1.dat"),
              "/home/u/zelkor/JRA-VAN/JracUmaj.dat");
    EXPECT_EQ(horseFilePathFor("/data/day/card.txt"), "/data/day/JracUmaj.dat");
    EXPECT_EQ(horseFilePathFor("/data/day/saturday-races.dat"), "/data/day/JracUmaj.dat");
    EXPECT_EQ(horseFilePathFor("JracDen1.dat"), "JracUmaj.dat");
    EXPECT_EQ(horseFilePathFor("x.dat"), "JracUmaj.dat");
}

TEST_F(RaceCardFile, ARewrittenCardIsReadAfresh) {
    write(fiveRaces());
    EXPECT_EQ(countRaces(path).valueOr(-1), 5);
    JvRaceCard card;
    ASSERT_TRUE(readRace(card, path, 2));
    EXPECT_EQ(card.raceName, "第2競走");

    // A different size is noticed without being told.
    const std::vector<JvRaceData> all = fiveRaces();
    std::vector<JvRaceData> three(all.begin(), all.begin() + 3);
    three[1].raceName = "新しい名前";
    ASSERT_TRUE(test::writeJvRaceCard(path, three));
    EXPECT_EQ(countRaces(path).valueOr(-1), 3);
    ASSERT_TRUE(readRace(card, path, 2));
    EXPECT_EQ(card.raceName, "新しい名前");

    // A rewrite of the same size, announced as after an extraction.
    three[1].raceName = "別の名前だ";
    ASSERT_TRUE(test::writeJvRaceCard(path, three));
    forgetJvFileIndexes();
    ASSERT_TRUE(readRace(card, path, 2));
    EXPECT_EQ(card.raceName, "別の名前だ");
}

TEST_F(RaceCardFile, ProgramFolderPlacesTrainerAndJockeyFiles) {
    write(fiveRaces());
    JvRaceCard card;
    ASSERT_TRUE(readRace(card, path, 1));
    EXPECT_TRUE(card.jockeyFilePath.ends_with("/KTDAT/JracKisi.dat"));
    EXPECT_NE(card.jockeyFilePath, "/KTDAT/JracKisi.dat");
}

} // namespace
} // namespace zelkor
