// The indexed readers must give exactly what rescanning the file gives:
// the same records, the same results and the same messages.

#include "archive/archive_race_source.h"
#include "archive/horse_file.h"
#include "race/horse_record.h"
#include "race/race_card.h"
#include "race/race_loader.h"
#include "support/jv_generator.h"
#include "support/jv_test_dir.h"
#include "support/recording_prompt.h"
#include "support/rescan_race_source.h"
#include "text/file_io.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace zelkor {
namespace {

using test::JvTestDir;
using test::RecordingPrompt;

void expectSameRaceCardReads(const std::string& path, int extraIndexes) {
    const Result<int> count = countRaces(path);
    const Result<int> rescanCount = rescan::countRaces(path);
    ASSERT_EQ(count.valueOr(-1), rescanCount.valueOr(-1));
    ASSERT_EQ(count.message(), rescanCount.message());
    // One card reused over all reads, as the selection dialog does; each
    // successful read gives what a new card reads.
    JvRaceCard indexed, rescanned;
    for (int i = -1; i <= count.valueOr(0) + extraIndexes; ++i) {
        const Outcome a = readRace(indexed, path, i, "/p/");
        const Outcome b = rescan::readRace(rescanned, path, i, "/p/");
        ASSERT_EQ(a.ok(), b.ok()) << "race " << i;
        ASSERT_EQ(a.message(), b.message()) << "race " << i;
        ASSERT_EQ(indexed, rescanned) << "race " << i;
        if (a) {
            JvRaceCard fresh;
            ASSERT_TRUE(readRace(fresh, path, i, "/p/"));
            ASSERT_EQ(indexed, fresh) << "race " << i;
        }
    }
}

// Horse reads into reused records by both readers, each compared with a
// read into a new record.
void expectSameHorseReads(const std::string& path, const std::vector<std::string>& ids,
                          long long total) {
    JvHorseRecord indexed, rescanned;
    for (const std::string& id : ids) {
        const Outcome a = readHorse(indexed, path, id, total);
        const Outcome b = rescan::readHorse(rescanned, path, id, total);
        ASSERT_EQ(a.ok(), b.ok()) << id;
        ASSERT_EQ(a.message(), b.message()) << id;
        ASSERT_EQ(indexed, rescanned) << id;
        if (a) {
            JvHorseRecord fresh;
            ASSERT_TRUE(readHorse(fresh, path, id, total));
            ASSERT_EQ(indexed, fresh) << id;
        }
    }
}

// A race day of 36 races with a horse that is in no file and a key that
// appears twice (its second record named ニバンメ); the card's path.
std::string writeOddDay(const JvTestDir& dir, test::JvRaceDay& day) {
    const std::string card = dir.file("JracDen1.dat");
    day = test::makeJvRaceDay(36, 1500, 7);
    day.races[3].runners[0].horseId = "2099999999";
    day.horses.push_back(day.horses[10]);
    day.horses.back().name = "ニバンメ";
    forgetJvFileIndexes();
    EXPECT_TRUE(test::writeJvRaceCard(card, day.races));
    EXPECT_TRUE(test::writeJvHorseFile(horseFilePathFor(card), day.horses));
    return card;
}

TEST(IndexedReaders, AWholeRaceDayReadsAsRescanningReadsIt) {
    JvTestDir dir;
    test::JvRaceDay day;
    const std::string card = writeOddDay(dir, day);

    expectSameRaceCardReads(card, 2);

    JvRaceCard race;
    JvHorseRecord indexed, rescanned;
    int found = 0;
    int missing = 0;
    for (int n = 1; n <= 36; ++n) {
        ASSERT_TRUE(readRace(race, card, n));
        for (long long total : {0LL, 123456LL}) {
            for (int k = 1; k <= race.runnerCount; ++k) {
                const Outcome a =
                    readHorse(indexed, race.horseFilePath, race.runner(k).horseId, total);
                const Outcome b =
                    rescan::readHorse(rescanned, race.horseFilePath, race.runner(k).horseId, total);
                ASSERT_EQ(a.ok(), b.ok()) << race.runner(k).horseId;
                ASSERT_EQ(a.message(), b.message()) << race.runner(k).horseId;
                ASSERT_EQ(indexed, rescanned) << race.runner(k).horseId;
                found += a ? 1 : 0;
                missing += a ? 0 : 1;
            }
        }
    }
    EXPECT_EQ(missing, 2); // the missing horse, twice
    EXPECT_GT(found, 36 * 2 * 7);

    for (const std::string& id : {day.horses[10].id, day.horses.back().id, std::string("x")}) {
        const Outcome a = readHorse(indexed, race.horseFilePath, id, 0);
        const Outcome b = rescan::readHorse(rescanned, race.horseFilePath, id, 0);
        EXPECT_EQ(a.ok(), b.ok());
        EXPECT_EQ(indexed, rescanned);
    }
    EXPECT_NE(indexed.name, "ニバンメ");
}

// The archive source reads the card's horses in one pass and loads races
// with only what the sheet takes: races, horses, loaded sheets and messages
// are the rescanning source's, for a horse of another card too.
TEST(IndexedReaders, AnArchiveSourceReadsAndLoadsAsRescanningDoes) {
    JvTestDir dir;
    test::JvRaceDay day;
    const std::string card = writeOddDay(dir, day);
    ArchiveRaceSource archive(card, "/p/");
    test::RescanRaceSource rescanning(card, "/p/");
    RecordingPrompt archivePrompt, rescanPrompt;
    JvRaceCard race, rescanRace;
    RaceSheet sheet, rescanSheet;
    for (int n = 1; n <= 36; ++n) {
        ASSERT_TRUE(archive.readRace(race, n, archivePrompt));
        ASSERT_TRUE(rescanning.readRace(rescanRace, n, rescanPrompt));
        ASSERT_EQ(race, rescanRace);
        loadJvRace(sheet, race, archive, archivePrompt);
        loadJvRace(rescanSheet, race, rescanning, rescanPrompt);
        ASSERT_EQ(sheet.runners(), rescanSheet.runners()) << n;
    }
    race.runners[0].horseId = day.horses.back().id; // on the horse file, not on this card
    race.runners[1].horseId = day.horses[1499].id;
    for (int k : {1, 2, 3}) {
        JvHorseRecord a, b;
        ASSERT_EQ(archive.readHorse(a, race, k, archivePrompt).ok(),
                  rescanning.readHorse(b, race, k, rescanPrompt).ok());
        EXPECT_EQ(a, b) << k;
    }
    EXPECT_EQ(archivePrompt.texts(), rescanPrompt.texts());
    EXPECT_EQ(archivePrompt.texts().size(), 1u); // the missing horse
}

// Damaged and odd race cards: random lines of random lengths with every
// kind of line end, stray carriage returns and end-of-file marks.
TEST(IndexedReaders, OddRaceCardsReadAsRescanningReadsThem) {
    JvTestDir dir;
    const std::string path = dir.file("JracDen1.dat");
    std::mt19937 random(11);
    test::JvRaceData sample;
    sample.runners.resize(18);
    const std::string fullLine = test::jvRaceLine(sample);
    for (int round = 0; round < 60; ++round) {
        std::string text;
        const int lines = std::uniform_int_distribution<int>(0, 6)(random);
        for (int l = 0; l < lines; ++l) {
            const size_t length = std::uniform_int_distribution<size_t>(0, 3000)(random);
            for (size_t i = 0; i < length; ++i)
                text.push_back(fullLine[i % fullLine.size()]);
            switch (std::uniform_int_distribution<int>(0, 5)(random)) {
            case 0:
                text += "\n";
                break;
            case 1:
                text += "\r\n";
                break;
            case 2:
                text += "\r";
                break;
            case 3:
                text += "\r\r\n";
                break;
            case 4:
                if (round % 5 == 0)
                    text += "\x1a";
                break;
            default:
                text += "\n";
                break;
            }
        }
        forgetJvFileIndexes();
        ASSERT_TRUE(writeWholeFile(path, text));
        SCOPED_TRACE("round " + std::to_string(round));
        expectSameRaceCardReads(path, 2);
    }
}

TEST(IndexedReaders, OddHorseFilesReadAsRescanningReadsThem) {
    JvTestDir dir;
    const std::string path = dir.file("JracUmaj.dat");
    std::mt19937 random(5);
    test::JvRaceDay day = test::makeJvRaceDay(0, 40, 3);
    for (int round = 0; round < 20; ++round) {
        std::string bytes = test::jvHorseFileBytes(day.horses);
        // Cut the file anywhere, so the last record may be short.
        bytes.resize(std::uniform_int_distribution<size_t>(0, bytes.size())(random));
        forgetJvFileIndexes();
        ASSERT_TRUE(writeWholeFile(path, bytes));
        std::vector<std::string> ids;
        for (const test::JvHorseData& horse : day.horses)
            ids.push_back(horse.id);
        expectSameHorseReads(path, ids, 1000);
    }
}

// Numeric fields without digits, here and there, after records with values:
// both readers read them as 0, whatever the reused record held.
TEST(IndexedReaders, BlankFieldsReadAsRescanningReadsThem) {
    JvTestDir dir;
    const std::string card = dir.file("JracDen1.dat");
    test::JvRaceDay day = test::makeJvRaceDay(24, 400, 13);
    std::mt19937 random(17);
    auto maybeBlank = [&random](int& field) {
        if (std::uniform_int_distribution<int>(0, 2)(random) == 0)
            field = test::kBlankField;
    };
    for (size_t r = 1; r < day.races.size(); r += 2) {
        test::JvRaceData& race = day.races[r];
        for (int* field :
             {&race.year, &race.monthDay, &race.meeting, &race.meetingDay, &race.raceNumber,
              &race.weekdayCode, &race.edition, &race.kindCode, &race.weightRuleCode,
              &race.distanceMetres, &race.trackCode, &race.postTime, &race.saleCode,
              &race.conditionCodes[1], &race.prizeMoney[0], &race.addedMoney[2]})
            maybeBlank(*field);
        // (The horse number stays: the generator brackets the field by it.)
        for (test::JvRunnerData& runner : race.runners)
            for (int* field : {&runner.bracket, &runner.sexCode, &runner.weightCarried,
                               &runner.blinkers, &runner.jockeyCode, &runner.trainerCode})
                maybeBlank(*field);
    }
    std::vector<std::string> ids;
    for (size_t h = 0; h < day.horses.size(); ++h) {
        test::JvHorseData& horse = day.horses[h];
        ids.push_back(horse.id);
        if (h % 2 == 0)
            continue;
        for (int* field : {&horse.birthYear, &horse.birthMonthDay, &horse.sexCode, &horse.coatCode,
                           &horse.earnings, &horse.prizeTotal, &horse.bandCounts[0][1][0]})
            maybeBlank(*field);
        for (test::JvRunData& run : horse.runs)
            for (int* field : {&run.popularity, &run.finish, &run.time, &run.timeDiff,
                               &run.abnormal, &run.fieldSize, &run.corners[0], &run.weightCarried,
                               &run.distanceMetres, &run.conditionCode})
                maybeBlank(*field);
    }
    forgetJvFileIndexes();
    ASSERT_TRUE(test::writeJvRaceCard(card, day.races));
    ASSERT_TRUE(test::writeJvHorseFile(horseFilePathFor(card), day.horses));

    expectSameRaceCardReads(card, 2);
    for (long long total : {0LL, 54321LL})
        expectSameHorseReads(horseFilePathFor(card), ids, total);

    // Some blank field did read 0 after a record with a value.
    JvRaceCard race;
    int zeroYears = 0;
    for (int n = 1; n <= 24; ++n) {
        ASSERT_TRUE(readRace(race, card, n));
        zeroYears += race.year == 0 ? 1 : 0;
        EXPECT_EQ(race.year == 0, day.races[static_cast<size_t>(n - 1)].year == test::kBlankField);
    }
    EXPECT_GT(zeroYears, 0);
}

} // namespace
} // namespace zelkor
