#include "archive/horse_file.h"
#include "archive/horse_lookup.h"
#include "archive/past_horses.h"
#include "archive/race_card_file.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "support/jv_generator.h"
#include "support/jv_test_dir.h"
#include "text/file_io.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using test::JvHorseData;
using test::JvRunData;
using test::JvTestDir;

const std::string kNotFound = "登録馬ファイルの読み込みに失敗しました";

JvRunData runOf(std::string grade, int condition, int finish) {
    JvRunData run;
    run.gradeCode = std::move(grade);
    run.conditionCode = condition;
    run.finish = finish;
    return run;
}

JvHorseData horseWithRuns(std::string id, std::vector<JvRunData> runs) {
    JvHorseData horse;
    horse.id = std::move(id);
    horse.runs = std::move(runs);
    return horse;
}

class HorseFile : public ::testing::Test {
  protected:
    void write(const std::vector<JvHorseData>& horses) {
        forgetJvFileIndexes();
        ASSERT_TRUE(test::writeJvHorseFile(path, horses));
    }
    // Writes the one horse and reads it into a fresh record.
    JvHorseRecord readOne(const JvHorseData& horse, long long total = 0) {
        write({horse});
        JvHorseRecord record;
        EXPECT_TRUE(readHorse(record, path, horse.id, total));
        return record;
    }

    JvTestDir dir;
    std::string path = dir.file("JracUmaj.dat");
};

TEST_F(HorseFile, ReadsThePedigreeCountsAndDecodedTexts) {
    JvHorseData horse;
    horse.id = "2021105432";
    horse.name = "ミドリノカゼ";
    horse.birthYear = 2021;
    horse.birthMonthDay = 407;
    horse.breedCode = 2;
    horse.sexCode = 3;
    horse.coatCode = 4;
    horse.markCode = 8;
    horse.sire = "チチウエ";
    horse.dam = "ハハウエ　ニセイ";
    horse.damSire = "ソフウエ";
    horse.damDam = "ソボウエ";
    horse.birthplace = "新ひだか町";
    horse.breeder = "山田　太郎";
    horse.owner = "（有）　緑川ファーム";
    horse.earnings = 12345;
    horse.prizeTotal = 6789012;
    horse.bandCounts[0][1] = {1, 2, 3, 4};
    horse.bandCounts[1][2] = {5, 6, 7, 999};
    JvHorseRecord r = readOne(horse);

    EXPECT_EQ(r.name, "ミドリノカゼ");
    EXPECT_EQ(r.birthYear, 2021);
    EXPECT_EQ(r.birthMonthDay, 407);
    EXPECT_EQ(r.breedCode, 2);
    EXPECT_EQ(r.breedText, "サラ系");
    EXPECT_EQ(r.sexCode, 3);
    EXPECT_EQ(r.sexText, "せん馬");
    EXPECT_EQ(r.coatCode, 4);
    EXPECT_EQ(r.coatText, "黒鹿毛");
    EXPECT_EQ(r.markCode, 8);
    EXPECT_EQ(r.markText, "○父○市");
    EXPECT_EQ(r.sire, "チチウエ");
    EXPECT_EQ(r.dam, "ハハウエ");
    EXPECT_EQ(r.damSire, "ソフウエ");
    EXPECT_EQ(r.damDam, "ソボウエ");
    EXPECT_EQ(r.birthplace, "新ひだか町");
    EXPECT_EQ(r.breeder, "山田 太郎");
    EXPECT_EQ(r.owner, "（有） 緑川ファーム");
    EXPECT_EQ(r.earnings, 12345);
    EXPECT_EQ(r.prizeTotal, 6789012);
    EXPECT_EQ(r.bandCounts[0][1], (std::array<int, 4>{1, 2, 3, 4}));
    EXPECT_EQ(r.bandCounts[1][2], (std::array<int, 4>{5, 6, 7, 999}));
    EXPECT_EQ(r.bandCounts[0][0], (std::array<int, 4>{0, 0, 0, 0}));
    parseHorseRecord(r, test::jvHorseRecord(horse), 0, 2026);
    EXPECT_EQ(r.age, 5); // counted in the year given
}

