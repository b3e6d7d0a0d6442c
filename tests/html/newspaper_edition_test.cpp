// Whole pages of the three newspaper editions on a generated race, and the
// pieces (age conditions, class label, time difference) on their own.
#include "archive/race_card_file.h"
#include "html/newspaper_edition.h"
#include "paper_test_data.h"
#include "race/code_tables.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "text/file_io.h"

#include <ctime>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace zelkor::test;

// The guide under the detailed editions; the past-results one adds a row.
const std::string kGuideRows =
    "<br><font color=0000ff><b>新聞の見方</b></font><TABLE border=1 bordercolor=ffffff> "
    "<TR>  <TD rowspan=2>枠番・馬番</TD> <TD>馬記号</TD> <TD>馬名</TD> "
    "<TD>性・馬齢</TD> <TD>毛色</TD> <TD>重量</TD> <TD>騎手名</TD> "
    "<TD rowspan=2>収得金・本賞金<br>距離別成績<br>(1000～1600m)<font "
    "size=1>1着,2着,3着,4着以下</font><br>(1601～2200m)<font "
    "size=1>1着,2着,3着,4着以下</font><br>(2201～3600m)<font "
    "size=1>1着,2着,3着,4着以下</font></TD></TR><TR> <TD "
    "colspan=4>生年月日　産地　生産者<br>父馬　母の父馬<br>母馬　母の母馬</TD> "
    "<TD colspan=2>馬主<br>(調教師・所属)</TD> </TR>";
const std::string kGuide = kGuideRows + " </TABLE>";
const std::string kGuideWithPastRuns =
    kGuideRows + " <TR> <TD colspan=8> "
                 " 回次　競馬場　日数　コース　馬場状態　月.日　<b>着順</b><br> "
                 " レース名　出走頭数　単勝人気順位<br>  発走枠(馬番)　距離　<b>タイム</b>(例 "
                 "1219=1分21秒9)<br>  "
                 "<b>クラス(グレード)</b>　重量　騎手　1着(当馬が1着なら2着)とのタイム差<br> "
                 " 上り3Fタイム　(1角順位>2角>3角>4角)<br>  馬体重 1着(当馬が1着なら2着)の馬 "
                 "</TD> </TR></TABLE>";

// The test race read back from its generated card, with the horse file.
class Newspaper : public ::testing::Test {
  protected:
    void SetUp() override {
        cardPath = writeTestCard(dir.path(), {testRace()}, {redStar()});
        ASSERT_TRUE(readRace(race, cardPath, 1, dir.path()));
        // The age counts from this calendar year, read here from the clock itself.
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        age = std::to_string(local.tm_year + 1900 - 2022);
    }

    std::string page(NewspaperEdition edition, const AppSettings& settings) {
        return newspaperOf(edition, race, settings, "/opt/zelkor/", prompt);
    }

    PaperTestDir dir;
    std::string cardPath;
    JvRaceCard race;
    RecordingPrompt prompt;
    std::string age;
};

