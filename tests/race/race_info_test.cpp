#include "archive/archive_race_source.h"
#include "race/race_info.h"
#include "support/jv_generator.h"
#include "support/jv_test_dir.h"
#include "support/recording_prompt.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using test::JvRaceData;
using test::JvTestDir;
using test::RecordingPrompt;

class RaceInfo : public ::testing::Test {
  protected:
    JvRaceCard read(const JvRaceData& race) {
        forgetJvFileIndexes();
        EXPECT_TRUE(test::writeJvRaceCard(path, {race}));
        JvRaceCard card;
        EXPECT_TRUE(readRace(card, path, 1, "/p/"));
        return card;
    }

    JvTestDir dir;
    std::string path = dir.file("JracDen1.dat");
    RecordingPrompt prompt;
};

TEST_F(RaceInfo, GradeOneRaceWithEdition) {
    JvRaceData race;
    race.courseCode = "05";
    race.meeting = 5;
    race.meetingDay = 8;
    race.raceNumber = 11;
    race.year = 2026;
    race.monthDay = 1129;
    race.weekdayCode = 2;
    race.postTime = 1540;
    race.raceName = "ジャパンカップ";
    race.edition = 46;
    race.gradeCode = "A";
    race.trackCode = 17;
    race.distanceMetres = 2400;
    race.symbolCode = "N00";
    race.kindCode = 13;
    race.weightRuleCode = 4;
    race.conditionCodes = {0, 999, 999, 999, 0};
    race.prizeMoney = {300000, 120000, 75000, 45000, 30000};
    race.addedMoney = {1234, 352, 176};
    race.saleCode = 2;
    race.runners.resize(18);

    EXPECT_EQ(raceInfoText(read(race)),
              "東京競馬場 第5回 8日目 11Ｒ 2026年11月29日 日曜日 15:40 発走\r\n"
              "\t第46回 [ジャパンカップ] (ＧⅠ)\r\n"
              "\r\n"
              "-競争情報-\r\n"
              "\t 芝　右回り 18頭 2400m\r\n"
              "\t ○国際 サラ系３歳以上 定量\r\n"
              "-条件-\r\n"
              "\t３歳　　 オープン\r\n"
              "\t４歳　　 オープン\r\n"
              "\t５歳以上 オープン\r\n"
              "-本賞金-\r\n"
              "\t1着   30000万\r\n"
              "\t2着   12000万\r\n"
              "\t3着    7500万\r\n"
              "\t4着    4500万\r\n"
              "\t5着    3000万\r\n"
              "-付加賞金-\r\n"
              "\t1着     123万\r\n"
              "\t2着      35万\r\n"
              "\t3着      17万\r\n"
              "-要項-\r\n"
              "\t全国発売・当日売り");
}

TEST_F(RaceInfo, OrdinaryRaceWithoutName) {
    JvRaceData race; // the generator's date, meeting, weekday, grade and prizes
    race.courseCode = "09";
    race.meetingDay = 3;
    race.raceNumber = 3;
    race.postTime = 1005;
    race.kindCode = 12;
    race.symbolCode = "000";
    race.weightRuleCode = 3;
    race.conditionCodes = {0, 703, 0, 0, 0};
    race.distanceMetres = 1200;
    race.trackCode = 24;
    race.saleCode = 0;
    race.runners.resize(16);

    EXPECT_EQ(raceInfoText(read(race)),
              "阪神競馬場 第1回 3日目  3Ｒ 2026年1月5日 土曜日 10:05 発走\r\n"
              "\t [サラ系３歳] (一般競走)\r\n"
              "\r\n"
              "-競争情報-\r\n"
              "\t ダート　右回り 16頭 1200m\r\n"
              "\t  サラ系３歳　　 馬齢\r\n"
              "-条件-\r\n"
              "\t３歳　　 未勝利\r\n"
              "-本賞金-\r\n"
              "\t1着    1200万\r\n"
              "\t2着     480万\r\n"
              "\t3着     300万\r\n"
              "\t4着     180万\r\n"
              "\t5着     120万\r\n"
              "-付加賞金-\r\n"
              "\t1着       0万\r\n"
              "\t2着       0万\r\n"
              "\t3着       0万\r\n"
              "-要項-\r\n"
              "\t全国発売なし");
}

