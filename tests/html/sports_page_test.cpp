#include "core/trainer_intent.h"
#include "html/race_table.h"
#include "html/sports_page.h"
#include "html_test_sheets.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"
#include "text/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

using namespace zelkor::test;

std::tm june16th2001() {
    std::tm t{};
    t.tm_year = 2001 - 1900;
    t.tm_mon = 5;
    t.tm_mday = 16;
    t.tm_wday = 6; // a Saturday
    t.tm_hour = 21;
    return t;
}

// The four-runner sheet, scored: horse 4 (named with a crown name) on top.
RaceSheet scoredSheet() {
    RaceSheet sheet = fourRunnerSheet();
    sheet.runner(4).name = "メジロタイヨウ";
    PredictionResult& r = sheet.result;
    for (int position = 1; int horse : {4, 2, 1, 3})
        r.setHorseAt(position++, horse);
    r.darkHorseCount = 2;
    r.quinellaCount = 2;
    r.quinellaPairs[0] = {2, 4};
    r.quinellaPairs[1] = {1, 4};
    return sheet;
}

std::string intentRow(const RaceSheet& sheet, int h, const char* bracketColour) {
    const std::string mark = trainerIntent(sheet, h, IntentPart::Mark);
    const char* markColour = mark == "↑" ? "ff3333" : mark == "→" ? "ffff33" : "0000ff";
    return std::string(h >= 2 ? "<TR>" : "") + "<TD BGCOLOR=" + bracketColour + ">" +
           "<font size=2><b>" + std::to_string(h) + " " + sheet.runner(h).name + "</TD>" +
           "<TD><font color=222222 size=2><font color=" + markColour + "><b>" + mark +
           "</b></font>　" + trainerIntent(sheet, h, IntentPart::Remark) + "</TD></TR>\r\n";
}

TEST(SportsPage, WholePageWithPictures) {
    const RaceSheet sheet = scoredSheet();
    const AppSettings settings = pageSettings(1, 1);
    // The race table and the trainer's remarks have tests of their own; the
    // page must carry them exactly in their places.
    const std::string expected =
        std::string("<HTML>\r\n<HEAD>") + kMeta +
        "<TITLE>ジャパンカップ</TITLE>\r\n<BASE HREF=\"file:///opt/zelkor/Image/\"></HEAD>\r\n"
        "<BODY background=\"Bg1.gif\">\r\n"
        "<h6 ALIGN=center><I>ゼルコ馬スポーツ</I></h6>\r\n"
        "<p align=right><font size=2>2001年 06月16日（土曜日）</font></p>\r\n"
        "<HR size=4>\r\n"
        "<center><TABLE border bgcolor=5555ff width=630> <TR BGCOLOR=ffffff><TH>"
        "<img src=\"Logo.gif\"></TH><TH width=1 bgcolor=0000ff><font color=ffffff>東京競馬確定</TH>"
        "<TH ><img src=\"Zelji.gif\"><font "
        "size=7><blink><nobr>タイヨウ</nobr></font></TH></TR></TABLE>\r\n" +
        buildRaceTable(sheet, settings, "border=1 width=630") +
        "<TABLE width=630 border>"
        "<TR><TH width=150 rowspan=2 BGCOLOR=0000ff><font color=eeeeee>ゼルコ馬の決め手</th>"
        "<TD colspan=2><font size=2>ここ２レース好調</TD></TR>\r\n"
        "<TR><TD colspan=2><font size=2>このクラスで連対実績あり</TD></TR>\r\n"
        "<TR><TH rowspan=2 BGCOLOR=0000ff><font size=3 color=eeeeee>東京11R推奨馬券</TH>"
        "<TH width=130 "
        "bgcolor=77dd77>馬連</TH><TD><nobr>2-4</nobr>　<nobr>1-4</nobr>　</TD></TR>\r\n"
        "<TR><TH bgcolor=77dd77>複勝</TH><TD>4　\r\n2　\r\n</TD></TR>\r\n"
        "<TR><TH rowspan=4 BGCOLOR=0000ff><font size=3 color=eeeeee>分析</TH>\r\n"
        "<TH bgcolor=77dd77>上位人気</TH><TD>4　1　2</TD></TR>\r\n"
        "<TR><TH bgcolor=77dd77>距離適性</TH><TD>1　3　2</TD></TR>\r\n"
        "<TR><TH bgcolor=77dd77>調子</TH><TD>1　2　3</TD></TR>\r\n"
        "<TR><TH bgcolor=77dd77>重量軽量化</TH><TD>2　1　4</TD></TR>\r\n"
        "<TR><TH rowspan=4 BGCOLOR=0000ff><font size=3 color=eeeeee>調教師の本音</th>\r\n" +
        intentRow(sheet, 1, "ffffff") + intentRow(sheet, 2, "aaaaaa") +
        intentRow(sheet, 3, "ffaaaa") + intentRow(sheet, 4, "aaaaff") +
        "\r\n</TABLE>\r\n"
        "<br><font size=2><b><font color=ff0000>↑</font><font color=ffff33>→</font><font "
        "color=0000ff>↓</font>は調子ではなく、やる気度を示しています</b></font>\r\n"
        "</BODY>\r\n</HTML>";
    EXPECT_EQ(buildSportsPage(sheet, settings, "/opt/zelkor/", june16th2001()), expected);
    // Every runner has a mark of the table.
    for (int h = 1; h <= 4; ++h)
        EXPECT_FALSE(trainerIntent(sheet, h, IntentPart::Mark).empty()) << h;
}