// The dam's dam and the place of birth lie where neighbouring unused rows
// overlap them; each is read at its own offset and width.
TEST_F(HorseFile, OverlappedFieldsAreReadAtTheirOwnOffsets) {
    JvHorseData horse;
    std::string record = test::jvHorseRecord(horse);
    record.replace(249, 36, "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲ");
    record.replace(405, 24, "ａｂｃｄｅｆｇｈｉｊｋｌ");
    forgetJvFileIndexes();
    ASSERT_TRUE(writeWholeFile(path, record));
    JvHorseRecord r;
    ASSERT_TRUE(readHorse(r, path, horse.id, 0));
    EXPECT_EQ(r.damDam, "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲ");
    EXPECT_EQ(r.birthplace, "ａｂｃｄｅｆｇｈｉｊｋｌ");
}

TEST_F(HorseFile, BreederAndOwnerNamesAreCompacted) {
    struct Case {
        std::string field;
        std::string name;
    };
    const Case cases[] = {
        {"山田　太郎", "山田 太郎"},
        {"山田牧場", "山田牧場"},     // padding is no part
        {"　　山田牧場", "山田牧場"}, // a leading space drops four bytes
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd"},
        {"有限会社　山田　牧場", "有限会社 山田"},
    };
    for (const Case& c : cases) {
        JvHorseData horse;
        horse.breeder = c.field;
        horse.owner = c.field;
        JvHorseRecord r = readOne(horse);
        EXPECT_EQ(r.breeder, c.name) << c.field.size();
        EXPECT_EQ(r.owner, c.name) << c.field.size();
    }
}

TEST_F(HorseFile, ReadsEveryFieldOfAPastRun) {
    JvRunData run;
    run.year = 2025;
    run.monthDay = 1228;
    run.courseCode = "06";
    run.meeting = 5;
    run.meetingDay = 8;
    run.raceNumber = 11;
    run.shortName = "有馬記";
    run.gradeCode = "A";
    run.conditionCode = 999;
    run.raceName = "有馬記念";
    run.distanceMetres = 2500;
    run.trackCode = 18;
    run.fieldSize = 16;
    run.trackConditionCode = 2;
    run.weatherCode = 4;
    run.horseNumber = 7;
    run.bracket = 4;
    run.weightCarried = 570;
    run.jockeyName = "騎手名";
    run.abnormal = 0;
    run.bodyWeight = 502;
    run.corners = {3, 4, 2, 1};
    run.lastThreeFurlongs = 352;
    run.time = 2315;
    run.marginCode = "K__";
    run.finish = 2;
    run.popularity = 5;
    run.otherHorseName = "カチウマ";
    run.timeDiff = 1;
    JvHorseRecord r = readOne(horseWithRuns("2020100001", {run}));
    const JvPastRun& p = r.pastRuns[0];
    const JvPastRunDetails& d = r.pastRunDetails[0];

    EXPECT_TRUE(p.present());
    EXPECT_EQ(p.year, 2025);
    EXPECT_EQ(p.monthDay, 1228);
    EXPECT_EQ(p.course(), "06");
    EXPECT_EQ(d.courseName, "中山");
    EXPECT_EQ(p.meeting, 5);
    EXPECT_EQ(p.meetingDay, 8);
    EXPECT_EQ(p.raceNumber, 11);
    EXPECT_EQ(d.shortName, "有馬記");
    EXPECT_EQ(p.gradeCode, 'A');
    EXPECT_EQ(d.gradeText, "ＧⅠ");
    EXPECT_EQ(p.conditionCode, 999);
    EXPECT_EQ(d.conditionText, "オープン");
    EXPECT_EQ(d.raceName, "有馬記念");
    EXPECT_EQ(p.distanceMetres, 2500);
    EXPECT_EQ(p.trackCode, 18);
    EXPECT_EQ(d.trackText, "芝　右回り｜外回り");
    EXPECT_EQ(p.fieldSize, 16);
    EXPECT_EQ(d.trackConditionCode, 2);
    EXPECT_EQ(d.trackConditionText, "稍重");
    EXPECT_EQ(d.weatherCode, 4);
    EXPECT_EQ(d.weatherText, "小雨");
    EXPECT_EQ(p.horseNumber, 7);
    EXPECT_EQ(d.bracket, 4);
    EXPECT_EQ(p.weightCarried, 570);
    EXPECT_EQ(d.jockeyName, "騎手名");
    EXPECT_EQ(p.abnormal, 0);
    EXPECT_EQ(d.bodyWeight, 502);
    EXPECT_EQ(p.corners, (std::array<std::int8_t, 4>{3, 4, 2, 1}));
    EXPECT_EQ(d.lastThreeFurlongs, 352);
    EXPECT_EQ(p.time, 2315);
    EXPECT_EQ(d.marginCode, "K__");
    EXPECT_EQ(d.marginText, " クビ");
    EXPECT_EQ(p.finish, 2);
    EXPECT_EQ(p.popularity, 5);
    EXPECT_EQ(d.otherHorseName, "カチウマ");
    EXPECT_EQ(p.timeDiff, 1);
    EXPECT_EQ(otherTimeOf(p), 2316);
    EXPECT_FALSE(r.pastRuns[1].present());
}