TEST_F(RaceInfo, NameLineVariants) {
    JvRaceCard card;
    card.raceName = "朝日杯";
    card.gradeCode = "D";
    card.gradeText = "重賞";
    EXPECT_EQ(raceInfoNameLine(card), " [朝日杯]");
    card.gradeCode = "E";
    EXPECT_EQ(raceInfoNameLine(card), " [朝日杯]");
    card.edition = 61;
    card.gradeCode = "A";
    card.gradeText = "ＧⅠ";
    EXPECT_EQ(raceInfoNameLine(card), "第61回 [朝日杯] (ＧⅠ)");
    card.gradeCode = "";
    card.gradeText = "一般競走";
    EXPECT_EQ(raceInfoNameLine(card), "第61回 [朝日杯] (一般競走)");
    card.raceName = "";
    card.gradeCode = "F";
    EXPECT_EQ(raceInfoNameLine(card), " ");
    card.raceName = "　後ろだけ";
    card.gradeCode = "C";
    card.gradeText = "ＧⅢ";
    EXPECT_EQ(raceInfoNameLine(card), "  (ＧⅢ)");
}

TEST_F(RaceInfo, ConditionLinesOnlyForNonZeroCodes) {
    JvRaceCard card;
    card.conditionCodes = {0, 703, 703, 0, 16};
    card.conditionTexts = {"0万円以下", "未勝利", "未勝利", "0万円以下", "1600万円以下"};
    std::string text = raceInfoText(card);
    size_t from = text.find("-条件-\r\n") + std::string("-条件-\r\n").size();
    size_t to = text.find("-本賞金-");
    EXPECT_EQ(text.substr(from, to - from), "\t３歳　　 未勝利\r\n\t４歳　　 未勝利\r\n");
}

TEST_F(RaceInfo, ListRowsOfTheSelectionDialog) {
    std::vector<JvRaceData> races(3);
    races[0].monthDay = 105;
    races[0].courseCode = "06";
    races[0].raceNumber = 1;
    races[0].kindCode = 11;
    races[0].conditionCodes = {701, 0, 0, 0, 0};
    races[1].monthDay = 1231;
    races[1].courseCode = "08";
    races[1].raceNumber = 11;
    races[1].raceName = "京都大賞典";
    races[2].courseCode = "62";
    races[2].raceNumber = 12;
    races[2].raceName = "最終レース";
    forgetJvFileIndexes();
    ASSERT_TRUE(test::writeJvRaceCard(path, races));

    ArchiveRaceSource source(path);
    RaceList list = readRaceList(source, prompt);
    EXPECT_EQ(list.raceCount, 3);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0], (RaceListRow{"0105", "中山", "1", "サラ系２歳　　新馬"}));
    EXPECT_EQ(list.rows[1], (RaceListRow{"1231", "京都", "11", "京都大賞典"}));
    EXPECT_EQ(list.rows[2], (RaceListRow{"0105", "", "12", "最終レース"}));
    EXPECT_TRUE(prompt.entries.empty());

    ArchiveRaceSource missing(dir.file("missing.dat"));
    RaceList none = readRaceList(missing, prompt);
    EXPECT_EQ(none.raceCount, 0);
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(prompt.entries.size(), 1u);
}

TEST_F(RaceInfo, BlankFieldsShowZeroNeverThePreviousRacesValues) {
    const test::JvRaceDay day = test::makeJvDayWithBlankFields();
    forgetJvFileIndexes();
    ASSERT_TRUE(test::writeJvRaceCard(path, day.races));

    // The list reads every race into one card.
    ArchiveRaceSource source(path);
    RaceList list = readRaceList(source, prompt);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0], (RaceListRow{"1207", "京都", "9", "サキノ特別"}));
    EXPECT_EQ(list.rows[1], (RaceListRow{"1207", "京都", "0", "アトノ特別"}));

    // The information of the second race read into the card that held the first.
    JvRaceCard card;
    ASSERT_TRUE(readRace(card, path, 1, "/p/"));
    ASSERT_TRUE(readRace(card, path, 2, "/p/"));
    const std::string text = raceInfoText(card);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "京都競馬場 第1回 1日目  0Ｒ 0年12月7日 土曜日 10:25 発走");
    JvRaceCard fresh;
    ASSERT_TRUE(readRace(fresh, path, 2, "/p/"));
    EXPECT_EQ(text, raceInfoText(fresh));
    EXPECT_TRUE(prompt.entries.empty());
}

} // namespace
} // namespace zelkor