TEST_F(Newspaper, SimpleEditionWithPicturesAndLinks) {
    const std::string expected =
        "<HTML>\r\n<HEAD>" + kMeta +
        "<TITLE>Jv2026-105_東京11Rテスト記念</TITLE>\r\n<BASE "
        "HREF=\"file:///opt/zelkor/Image/\"></HEAD>\r\n<BODY background=\"Bg1.gif\">\r\n"
        "<CENTER>\r\n<TABLE border=1>\r\n"
        "<TR BGCOLOR=9999cc><TH rowspan=2><FONT SIZE=2 COLOR=47895C>東京 "
        "11R<br>10:25発走</FONT></TH>\r\n <TH COLSPAN=6>"
        "<FONT SIZE=5 COLOR=000000>第12回 テスト記念 (ＧⅢ)</FONT></TR>\r\n"
        "<tr BGCOLOR=9999cc><td colspan=6><BLOCKQUOTE><font size=3 color=444444>\r\n"
        " ○混牡　別定　2頭<br>\r\n "
        "　3歳上1勝クラス<br>芝　右回り　1600m　全国発売・当日売り<br>\r\n"
        "<font size=2>1着1200万　2着480万　3着300万　4着180万　5着120万　</font>\r\n"
        "</td></tr>\r\n"
        "<tr BGCOLOR=9999cc><th>枠馬番</th><th colspan=2>馬名</th><th>性齢</th><th>毛色</th>"
        "<th>重量</th><th>騎手</th></tr>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=eeeeee><p align=right>1枠  1番<img src=\"sika.gif\"></p></TD>\r\n"
        " <TD><font size=1>B○抽</font></TD><TD><a "
        "href=\"http://db.example.jp/s?key=アカイホシ&x=1\" "
        "TARGET=_blank><b>アカイホシ</b></a></TD>\r\n"
        " <TD><center>牡" +
        age +
        "</center></TD>\r\n"
        " <TD><center>鹿毛</center></TD><TD>55.0<font size=2>替</font></TD>\r\n"
        " <TD>△騎手一</TD>\r\n"
        "</TR>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=aaaaaa><p align=right>2枠  2番</p></TD>\r\n"
        " <TD><font size=1></font></TD><TD><a href=\"http://db.example.jp/s?key=マイゴノウマ&x=1\" "
        "TARGET=_blank><b>マイゴノウマ</b></a></TD>\r\n"
        " <TD><center>牝0</center></TD>\r\n"
        " <TD><center></center></TD><TD>54.0</TD>\r\n"
        " <TD>騎手三</TD>\r\n"
        "</TR>\r\n"
        "</TABLE>\r\n</BODY>\r\n</HTML>";
    EXPECT_EQ(page(NewspaperEdition::Simple, paperSettings(1, 1, 1)), expected);
    // The missing horse was reported once, for its runner only.
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"登録馬ファイルの読み込みに失敗しました"});
}

TEST_F(Newspaper, DetailedEditionWithoutPicturesOrLinks) {
    const std::string expected =
        "<HTML>\r\n<HEAD>" + kMeta +
        "<TITLE>Jv2026-0105_東京11Rテスト記念</TITLE></HEAD>\r\n<BODY BGCOLOR=cccccc>\r\n"
        "<CENTER>\r\n<TABLE border=1>\r\n"
        "<TR BGCOLOR=9999cc><TH rowspan=2><FONT SIZE=2 COLOR=47895C>東京 "
        "11R<br>10:25発走</FONT></TH>\r\n <TH COLSPAN=7>"
        "<FONT SIZE=5 COLOR=000000>第12回 テスト記念 (ＧⅢ)</FONT></TR>\r\n"
        "<tr BGCOLOR=9999cc><td colspan=7><BLOCKQUOTE><font size=3 color=444444>\r\n"
        " ○混牡　別定　2頭 　3歳上1勝クラス<br>芝　右回り　1600m　全国発売・当日売り<br>\r\n"
        "<font size=2>1着1200万 2着480万 3着300万 4着180万 5着120万 </font>\r\n"
        "</td></tr>\r\n"
        "<tr bgcolor=9999cc><th>枠馬番</th><th colspan=2>馬名</th><th>性齢</th><th>毛色</th>"
        "<th>重量</th><th>騎手</th><th>成績</th></tr>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=eeeeee rowspan=2><p align=right>1枠  1番</p></TD>\r\n"
        " <TD><font size=1>B○抽</font></TD><TD><b>アカイホシ</b></TD>\r\n"
        " <TD><center>牡" +
        age +
        "</center></TD>\r\n"
        " <TD><center>鹿毛</center></TD><TD>55.0<font size=2>替</font></TD>\r\n"
        " <TD>△騎手一</TD>\r\n"
        " <TD rowspan=2><font size=2><p align=left>収得金 150万<br>本賞金 230万<br>\r\n"
        "～1600m 2,1,0,2<br>～2200m 0,1,0,1<br>2201m～ 0,0,0,0</p></TD></TR>\r\n"
        " <TR><TD colspan=4><font size=2>2022.3.15生 日高町 山田 太郎<br>\r\n"
        "  父 テストチチ　母父 ハハノチチ<br>  母 テストハハ　母母 ハハノハハ</TD>\r\n"
        " <TD colspan=2><font size=2>鈴木 花子<br>(調教師)</TD>\r\n</TR>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=aaaaaa rowspan=2><p align=right>2枠  2番</p></TD>\r\n"
        " <TD><font size=1></font></TD><TD><b>マイゴノウマ</b></TD>\r\n"
        " <TD><center>牝0</center></TD>\r\n"
        " <TD><center></center></TD><TD>54.0</TD>\r\n"
        " <TD>騎手三</TD>\r\n"
        " <TD rowspan=2><font size=2><p align=left>収得金 0万<br>本賞金 0万<br>\r\n"
        "～1600m 0,0,0,0<br>～2200m 0,0,0,0<br>2201m～ 0,0,0,0</p></TD></TR>\r\n"
        " <TR><TD colspan=4><font size=2>0.0.0生  <br>\r\n"
        "  父 　母父 <br>  母 　母母 </TD>\r\n"
        " <TD colspan=2><font size=2><br>(調教師二)</TD>\r\n</TR>\r\n"
        "</TABLE>\r\n" +
        kGuide + "</BODY>\r\n</HTML>";
    EXPECT_EQ(page(NewspaperEdition::Detailed, paperSettings(0, 0, 1)), expected);
}