TEST_F(HorseFile, RunsEndAtTheBlankYear) {
    JvHorseRecord r = readOne(
        horseWithRuns("2020100002", {runOf(" ", 5, 2), runOf(" ", 5, 3), runOf(" ", 5, 4)}));
    EXPECT_TRUE(r.pastRuns[0].present());
    EXPECT_TRUE(r.pastRuns[2].present());
    EXPECT_FALSE(r.pastRuns[3].present());
    EXPECT_EQ(r.pastRuns[4], JvPastRun());
    // Three runs of class 6 count with factor 1: (8+17)+(8+16)+(8+15) = 72;
    // 72³ = 373248, ÷ 10000 = 37, squared 1369.
    EXPECT_EQ(r.strength, 1369);

    // Runs after the end mark keep nothing of a full record read before.
    JvHorseData full = horseWithRuns("2020100003", std::vector<JvRunData>(5, runOf(" ", 5, 1)));
    JvHorseData two = horseWithRuns("2020100004", {runOf(" ", 9, 1), runOf(" ", 9, 1)});
    write({full, two});
    JvHorseRecord reused;
    ASSERT_TRUE(readHorse(reused, path, full.id, 0));
    EXPECT_TRUE(reused.pastRuns[4].present());
    ASSERT_TRUE(readHorse(reused, path, two.id, 0));
    EXPECT_TRUE(reused.pastRuns[1].present());
    EXPECT_FALSE(reused.pastRuns[2].present());
    EXPECT_FALSE(reused.pastRuns[4].present());
}

TEST_F(HorseFile, StrengthFromTheRunsTaken) {
    // One GⅠ win: (20 − 0) + (19 − 1) = 38; u = 5 × 38 = 190; 190³ ÷ 10000
    // = 685; squared 469,225.
    EXPECT_EQ(readOne(horseWithRuns("2020100010", {runOf("A", 999, 1)})).strength, 469225);

    // Two runs count with factor 2: 500万下 2nd (8 + 17) and 新馬 1st (2 + 18).
    EXPECT_EQ(readOne(horseWithRuns("2020100011", {runOf(" ", 5, 2), runOf(" ", 701, 1)})).strength,
              (90 * 90 * 90 / 10000) * (90 * 90 * 90 / 10000));

    // An abnormal run is not taken; with none left the strength is 10.
    JvRunData accident = runOf("A", 999, 1);
    accident.abnormal = 1;
    EXPECT_EQ(readOne(horseWithRuns("2020100012", {accident})).strength, 10);
    EXPECT_EQ(readOne(horseWithRuns("2020100013", {})).strength, 10);

    // A weak result that rounds to 0 becomes 1.
    EXPECT_EQ(readOne(horseWithRuns("2020100014", {runOf(" ", 701, 18)})).strength, 1);
}