TEST(SportsPage, WithoutPicturesTheMastheadIsText) {
    const std::string page =
        buildSportsPage(scoredSheet(), pageSettings(0, 0), "/opt/zelkor/", june16th2001());
    EXPECT_EQ(page.rfind(std::string("<HTML>\r\n<HEAD>") + kMeta +
                             "<TITLE>ジャパンカップ</TITLE></HEAD>\r\n<BODY BGCOLOR=cccccc>\r\n"
                             "<h6 ALIGN=center>",
                         0),
              0u);
    EXPECT_NE(
        page.find("<TR BGCOLOR=ffffff><TH><font size=6 color=0000ff><i>ゼルコ馬スポーツ</TH>"
                  "<TH width=1 bgcolor=0000ff><font color=ffffff>東京競馬確定</TH><TH ><font "
                  "size=6 color=00aaaa>穴</font><font size=7><blink><nobr>タイヨウ</nobr></font>"),
        std::string::npos);
    EXPECT_EQ(page.find(".gif"), std::string::npos);
    EXPECT_NE(page.find(" <TD><b>ステイヤー</a></TD>"), std::string::npos);
}

TEST(SportsPage, WithoutDecidingFactorsTheHeaderSpansOneRowAndNoFactorFollows) {
    RaceSheet sheet = scoredSheet();
    RunnerEntry& top = sheet.runner(4);
    top.pastRuns = {notRaced(PastRunKind::NotRun),
                    notRaced(PastRunKind::NotRun)}; // no run to judge by
    const std::string page = buildSportsPage(sheet, pageSettings(0, 0), "/opt/", june16th2001());
    EXPECT_NE(page.find("<TABLE width=630 border><TR><TH width=150 rowspan=1 BGCOLOR=0000ff><font "
                        "color=eeeeee>ゼルコ馬の決め手</th><TR><TH rowspan=2 BGCOLOR=0000ff>"),
              std::string::npos);
}

TEST(SportsPage, ManyDecidingFactorsFollowInSlotOrder) {
    RaceSheet sheet = scoredSheet();
    sheet.weightRule = 2; // ハンデ
    sheet.grade = 3;      // オープン
    sheet.distance = 6;   // 1600 m
    RunnerEntry& top = sheet.runner(4);
    top.weight = 14;
    top.aptitudeDistance = 6;
    top.pastRuns[kLastRun] = raced(9, 14, 0); // 10th as favourite, 58 kg, 2000 m, ＧⅠ
    top.pastRuns[kLastRun].weight = 24;
    const std::string page = buildSportsPage(sheet, pageSettings(0, 0), "/opt/", june16th2001());
    const std::string expected =
        "<TH width=150 rowspan=8 BGCOLOR=0000ff><font color=eeeeee>ゼルコ馬の決め手</th>"
        "<TD colspan=2><font size=2>前走大敗後のハンデ戦</TD></TR>\r\n"
        "<TR><TD colspan=2><font size=2>５kg以上斤量が軽量化</TD></TR>\r\n"
        "<TR><TD colspan=2><font size=2>前走上のクラスで出走させた上積み</TD></TR>\r\n"
        "<TR><TD colspan=2><font size=2>ここ２レース好調</TD></TR>\r\n"
        "<TR><TD colspan=2><font size=2>距離がベスト</TD></TR>\r\n"
        "<TR><TD colspan=2><font size=2>このクラスで連対実績あり</TD></TR>\r\n"
        "<TR><TD colspan=2><font size=2>前走は人気で大敗</TD></TR>\r\n"
        "<TR><TD colspan=2><font size=2>前走は不適正距離で調整</TD></TR>\r\n"
        "<TR><TH rowspan=2";
    EXPECT_NE(page.find(expected), std::string::npos) << page;
}