TEST_F(Newspaper, PastResultsEditionShowsTheOldestRunAtTheLeft) {
    const std::string emptyRun = "<TH width=120></TH>\r\n";
    const std::string expected =
        "<HTML>\r\n<HEAD>" + kMeta +
        "<TITLE>Jv2026-0105_東京11Rテスト記念</TITLE>\r\n<BASE "
        "HREF=\"file:///opt/zelkor/Image/\"></HEAD>\r\n<BODY background=\"Bg1.gif\">\r\n"
        "<CENTER>\r\n<TABLE BGCOLOR=9999cc border=1>\r\n"
        "<TR><TH rowspan=2 width=70><FONT SIZE=2 COLOR=47895C>東京 "
        "11R<br>10:25発走</FONT></TH>\r\n <TH width=548>"
        "<FONT SIZE=5 COLOR=000000>第12回 テスト記念 (ＧⅢ)</FONT></TR>\r\n"
        "<tr><td><BLOCKQUOTE><font size=3 color=444444>\r\n"
        " ○混牡　別定　2頭 　3歳上1勝クラス<br>芝　右回り　1600m　全国発売・当日売り<br>\r\n"
        "<font size=2>1着1200万　2着480万　3着300万　4着180万　5着120万　</font>\r\n"
        "</td></tr></table>\r\n"
        "<TABLE border=1>\r\n"
        "<tr BGCOLOR=9999cc><th>枠馬番</th><th colspan=2>馬名</th><th>性齢</th><th>毛色</th>"
        "<th>重量</th><th>騎手</th><th>成績</th></tr>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=eeeeee rowspan=2 width=70><p align=right>1枠  1番<br><img "
        "src=\"sika.gif\"></p></TD>\r\n"
        " <TD width=20><font size=1>B○抽</font></TD><TD width=140><a "
        "href=\"http://db.example.jp/s?key=アカイホシ&x=1\" "
        "TARGET=_blank><b>アカイホシ</b></a></TD>\r\n"
        " <TD width=35><center>牡" +
        age +
        "</center></TD>\r\n"
        " <TD width=50><center>鹿毛</center></TD><TD width=40>55.0<font size=2>替</font></TD>\r\n"
        " <TD width=107>△騎手一</TD>\r\n"
        " <TD rowspan=2 width=120><font size=2><p align=left>収得金 150万<br>本賞金 230万<br>\r\n"
        "～1600m 2,1,0,2<br>～2200m 0,1,0,1<br>2201m～ 0,0,0,0</p></TD></TR>\r\n"
        " <TR><TD colspan=4 width=260><font size=2>2022.3.15生 日高町 山田 太郎<br>\r\n"
        "  父 テストチチ　母父 ハハノチチ<br>  母 テストハハ　母母 ハハノハハ</TD>\r\n"
        " <TD colspan=2><font size=2>鈴木 花子<br>(調教師)</TD>\r\n</TR>\r\n"
        "</TABLE>\r\n"
        "<TABLE border=1>\r\n"
        "<TR BGCOLOR=9999cc><TH>5走前</TH><TH>4走前</TH><TH>3走前</TH><TH>2走前</TH><TH>1走前</"
        "TH></TR>\r\n"
        "<TR>\r\n" +
        emptyRun + emptyRun + emptyRun +
        "<TD width=120><font size=2>4東7ダ良10.25<font size=4><b>1</b></font><br>\r\n"
        "オクトーバーステークス 12頭1人<br>\r\n"
        "6(7) 1600m<b> 1359</b><br><b>1勝</b>55.0騎手0.0<br>\r\n"
        "<font size=1>上り</font>36.0(1>1>1>1)<br>\r\n"
        "478 <font size=1>ニバンテ\r\n"
        "</TD>"
        "<TD width=120><font size=2>5中8芝稍12.20<font size=4><b>2</b></font><br>\r\n"
        "ジャパンカップステークス 16頭3人<br>\r\n"
        "3(5) 2000m<b> 2015</b><br><b>ＧⅡ</b>56.0騎手0.3<br>\r\n"
        "<font size=1>上り</font>35.2(3>3>2>2)<br>\r\n"
        "482 <font size=1>ライバルスター\r\n"
        "</TD>"
        "</TR></TABLE>\r\n"
        "<TABLE border=1>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=aaaaaa rowspan=2 width=70><p align=right>2枠  2番</p></TD>\r\n"
        " <TD width=20><font size=1></font></TD><TD width=140><a "
        "href=\"http://db.example.jp/s?key=マイゴノウマ&x=1\" "
        "TARGET=_blank><b>マイゴノウマ</b></a></TD>\r\n"
        " <TD width=35><center>牝0</center></TD>\r\n"
        " <TD width=50><center></center></TD><TD width=40>54.0</TD>\r\n"
        " <TD width=107>騎手三</TD>\r\n"
        " <TD rowspan=2 width=120><font size=2><p align=left>収得金 0万<br>本賞金 0万<br>\r\n"
        "～1600m 0,0,0,0<br>～2200m 0,0,0,0<br>2201m～ 0,0,0,0</p></TD></TR>\r\n"
        " <TR><TD colspan=4 width=260><font size=2>0.0.0生  <br>\r\n"
        "  父 　母父 <br>  母 　母母 </TD>\r\n"
        " <TD colspan=2><font size=2><br>(調教師二)</TD>\r\n</TR>\r\n"
        "</TABLE>\r\n"
        "<TABLE border=1>\r\n"
        "<TR>\r\n" +
        emptyRun + emptyRun + emptyRun + emptyRun + emptyRun + "</TR></TABLE>\r\n" +
        kGuideWithPastRuns + "</CENTER>\r\n</BODY>\r\n</HTML>";
    EXPECT_EQ(page(NewspaperEdition::WithPastResults, paperSettings(1, 1, 1, 3, 5)), expected);
}