TEST_F(HorseFile, ClassIndexOfAPastRun) {
    struct Case {
        char grade;
        std::int16_t condition;
        int index;
    };
    const Case cases[] = {{'A', 5, 0},   {'B', 5, 1},   {'C', 999, 2}, {'D', 5, 6},
                          {' ', 9, 5},   {' ', 16, 4},  {' ', 701, 9}, {' ', 702, 8},
                          {' ', 703, 7}, {' ', 999, 3}, {'E', 10, 5}};
    for (const Case& c : cases) {
        JvPastRun run;
        run.gradeCode = c.grade;
        run.conditionCode = c.condition;
        EXPECT_EQ(pastRunClassIndex(run), c.index) << c.grade << c.condition;
    }
}

TEST_F(HorseFile, BestDistanceFromTheFinishingCounts) {
    JvHorseData horse;
    // Two wins up to 1600 m and one at 1601–2200 m: (2800 + 2000) ÷ 3.
    horse.bandCounts[0][0][0] = 2;
    horse.bandCounts[0][1][0] = 1;
    EXPECT_EQ(readOne(horse).aptitudeMetres, 1600);

    // The two sets are added band by band.
    horse.bandCounts[1][2][0] = 3;
    EXPECT_EQ(readOne(horse).aptitudeMetres, (2 * 1400 + 2000 + 3 * 2800) / 6);

    // Without wins the 2nd places decide, then the 3rd, then the rest.
    JvHorseData placed;
    placed.bandCounts[1][2][1] = 1;
    placed.bandCounts[0][0][3] = 9;
    EXPECT_EQ(readOne(placed).aptitudeMetres, 2800);
    JvHorseData beaten;
    beaten.bandCounts[0][1][3] = 4;
    EXPECT_EQ(readOne(beaten).aptitudeMetres, 2000);

    // A horse that never finished gets the race sheet's reset distance.
    JvHorseData none;
    EXPECT_EQ(readOne(none).aptitudeMetres, 2000);
}

TEST_F(HorseFile, ZeroCornersAreFilled) {
    JvRunData early;
    early.corners = {3, 0, 0, 5};
    JvRunData unknown;
    unknown.corners = {0, 0, 4, 6};
    JvHorseRecord r = readOne(horseWithRuns("2020100020", {early, unknown}));
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(runCorner(r.pastRuns[0], i), (std::array{3, 3, 3, 5})[i]);
        EXPECT_EQ(runCorner(r.pastRuns[1], i), (std::array{7, 7, 4, 6})[i]);
    }
}

TEST_F(HorseFile, RunningStyleFromTheEarlyCorners) {
    struct Case {
        std::array<int, 4> corners;
        int style; // 0 逃げ, 1 先行, 2 差し, 3 追込
    };
    // The style follows the 1st + 2nd corner sum a: < 6 逃げ, < 12 先行,
    // 20..36 追込, otherwise 差し.
    const Case cases[] = {{{1, 4, 9, 9}, 0},   {{3, 3, 1, 1}, 1},   {{5, 6, 1, 1}, 1},
                          {{6, 6, 1, 1}, 2},   {{9, 10, 1, 1}, 2},  {{10, 10, 1, 1}, 3},
                          {{18, 18, 1, 1}, 3}, {{18, 19, 1, 1}, 2}, {{0, 0, 1, 1}, 2}};
    for (const Case& c : cases) {
        JvRunData run;
        run.corners = c.corners;
        EXPECT_EQ(readOne(horseWithRuns("2020100030", {run})).runningStyle, RunningStyle{c.style})
            << c.corners[0] << "," << c.corners[1];
    }
    // The average over the present runs is truncated: (4 + 9) ÷ 2 = 6.
    JvRunData a, b;
    a.corners = {2, 2, 1, 1};
    b.corners = {4, 5, 1, 1};
    a.abnormal = 1; // abnormal runs still show where the horse ran
    EXPECT_EQ(readOne(horseWithRuns("2020100031", {a, b})).runningStyle, RunningStyle::Stalker);
    EXPECT_EQ(readOne(horseWithRuns("2020100032", {})).runningStyle, RunningStyle::Closer);
}

