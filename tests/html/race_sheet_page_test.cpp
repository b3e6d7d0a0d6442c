#include "html/race_sheet_page.h"
#include "html/race_table.h"
#include "html_test_sheets.h"
#include "support/temp_folder.h"
#include "text/file_io.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace zelkor {
namespace {

using namespace zelkor::test;

const std::string kHeadingRow = "<tr bgcolor=9999cc><th>枠馬番</th><th>馬名</th><th>性齢</th><th>"
                                "重量</th><th>脚質</th><th>適性</th><th>単オッズ</th><th>前々走</"
                                "th><th>前走</th></tr>\r\n";

TEST(RaceSheetPage, WholePageWithPicturesAndLinks) {
    const std::string expected =
        std::string("<HTML>\r\n<HEAD>") + kMeta +
        "<TITLE>ジャパンカップ</TITLE><BASE HREF=\"/opt/zelkor/\"></HEAD>\r\n"
        "<BODY background=\"Image/Bg1.gif\">\r\n"
        "<CENTER>\r\n"
        "<TABLE border=1>\r\n"
        "<TR BGCOLOR=9999cc><TH><FONT SIZE=2 COLOR=003300>東京 11R</FONT></TH><TH colspan=8 "
        "width=500><FONT SIZE=5 COLOR=000000> ジャパンカップ (ＧⅠ)</FONT>\r\n<BR>\r\n"
        "<font size=2 color=444444>３歳上　　定量　芝　２４００m　４頭</font></th></tr>" +
        kHeadingRow +
        "<TR>\r\n"
        " <TD BGCOLOR=ffffff><p align=right>1枠 1番</p></TD>"
        " <TD><a href=\"http://db.example.jp/jrasrch.cgi?type=top&key=ステイヤー&s=1\" "
        "TARGET=_blank><b>ステイヤー</a></TD>"
        " <TD><center>牡4</center></TD> <TD><center>56.0</center></TD> "
        "<TD><center>先行</center></TD> <TD><center>２４００</center></TD> "
        "<TD><center>3.1～4.0</center></TD>"
        " <TD><center><b>1</b><font size=1>着</font>16<font size=1>ト</font>2<font "
        "size=1>人</center></TD>"
        " <TD><center><b>5</b><font size=1>着</font>18<font size=1>ト</font>7<font "
        "size=1>人</center></TD>"
        "\r\n</TR>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=aaaaaa><p align=right>2枠 2番</p></TD>"
        " <TD><a href=\"http://db.example.jp/jrasrch.cgi?type=top&key=サクラハナコ&s=1\" "
        "TARGET=_blank><b>サクラハナコ</a></TD>"
        " <TD><center>牝3</center></TD> <TD><center>54.0</center></TD> "
        "<TD><center>差し</center></TD> <TD><center>２０００</center></TD> "
        "<TD><center>10.1～15.0</center></TD>"
        " <TD><center><b>3</b><font size=1>着</font>12<font size=1>ト</font>4<font "
        "size=1>人</center></TD>"
        " <TD><center><font color=008800><b>放牧</center></TD>"
        "\r\n</TR>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=ffaaaa><p align=right>3枠 3番</p></TD>"
        " <TD><a href=\"http://db.example.jp/jrasrch.cgi?type=top&key=ミドリ&s=1\" "
        "TARGET=_blank><b>ミドリ</a></TD>"
        " <TD><center>せん7</center></TD> <TD><center>57.0</center></TD> "
        "<TD><center>追込</center></TD> <TD><center>２２００</center></TD> "
        "<TD><center>50.1以上</center></TD>"
        " <TD><center><font color=008800><b>未出走</center></TD>"
        " <TD><center><font color=008800><b>ｱｸｼﾃﾞﾝﾄ</center></TD>"
        "\r\n</TR>\r\n"
        "<TR>\r\n"
        " <TD BGCOLOR=aaaaff><p align=right>4枠 4番</p></TD>"
        " <TD><a href=\"http://db.example.jp/jrasrch.cgi?type=top&key=&s=1\" "
        "TARGET=_blank><b></a></TD>"
        " <TD><center>牡2</center></TD> <TD><center>56.0</center></TD> "
        "<TD><center>逃げ</center></TD> <TD><center>２０００</center></TD> "
        "<TD><center>1.0～1.5</center></TD>"
        " <TD><center><b>1</b><font size=1>着</font>4<font size=1>ト</font>1<font "
        "size=1>人</center></TD>"
        " <TD><center><b>1</b><font size=1>着</font>4<font size=1>ト</font>1<font "
        "size=1>人</center></TD>"
        "\r\n</TR>\r\n"
        "</TABLE>\r\n"
        "</CENTER></BODY>\r\n</HTML>";
    EXPECT_EQ(buildRaceSheetPage(fourRunnerSheet(), pageSettings(1, 1), "/opt/zelkor/"), expected);
}

TEST(RaceSheetPage, WholePageWithoutPicturesOrLinksEmptyNameAndUnknownLimits) {
    RaceSheet sheet;
    sheet.racecourse = "中山";
    sheet.raceNumber = 3;
    sheet.raceName = "";
    sheet.grade = 7; // 未勝利
    sheet.ageLimit = 4;
    sheet.sexLimit = 5;
    sheet.weightRule = 4;
    sheet.surface = 1;
    sheet.distance = 2;
    sheet.runnerCount = sheet.liveRunnerCount = 4;
    sheet.runner(1).name = "アイ";
    sheet.runner(2).name = "ビー";
    sheet.runner(3).name = "シー";
    sheet.runner(4).name = "ディー";
    sheet.runner(4).pastRuns[kLastRun] = notRaced(PastRunKind::Rested);

    const std::string plainRow =
        " <TD><center>牡2</center></TD> <TD><center>56.0</center></TD> "
        "<TD><center>逃げ</center></TD> <TD><center>２０００</center></TD> "
        "<TD><center>1.0～1.5</center></TD>"
        " <TD><center><b>1</b><font size=1>着</font>4<font "
        "size=1>ト</font>1<font size=1>人</center></TD>";
    const std::string expected =
        std::string("<HTML>\r\n<HEAD>") + kMeta +
        "<TITLE></TITLE></HEAD>\r\n<BODY BGCOLOR=cccccc>\r\n"
        "<CENTER>\r\n"
        "<TABLE border=1>\r\n"
        "<TR BGCOLOR=9999cc><TH><FONT SIZE=2 COLOR=003300>中山 3R</FONT></TH><TH colspan=8 "
        "width=500><FONT SIZE=5 COLOR=000000>  (未勝利)</FONT>\r\n<BR>\r\n"
        "<font size=2 color=444444>　　　ダート　１２００m　４頭</font></th></tr>" +
        kHeadingRow +
        "<TR>\r\n <TD BGCOLOR=ffffff><p align=right>1枠 1番</p></TD> <TD><b>アイ</a></TD>" +
        plainRow + plainRow.substr(plainRow.find(" <TD><center><b>1</b>")) + "\r\n</TR>\r\n" +
        "<TR>\r\n <TD BGCOLOR=aaaaaa><p align=right>2枠 2番</p></TD> <TD><b>ビー</a></TD>" +
        plainRow + plainRow.substr(plainRow.find(" <TD><center><b>1</b>")) + "\r\n</TR>\r\n" +
        "<TR>\r\n <TD BGCOLOR=ffaaaa><p align=right>3枠 3番</p></TD> <TD><b>シー</a></TD>" +
        plainRow + plainRow.substr(plainRow.find(" <TD><center><b>1</b>")) + "\r\n</TR>\r\n" +
        "<TR>\r\n <TD BGCOLOR=aaaaff><p align=right>4枠 4番</p></TD> <TD><b>ディー</a></TD>" +
        plainRow + " <TD><center><font color=008800><b>放牧</center></TD>" + "\r\n</TR>\r\n" +
        "</TABLE>\r\n</CENTER></BODY>\r\n</HTML>";
    EXPECT_EQ(buildRaceSheetPage(sheet, pageSettings(0, 0), "/opt/zelkor/"), expected);
}

TEST(RaceTable, EighteenRunnersPutThreeHorsesInBracketsSevenAndEight) {
    RaceSheet sheet;
    sheet.runnerCount = sheet.liveRunnerCount = 18;
    const std::string table = buildRaceTable(sheet, pageSettings(0, 0), "border=1");
    EXPECT_NE(table.find("１８頭</font>"), std::string::npos);
    EXPECT_NE(table.find(" <TD BGCOLOR=aaffaa><p align=right>6枠12番</p></TD>"), std::string::npos);
    EXPECT_NE(table.find(" <TD BGCOLOR=ffddaa><p align=right>7枠13番</p></TD>"), std::string::npos);
    EXPECT_NE(table.find(" <TD BGCOLOR=ffddaa><p align=right>7枠15番</p></TD>"), std::string::npos);
    EXPECT_NE(table.find(" <TD BGCOLOR=ffcccc><p align=right>8枠16番</p></TD>"), std::string::npos);
    EXPECT_NE(table.find(" <TD BGCOLOR=ffcccc><p align=right>8枠18番</p></TD>"), std::string::npos);
    EXPECT_EQ(table.find("19番"), std::string::npos);
}

TEST(RaceTable, AttributesAndRowCountFollowTheFieldSizeBox) {
    RaceSheet sheet;
    sheet.runnerCount = 4;
    sheet.liveRunnerCount = 5; // the box was changed, the sheet not yet committed
    const std::string table = buildRaceTable(sheet, pageSettings(0, 0), "border=1 width=630");
    EXPECT_EQ(table.rfind("<TABLE border=1 width=630>\r\n", 0), 0u);
    EXPECT_NE(table.find("<p align=right>5枠 5番"), std::string::npos);
    EXPECT_NE(table.find("５頭"), std::string::npos);

    // A count beyond the runner slots (a damaged file) shows the slots only.
    sheet.liveRunnerCount = 40;
    EXPECT_EQ(buildRaceTable(sheet, pageSettings(0, 0), "border=1").find("19番"),
              std::string::npos);
    sheet.liveRunnerCount = 0;
    const std::string empty = buildRaceTable(sheet, pageSettings(0, 0), "border=1");
    EXPECT_EQ(empty.find("<TR>\r\n"), std::string::npos);
    EXPECT_TRUE(everyRunnerNamed(sheet));
}

TEST(RaceTable, UserTextIsEscapedAndLinkedNamesCannotBreakTheAnchor) {
    RaceSheet sheet = fourRunnerSheet();
    sheet.racecourse = "<i>";
    sheet.raceName = "A&B \"C\"";
    sheet.runner(1).name = "<script>alert(1)</script>";
    sheet.runner(2).name = "ソ #1%";
    const std::string table = buildRaceTable(sheet, pageSettings(1, 1), "border=1");
    EXPECT_NE(table.find("COLOR=003300>&lt;i&gt; 11R</FONT>"), std::string::npos);
    EXPECT_NE(table.find("<FONT SIZE=5 COLOR=000000> A&amp;B &quot;C&quot; (ＧⅠ)</FONT>"),
              std::string::npos);
    EXPECT_NE(table.find(" <TD><a href=\"http://db.example.jp/jrasrch.cgi?type=top&key="
                         "%3Cscript%3Ealert(1)%3C/script%3E&s=1\" TARGET=_blank><b>&lt;script&gt;"
                         "alert(1)&lt;/script&gt;</a></TD>"),
              std::string::npos);
    EXPECT_NE(table.find("key=ソ%20%231%25&s=1\" TARGET=_blank><b>ソ #1%</a>"), std::string::npos);
    EXPECT_EQ(table.find("<script>"), std::string::npos);

    const std::string page = buildRaceSheetPage(sheet, pageSettings(0, 0), "/opt/zelkor/");
    EXPECT_NE(page.find("<TITLE>A&amp;B &quot;C&quot;</TITLE>"), std::string::npos);
}

class RaceSheetPageFileTest : public ::testing::Test {
  protected:
    std::string folder() const { return folder_.path(); }