TEST_F(Newspaper, PastRunsSettingChoosesTheColumnsWithinOneToFive) {
    auto headings = [&](int pastRuns) {
        const std::string p =
            page(NewspaperEdition::WithPastResults, paperSettings(0, 0, 0, 3, pastRuns));
        const size_t from = p.find("<TR BGCOLOR=9999cc><TH>");
        return from == std::string::npos ? std::string()
                                         : p.substr(from, p.find("</TR>", from) - from);
    };
    EXPECT_EQ(headings(2), "<TR BGCOLOR=9999cc><TH>2走前</TH><TH>1走前</TH>");
    EXPECT_EQ(headings(0), "<TR BGCOLOR=9999cc><TH>1走前</TH>");
    EXPECT_EQ(headings(9),
              "<TR BGCOLOR=9999cc><TH>5走前</TH><TH>4走前</TH><TH>3走前</TH><TH>2走前</"
              "TH><TH>1走前</TH>");
}

TEST_F(Newspaper, GuideOnlyWhenAskedFor) {
    const std::string past = page(NewspaperEdition::WithPastResults, paperSettings(0, 0, 0, 3));
    EXPECT_EQ(page(NewspaperEdition::Detailed, paperSettings(0, 0, 0)).find("新聞の見方"),
              std::string::npos);
    EXPECT_EQ(past.find("新聞の見方"), std::string::npos);
    EXPECT_TRUE(past.ends_with("</TR></TABLE>\r\n</CENTER>\r\n</BODY>\r\n</HTML>"));
}