TEST_F(HorseFile, OtherTimeIsTheRunTimePlusTheGapAsADuration) {
    struct Case {
        int time;
        int timeDiff;
        int otherTime;
    };
    const Case cases[] = {
        {1219, 5, 1224}, {1598, 402, 2400}, {1595, 5, 2000}, {2599, 1, 3000},
        {1340, 0, 1340}, {580, 20, 1000},   {0, 7, 7},
    };
    for (const Case& c : cases) {
        JvRunData run;
        run.time = c.time;
        run.timeDiff = c.timeDiff;
        const JvPastRun p = readOne(horseWithRuns("2020100040", {run})).pastRuns[0];
        EXPECT_EQ(otherTimeOf(p), c.otherTime) << c.time << "+" << c.timeDiff;
        // The loader's gap in tenths is the gap the file gave.
        EXPECT_EQ(timeToTenths(otherTimeOf(p)) - timeToTenths(p.time), c.timeDiff);
    }
    EXPECT_EQ(timeToTenths(1219), 819);
    EXPECT_EQ(tenthsToTime(819), 1219);
    EXPECT_EQ(tenthsToTime(timeToTenths(2400)), 2400);
}

TEST_F(HorseFile, OddsEstimate) {
    EXPECT_EQ(estimateOdds(1234, 100), 98);
    EXPECT_EQ(estimateOdds(0, 100), 100);
    // t = 820, v = -8, w = 8280 / 900 = 9, z = 0.
    EXPECT_EQ(estimateOdds(1000, 900), 9);
    // A runner above 82 % of the field total leaves the odds bands.
    EXPECT_LT(estimateOdds(1000, 990), 15);

    JvHorseData horse = horseWithRuns("2020100050", {runOf("A", 999, 1)});
    EXPECT_EQ(readOne(horse).oddsEstimate, 100);
    // 469225 of a total 1000000: t = 820000, v = 35077, w = 16, z = -1.
    EXPECT_EQ(readOne(horse, 1000000).oddsEstimate, 17);
}

TEST_F(HorseFile, TheLastRecordIsFoundAndAMissingOneReported) {
    std::vector<JvHorseData> horses;
    for (int n = 0; n < 50; ++n) {
        JvHorseData h;
        h.id = test::jvHorseIdFor(n);
        h.name = "ウマ" + std::to_string(n);
        horses.push_back(h);
    }
    write(horses);
    JvHorseRecord r;
    ASSERT_TRUE(readHorse(r, path, test::jvHorseIdFor(49), 0));
    EXPECT_EQ(r.name, "ウマ49");
    ASSERT_TRUE(readHorse(r, path, test::jvHorseIdFor(0), 0));
    EXPECT_EQ(r.name, "ウマ0");

    const JvHorseRecord before = r;
    for (std::string id : {std::string("2099999999"), std::string("20000000"),
                           test::jvHorseIdFor(49) + " ", std::string("")}) {
        EXPECT_EQ(readHorse(r, path, id, 0).message(), kNotFound) << id;
        EXPECT_EQ(r, before);
    }
    r.reset();
    EXPECT_EQ(r, JvHorseRecord());
}

TEST_F(HorseFile, TheFirstRecordWithTheKeyWins) {
    JvHorseData first;
    first.id = "2020123456";
    first.name = "サキノウマ";
    JvHorseData second = first;
    second.name = "アトノウマ";
    second.birthYear = first.birthYear + 1;
    JvHorseData other;
    other.id = "2020000001";
    write({other, first, second, other});
    JvHorseRecord r;
    ASSERT_TRUE(readHorse(r, path, "2020123456", 0));
    EXPECT_EQ(r.name, "サキノウマ");
    // The backtest keeps each key's first record, in file order.
    PastHorses horses;
    ASSERT_TRUE(readPastHorses(path, horses));
    ASSERT_EQ(horses.size(), 2u);
    EXPECT_EQ(horses[0].horseId(), other.id);
    EXPECT_EQ(horses[1].birthYear, first.birthYear);
}