    test::TempFolder folder_{"zelkor-html"};
};

TEST_F(RaceSheetPageFileTest, FileStartsAsTestIsRewrittenOnChangeOnlyAndIsDeletedAtTheEnd) {
    std::string path;
    {
        RaceSheetPageFile page(folder());
        path = page.path();
        EXPECT_NE(RaceSheetPageFile(folder()).path(), path); // every page file its own name
        EXPECT_EQ(path.rfind(folder(), 0), 0u);
        EXPECT_EQ(path.substr(path.size() - 3), "tmp");
        EXPECT_EQ(path.find('/', folder().size()), std::string::npos);
        EXPECT_EQ(readWholeFile(path), "test");
        EXPECT_EQ(page.address(), "file://" + path);

        RaceSheet sheet = fourRunnerSheet();
        const AppSettings settings = pageSettings(1, 1);
        EXPECT_EQ(*page.refresh(sheet, settings), PageRefresh::Rewritten);
        EXPECT_EQ(readWholeFile(path), buildRaceSheetPage(sheet, settings, folder()));
        EXPECT_FALSE(page.predictEnabled()); // runner 4 has no name

        // Unchanged text: the file is left alone (a rewrite would show here).
        writeWholeFile(path, "untouched");
        EXPECT_EQ(*page.refresh(sheet, settings), PageRefresh::Unchanged);
        EXPECT_EQ(readWholeFile(path), "untouched");

        sheet.runner(4).name = "ヨン";
        EXPECT_EQ(*page.refresh(sheet, settings), PageRefresh::Rewritten);
        EXPECT_TRUE(page.predictEnabled());
        EXPECT_EQ(readWholeFile(path), page.lastText());

        // A runner above the field size needs no name.
        sheet.runner(5).name.clear();
        EXPECT_TRUE(everyRunnerNamed(sheet));
    }
    EXPECT_FALSE(fileExists(path));
}

TEST_F(RaceSheetPageFileTest, UnwritableFolderFallsBackAndTellsTheFailedWrite) {
    const std::string missing = folder() + "missing/";
    RaceSheetPageFile page(missing);
    EXPECT_EQ(page.path(), missing + "tmpzel.tmp");
    RaceSheet sheet = fourRunnerSheet();
    sheet.runner(4).name = "ヨン";
    EXPECT_EQ(page.refresh(sheet, pageSettings(0, 0)).message(),
              "ファイル '" + page.path() + "' に書き込めませんでした");
    EXPECT_TRUE(page.predictEnabled());
    // The text was remembered although the write failed: no retry.
    EXPECT_EQ(*page.refresh(sheet, pageSettings(0, 0)), PageRefresh::Unchanged);
    EXPECT_FALSE(fileExists(page.path()));
}

// The id of a process that has ended.
long endedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return long(child);
}

TEST_F(RaceSheetPageFileTest, PagesOfProgramsNoLongerRunningGoAtTheNextStart) {
    RaceSheetPageFile mine(folder());
    EXPECT_EQ(raceSheetPageOwner(std::filesystem::path(mine.path()).filename().string()),
              long(::getpid()));
    const std::string ended = folder() + "zel" + std::to_string(endedProcess()) + "-a1b2c3.tmp";
    const std::string running = folder() + "zel1-a1b2c3.tmp"; // init runs as long as we do
    const std::string others[] = {folder() + "zel12-ab.tmp", folder() + "zelABCDEF.tmp",
                                  folder() + "zel-a1b2c3.tmp"};
    for (const std::string& path : {ended, running, others[0], others[1], others[2]})
        ASSERT_TRUE(writeWholeFile(path, "x"));
    removeStaleRaceSheetPages(folder());
    EXPECT_FALSE(fileExists(ended));
    EXPECT_TRUE(fileExists(mine.path()));
    EXPECT_TRUE(fileExists(running));
    for (const std::string& path : others)
        EXPECT_TRUE(fileExists(path)) << path;
}

} // namespace
} // namespace zelkor