TEST_F(Newspaper, WritesThePageAndReportsAFailedWrite) {
    const AppSettings settings = paperSettings(1, 1, 1);
    const std::string path = dir.file("paper.html");
    ArchiveRaceSource source(cardPath);
    EXPECT_TRUE(writeNewspaper(NewspaperEdition::Detailed, race, source, settings, "/opt/zelkor/",
                               prompt, path));
    EXPECT_EQ(readWholeFile(path).value_or(""), page(NewspaperEdition::Detailed, settings));
    EXPECT_FALSE(writeNewspaper(NewspaperEdition::Simple, race, source, settings, "/opt/zelkor/",
                                prompt, dir.file("missing-folder/paper.html")));
    EXPECT_FALSE(writeNewspaper(NewspaperEdition::WithPastResults, race, source, settings,
                                "/opt/zelkor/", prompt, dir.path()));
}

// The test race cut to its first runner.
JvRaceData oneRunner() {
    JvRaceData raceData = testRace();
    raceData.runners.resize(1);
    return raceData;
}

// Races and horses built per test for the smaller rules.
class NewspaperRules : public ::testing::Test {
  protected:
    std::string simplePage(const JvHorseData& horse,
                           const AppSettings& settings = paperSettings(0, 1, 0),
                           const JvRaceData& raceData = oneRunner()) {
        const std::string card = writeTestCard(dir.path(), {raceData}, {horse});
        JvRaceCard race;
        EXPECT_TRUE(readRace(race, card, 1, dir.path()));
        return newspaperOf(NewspaperEdition::Simple, race, settings, dir.path(), prompt);
    }

    PaperTestDir dir;
    RecordingPrompt prompt;
};

TEST_F(NewspaperRules, TitleOfAnUnnamedRaceAndOfAnUngradedOne) {
    JvRaceData raceData = oneRunner();
    raceData.gradeCode = "A";
    const std::string card = writeTestCard(dir.path(), {raceData}, {redStar()});
    JvRaceCard race;
    ASSERT_TRUE(readRace(race, card, 1, dir.path()));
    // An unnamed race still keeps its blank, so the grade follows two blanks.
    race.raceName.clear();
    EXPECT_NE(
        newspaperOf(NewspaperEdition::Simple, race, paperSettings(0, 0, 0), dir.path(), prompt)
            .find("<FONT SIZE=5 COLOR=000000>  (ＧⅠ)</FONT>"),
        std::string::npos);

    raceData.raceName = "ウインター特別";
    raceData.gradeCode = "E"; // 特別 sorts after "D": no grade part
    raceData.edition = 0;
    EXPECT_NE(simplePage(redStar(), paperSettings(0, 1, 0), raceData)
                  .find("<FONT SIZE=5 COLOR=000000> ウインター特別</FONT>"),
              std::string::npos);
}

TEST_F(NewspaperRules, SameJockeyAsLastTimeAndAnUnplacedLastRunHaveNoChangeMark) {
    JvHorseData horse = redStar();
    horse.runs[0].jockeyName = "騎手一";
    EXPECT_EQ(simplePage(horse).find("替"), std::string::npos);
    horse.runs[0].jockeyName = "騎手二";
    horse.runs[0].finish = 0;
    EXPECT_EQ(simplePage(horse).find("替"), std::string::npos);
    horse.runs.clear();
    EXPECT_EQ(simplePage(horse).find("替"), std::string::npos);
}