// Keys inserted one by one (the table growing many times) are all found; the
// filter in front of the table turns away nearly every other key.
TEST(HorseKeyTable, EveryKeyIsFoundAndNearlyNoOtherGetsPastTheFilter) {
    JvHorseKeyTable table;
    for (int n = 0; n < 3000; ++n)
        ASSERT_TRUE(table.insert(test::jvHorseIdFor(2 * n), static_cast<std::uint32_t>(n)));
    int passed = 0;
    for (int n = 0; n < 3000; ++n) {
        const std::string present = test::jvHorseIdFor(2 * n);
        const std::string absent = test::jvHorseIdFor(2 * n + 1);
        ASSERT_TRUE(table.mayHold(present.data()));
        ASSERT_EQ(table.find(present), std::optional<std::uint32_t>(n));
        EXPECT_EQ(table.find(absent), std::nullopt);
        passed += table.mayHold(absent.data());
    }
    EXPECT_LT(passed, 300);
}

// Fields are read several digits at a time when they hold digits only; a
// field written any other way is read on its own, and its neighbours
// must come out as before.
TEST(PastHorse, EachNumberReadsAsWrittenWhateverItsNeighboursHold) {
    const std::string record = test::jvHorseRecord(horseWithRuns("2020100070", {JvRunData{}}));
    const JvPastRun plain = parsePastHorse(record).runs[0];
    using F = JvPastRun;
    const struct {
        size_t offset;
        std::string text;
        void (*expect)(F&); // the field's value as written
    } cases[] = {
        {0, " 202", [](F& f) { f.year = 202; }},
        {4, "10 0", [](F& f) { f.monthDay = 10; }},
        {10, " 4", [](F& f) { f.meeting = 4; }},
        {12, "+6", [](F& f) { f.meetingDay = 6; }},
        {14, "1-", [](F& f) { f.raceNumber = 1; }},
        {29, "  5", [](F& f) { f.conditionCode = 5; }},
        {56, " 900", [](F& f) { f.distanceMetres = 900; }},
        {60, "7 ", [](F& f) { f.trackCode = 7; }},
        {74, "-1", [](F& f) { f.fieldSize = -1; }},
        {80, " 3", [](F& f) { f.horseNumber = 3; }},
        {84, " 55", [](F& f) { f.weightCarried = 55; }},
        {136, "13 5", [](F& f) { f.time = 13; }},
        {145, " 2", [](F& f) { f.finish = 2; }},
        {147, "3 ", [](F& f) { f.popularity = 3; }},
        {212, " +2", [](F& f) { f.timeDiff = 2; }},
    };
    for (const auto& c : cases) {
        std::string changed = record;
        changed.replace(kJvPastRunsOffset + c.offset, c.text.size(), c.text);
        JvPastRun expected = plain;
        c.expect(expected);
        EXPECT_EQ(parsePastHorse(changed).runs[0], expected) << c.offset;
    }
    std::string corners = record;
    corners.replace(kJvPastRunsOffset + 122, 8, " 5+5 403");
    EXPECT_EQ(parsePastHorse(corners).runs[0], plain);
}

TEST_F(HorseFile, AFileOfPartRecordsIsNotReadShifted) {
    const JvHorseData horse = horseWithRuns("2020100060", {runOf(" ", 5, 2), runOf(" ", 5, 3)});
    const std::string record = test::jvHorseRecord(horse);
    std::string lineFeedOnly = record;
    lineFeedOnly.erase(lineFeedOnly.size() - 2, 1);
    const std::string cases[] = {
        record.substr(0, 889 + 215 + 100), // ends inside the second run
        horse.id.substr(0, 9),             // not even a key
        lineFeedOnly + lineFeedOnly,       // LF in place of CR LF
        record + record.substr(0, 20),     // a whole record and a cut one
    };
    for (const std::string& bytes : cases) {
        forgetJvFileIndexes();
        ASSERT_TRUE(writeWholeFile(path, bytes));
        JvHorseRecord r;
        EXPECT_EQ(readHorse(r, path, horse.id, 0).message(), kNotFound) << bytes.size();
        EXPECT_EQ(rescan::readHorse(r, path, horse.id, 0).message(), kNotFound) << bytes.size();
        PastHorses horses;
        EXPECT_EQ(readPastHorses(path, horses).message(), kNotFound) << bytes.size();
    }
}