std::string headline(const char* name) {
    RaceSheet sheet = scoredSheet();
    sheet.runner(4).name = name;
    const std::string page = buildSportsPage(sheet, pageSettings(0, 0), "/opt/", june16th2001());
    const std::string open = "<blink><nobr>";
    const size_t from = page.find(open) + open.size();
    return page.substr(from, page.find("</nobr>", from) - from);
}

TEST(SportsPage, HeadlineDropsTheCrownNameOnlyAtTheFront) {
    EXPECT_EQ(headline("メジロ"), "メジロ");
    EXPECT_EQ(headline("メジロマックイーン"), "マックイーン");
    EXPECT_EQ(headline("ハヤテメジロ"), "ハヤテメジロ");
    EXPECT_EQ(headline("サクラ<b>"), "&lt;b&gt;");
}

TEST(SportsPage, AnalysisOfTwoRunnersStillShowsThreeNumbers) {
    RaceSheet sheet;
    sheet.runnerCount = sheet.liveRunnerCount = 2;
    sheet.runner(1).oddsBand = 5;
    sheet.runner(2).oddsBand = 3;
    for (int position = 1; int horse : {2, 1})
        sheet.result.setHorseAt(position++, horse);
    sheet.result.darkHorseCount = 1;
    const std::string page = buildSportsPage(sheet, pageSettings(0, 0), "/opt/", june16th2001());
    EXPECT_NE(page.find("<TH bgcolor=77dd77>上位人気</TH><TD>2　1　1</TD></TR>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("<TH width=130 bgcolor=77dd77>馬連</TH><TD></TD></TR>\r\n<TR><TH "
                        "bgcolor=77dd77>複勝</TH><TD>2　\r\n</TD></TR>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("color=eeeeee>調教師の本音</th>\r\n<TD BGCOLOR=ffffff><font size=2><b>1 "
                        "</TD>"),
              std::string::npos);
}

TEST(SportsPage, UnscoredOrDamagedResultsStayInsideTheirArrays) {
    RaceSheet sheet = scoredSheet();
    sheet.result.darkHorseCount = 500;
    sheet.result.quinellaCount = -3;
    sheet.result.setHorseAt(1, 77);
    const std::string page = buildSportsPage(sheet, pageSettings(0, 0), "/opt/", june16th2001());
    EXPECT_NE(page.find("<blink><nobr></nobr></font>"), std::string::npos);
    EXPECT_NE(page.find("馬連</TH><TD></TD>"), std::string::npos);
}

TEST(SportsPage, DateLineUsesJapaneseWeekdays) {
    EXPECT_EQ(japaneseWeekdayName(0), "日曜日");
    EXPECT_EQ(japaneseWeekdayName(3), "水曜日");
    EXPECT_EQ(japaneseWeekdayName(7), "");
    std::tm t = june16th2001();
    t.tm_mon = 0;
    t.tm_mday = 7;
    t.tm_wday = 0;
    const std::string page = buildSportsPage(scoredSheet(), pageSettings(0, 0), "/opt/", t);
    EXPECT_NE(page.find("<font size=2>2001年 01月07日（日曜日）</font>"), std::string::npos);
}

TEST(SportsPage, SuggestedFileNameCarriesDateAndRaceName) {
    RaceSheet sheet;
    sheet.raceName = "桜花賞";
    EXPECT_EQ(suggestedSportsFileName(sheet, june16th2001()), "Zspo_2001-0616_桜花賞.html");
    // Separators cannot send the file elsewhere; "ソ" ends in the byte of "\".
    sheet.raceName = "../ソ\\a:b";
    EXPECT_EQ(suggestedSportsFileName(sheet, june16th2001()), "Zspo_2001-0616_.._ソ_a_b.html");
}

TEST(SportsPage, WriteTellsTheUserOfAPageItCouldNotWrite) {
    const test::TempFolder folder("zelkor-sports-page");
    const std::string path = folder.file("page.html");
    const RaceSheet sheet = scoredSheet();
    test::RecordingPrompt prompt;
    ASSERT_TRUE(writeSportsPage(path, sheet, pageSettings(1, 0), "/opt/", june16th2001(), prompt));
    EXPECT_EQ(readWholeFile(path),
              buildSportsPage(sheet, pageSettings(1, 0), "/opt/", june16th2001()));
    EXPECT_TRUE(prompt.entries.empty());
    const std::string missing = folder.file("no/such/dir.html");
    EXPECT_FALSE(
        writeSportsPage(missing, sheet, pageSettings(1, 0), "/opt/", june16th2001(), prompt));
    EXPECT_EQ(prompt.onlyText(), "ファイル '" + missing + "' に書き込めませんでした");
}

} // namespace
} // namespace zelkor