TEST_F(NewspaperRules, FileTextIsEscapedAndTheLinkedNamePercentEncoded) {
    JvRaceData raceData = oneRunner();
    raceData.raceName = "R&D<1>";
    JvHorseData horse = redStar();
    horse.name = "A&B <i>";
    const std::string p = simplePage(horse, paperSettings(0, 1, 0), raceData);
    EXPECT_NE(p.find("<TITLE>Jv2026-105_東京11RR&amp;D&lt;1&gt;</TITLE>"), std::string::npos);
    EXPECT_NE(p.find("第12回 R&amp;D&lt;1&gt; (ＧⅢ)"), std::string::npos);
    EXPECT_NE(p.find("<a href=\"http://db.example.jp/s?key=A%26B%20%3Ci%3E&x=1\" "
                     "TARGET=_blank><b>A&amp;B &lt;i&gt;</b></a>"),
              std::string::npos);
    EXPECT_EQ(p.find("<i>"), std::string::npos);
}

TEST_F(NewspaperRules, UnknownCoatColourHasNoPicture) {
    JvHorseData horse = redStar();
    horse.coatCode = 0;
    const std::string p = simplePage(horse, paperSettings(1, 0, 0));
    EXPECT_NE(p.find("<p align=right>1枠  1番</p>"), std::string::npos);
    EXPECT_EQ(p.find("<img"), std::string::npos);
    horse.coatCode = 11;
    EXPECT_NE(simplePage(horse, paperSettings(1, 0, 0)).find("1枠  1番<img src=\"siro.gif\"></p>"),
              std::string::npos);
}

JvRaceCard raceWithConditions(std::array<int, 3> codes) {
    JvRaceCard race;
    for (size_t i = 0; i < 3; ++i) {
        race.conditionCodes[i] = codes[i];
        race.conditionTexts[i] =
            codes[i] == 0 ? std::string() : decodeCondition(codes[i], 20190531);
    }
    return race;
}

TEST(AgeConditions, OneTextPerAgeGroupAndUpWhereTheOlderGroupsShareACondition) {
    EXPECT_EQ(ageConditionsText(raceWithConditions({701, 0, 0})), "2歳新馬");
    EXPECT_EQ(ageConditionsText(raceWithConditions({0, 703, 0})), "　3歳未勝利");
    EXPECT_EQ(ageConditionsText(raceWithConditions({0, 5, 5})), "　3歳上500万円以下");
    EXPECT_EQ(ageConditionsText(raceWithConditions({0, 0, 16})), "　4歳上1600万円以下");
    EXPECT_EQ(ageConditionsText(raceWithConditions({0, 999, 16})),
              "　3歳オープン　4歳上1600万円以下");
    EXPECT_EQ(ageConditionsText(raceWithConditions({701, 703, 0})), "2歳新馬　3歳未勝利");
    EXPECT_EQ(ageConditionsText(raceWithConditions({0, 0, 0})), "");
}

TEST(PastRunClassLabel, GradeOfAGradedRaceElseTheClassUpToItsMan) {
    JvPastRunDetails run;
    run.gradeText = "ＧⅠ";
    run.conditionText = "オープン";
    EXPECT_EQ(pastRunClassLabel(run), "ＧⅠ");
    run.gradeText = "Ｊ・ＧⅡ";
    EXPECT_EQ(pastRunClassLabel(run), "オープン");
    run.gradeText = "一般競走";
    run.conditionText = "500万円以下";
    EXPECT_EQ(pastRunClassLabel(run), "500万");
    run.conditionText = "1億円以下";
    EXPECT_EQ(pastRunClassLabel(run), "1億円以下");
    run.conditionText = "";
    EXPECT_EQ(pastRunClassLabel(run), "");
}

} // namespace
} // namespace zelkor