TEST_F(HorseFile, FieldsWithoutDigitsReadZeroNeverThePreviousHorsesValues) {
    JvHorseData first;
    first.id = "2020000001";
    first.birthMonthDay = 512;
    first.earnings = 777;
    JvRunData run;
    run.finish = 2;
    run.popularity = 5;
    run.time = 1345;
    first.runs = {run, run, run};
    JvHorseData second;
    second.id = "2020000002";
    second.birthMonthDay = test::kBlankField;
    second.earnings = test::kBlankField;
    JvRunData blank = run;
    blank.finish = test::kBlankField;
    blank.popularity = test::kBlankField;
    blank.time = test::kBlankField;
    second.runs = {blank};
    write({first, second});

    JvHorseRecord fresh;
    ASSERT_TRUE(readHorse(fresh, path, second.id, 0));
    EXPECT_EQ(fresh.earnings, 0);
    EXPECT_EQ(fresh.birthMonthDay, 0);
    EXPECT_TRUE(fresh.pastRuns[0].present());
    EXPECT_EQ(fresh.pastRuns[0].finish, 0);
    EXPECT_EQ(fresh.pastRuns[0].popularity, 0);
    EXPECT_EQ(fresh.pastRuns[0].time, 0);
    for (size_t i = 1; i < fresh.pastRuns.size(); ++i)
        EXPECT_EQ(fresh.pastRuns[i], JvPastRun()) << i;

    // A record that held another horse reads the same.
    for (auto reader : {&readHorse, &rescan::readHorse}) {
        JvHorseRecord reused;
        ASSERT_TRUE(reader(reused, path, first.id, 0));
        EXPECT_EQ(reused.pastRuns[0].popularity, 5);
        ASSERT_TRUE(reader(reused, path, second.id, 0));
        EXPECT_EQ(reused, fresh);
    }

    // A horse that is not in the file leaves the record as it was.
    JvHorseRecord kept;
    ASSERT_TRUE(readHorse(kept, path, first.id, 0));
    const JvHorseRecord before = kept;
    EXPECT_EQ(readHorse(kept, path, "2020999999", 0).message(), kNotFound);
    EXPECT_EQ(kept, before);
}

TEST_F(HorseFile, AFileThatCannotBeOpenedIsReported) {
    const std::string missing = dir.file("none/JracUmaj.dat");
    JvHorseRecord r;
    const std::string cannotOpen = "ファイル " + missing + " は開けませんでした。";
    EXPECT_EQ(readHorse(r, missing, "2020000001", 0).message(), cannotOpen);
    EXPECT_EQ(rescan::readHorse(r, missing, "2020000001", 0).message(), cannotOpen);
    PastHorses horses;
    EXPECT_EQ(readPastHorses(missing, horses).message(), cannotOpen);
    EXPECT_EQ(readHorse(r, dir.path(), "2020000001", 0).message(),
              "ファイル " + dir.path() + " は開けませんでした。");
    EXPECT_EQ(r, JvHorseRecord());
}

TEST_F(HorseFile, ARewrittenFileIsSearchedAfresh) {
    JvHorseData a;
    a.id = "2020000001";
    a.name = "マエノウマ";
    write({a});
    JvHorseRecord r;
    ASSERT_TRUE(readHorse(r, path, a.id, 0));

    // Same size, the key moved: the stale position is noticed by its key.
    JvHorseData b;
    b.id = "2020000002";
    b.name = "ツギノウマ";
    ASSERT_TRUE(test::writeJvHorseFile(path, {b, a}));
    ASSERT_TRUE(readHorse(r, path, b.id, 0));
    EXPECT_EQ(r.name, "ツギノウマ");
    ASSERT_TRUE(test::writeJvHorseFile(path, {a, b}));
    ASSERT_TRUE(readHorse(r, path, b.id, 0));
    EXPECT_EQ(r.name, "ツギノウマ");
    ASSERT_TRUE(readHorse(r, path, a.id, 0));
    EXPECT_EQ(r.name, "マエノウマ");
}

} // namespace
} // namespace zelkor
