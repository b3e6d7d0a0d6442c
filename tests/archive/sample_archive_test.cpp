// The bundled sample archive and season are the program's out-of-the-box
// demo: the archive must unpack, list a full race day and load every race
// without a message, and neither may hold what a racing fan would stop at.

#include "archive/archive_intake.h"
#include "archive/archive_race_source.h"
#include "race/race_card.h"
#include "race/race_info.h"
#include "race/race_loader.h"
#include "store/jvdata_store.h"
#include "support/jv_test_dir.h"
#include "support/racing_facts.h"
#include "support/recording_prompt.h"
#include "support/silent_progress.h"
#include "text/file_io.h"
#include "text/format.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace zelkor {
namespace {

std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char c : bytes)
        h = (h ^ c) * 0x100000001b3u;
    return h;
}

TEST(SampleArchive, AFullRaceDayThatLoadsCleanly) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    test::JvTestDir program;
    test::RecordingPrompt prompt;
    JvRaceCard card;
    ASSERT_TRUE(intakeJvArchive(std::string(root) + "/resources/sample/JV_SAMPLE.lzh",
                                program.path(), card, prompt));
    EXPECT_TRUE(prompt.entries.empty()); // no trainer or jockey file to ask about
    // The files exactly as the archiver stored them (sizes and FNV-1a hashes).
    const std::string den = readWholeFile(card.raceCardPath).value_or("");
    const std::string uma = readWholeFile(card.horseFilePath).value_or("");
    EXPECT_EQ(den.size(), 42273u);
    EXPECT_EQ(fnv1a(den), 0x0b303f01e905f104u);
    EXPECT_EQ(uma.size(), 1391523u);
    EXPECT_EQ(fnv1a(uma), 0xaa7c2ad3a5d743b0u);

    ArchiveRaceSource source(card.raceCardPath, program.path());
    RaceList list = readRaceList(source, prompt);
    ASSERT_GE(list.raceCount, 24);
    ASSERT_EQ(static_cast<int>(list.rows.size()), list.raceCount);
    std::set<std::string> courses;
    for (const RaceListRow& row : list.rows)
        courses.insert(row.course);
    EXPECT_GE(courses.size(), 3u);

    int runnersWithRuns = 0;
    for (int n = 1; n <= list.raceCount; ++n) {
        RaceSheet sheet;
        ASSERT_TRUE(loadChosenJvRace(source, n, card, sheet, prompt)) << n;
        EXPECT_GE(sheet.runnerCount, 4) << n;
        for (int h = 1; h <= sheet.runnerCount; ++h) {
            EXPECT_FALSE(sheet.runner(h).name.empty()) << n << " " << h;
            if (sheet.runner(h).pastRuns[kLastRun].kind == PastRunKind::Race)
                ++runnersWithRuns;
        }
    }
    EXPECT_TRUE(prompt.entries.empty()) << prompt.entries.size() << " messages";
    EXPECT_GT(runnersWithRuns, 100);
}

// ---- What a racing fan would not stop at ----
// Both bundled files read through their race source, every race and every
// runner's horse held to the facts of JRA racing (support/racing_facts.h).

struct SampleFaults {
    std::vector<std::string> faults;
    std::vector<int> favouriteOdds, odds; // tenths, the store's real win odds
    void add(const JvRaceCard& card, const std::string& what) {
        faults.push_back(format("%04d%04d %s %dR: %s", card.year, card.monthDay,
                                card.courseCode.c_str(), card.raceNumber, what.c_str()));
    }
};

int tenthsOf(int mssT) {
    return mssT / 1000 * 600 + mssT % 1000;
}

bool turfTrack(int trackCode) {
    return trackCode >= 10 && trackCode <= 22;
}

bool courseRuns(const std::string& course, int trackCode, int metres) {
    const auto d = test::courseDistances(course, turfTrack(trackCode));
    return std::find(d.begin(), d.end(), metres) != d.end();
}

void checkDay(RaceSource& source, SampleFaults& f) {
    test::RecordingPrompt prompt;
    std::set<std::string> names;
    for (int position = 1; position <= source.raceCount(prompt); ++position) {
        JvRaceCard card;
        ASSERT_TRUE(source.readRace(card, position, prompt));
        const int date = card.year * 10000 + card.monthDay, month = card.monthDay / 100;
        if (card.postTime % 100 >= 60 || card.postTime < 930 || card.postTime > 1700)
            f.add(card, format("post time %04d", card.postTime));
        if (card.weekdayCode != test::jvWeekdayCode(date))
            f.add(card, format("weekday %d", card.weekdayCode));
        if (!courseRuns(card.courseCode, card.trackCode, card.distanceMetres))
            f.add(card, format("%dm on track %d", card.distanceMetres, card.trackCode));
        if (!card.shortName.empty() && !names.insert(card.raceName).second)
            f.add(card, "a name of another race of the day");
        const bool spring = month <= 5;
        if (card.kindCode != (spring ? 12 : 11) && card.kindCode != (spring ? 14 : 13))
            f.add(card, format("kind %d in month %d", card.kindCode, month));
        const int condition = card.conditionCodes[4];
        if (condition != 5 && condition != 10 && condition != 16 && condition != 701 &&
            condition != 703 && condition != 999)
            f.add(card, format("condition %03d", condition));
        if (!raceLoadable(card))
            continue;
        for (int k = 1; k <= card.runnerCount; ++k) {
            JvHorseRecord horse;
            ASSERT_TRUE(source.readHorse(horse, card, k, prompt));
            if (!test::ageFitsKind(horse.age, card.kindCode))
                f.add(card, format("a %d-year-old in kind %d", horse.age, card.kindCode));
            if (condition == 701 && horse.pastRuns[0].present())
                f.add(card, "a 新馬 runner with a past run");
            for (const JvPastRun& run : horse.pastRuns)
                if (run.present() && run.finish > 0 &&
                    !test::courseDistances(run.course(), true).empty() &&
                    (!courseRuns(std::string(run.course()), run.trackCode, run.distanceMetres) ||
                     !test::timeFitsDistance(tenthsOf(run.time), run.distanceMetres)))
                    f.add(card, format("a past run of %dm in %04d", run.distanceMetres, run.time));
            const int odds = card.runner(k).winOdds;
            if (odds > 0)
                (card.runner(k).popularity == 1 ? f.favouriteOdds : f.odds).push_back(odds);
        }
    }
    EXPECT_TRUE(prompt.entries.empty());
}

// A payout record of a race whose final race record says it was cancelled.
std::vector<std::string> cancelledWithPayouts(const std::string& records) {
    std::set<std::string> cancelled, paid;
    for (size_t at = 0; at + 27 <= records.size();) {
        const size_t end = std::min(records.find('\n', at), records.size());
        const std::string_view type(records.data() + at, 2), key(records.data() + at + 11, 16);
        if (type == "RA" && records[at + 2] == '9')
            cancelled.insert(std::string(key));
        if (type == "HR")
            paid.insert(std::string(key));
        at = end + 1;
    }
    std::vector<std::string> both;
    std::set_intersection(cancelled.begin(), cancelled.end(), paid.begin(), paid.end(),
                          std::back_inserter(both));
    return both;
}

TEST(SampleData, BelievableToARacingFan) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    SampleFaults f;
    test::JvTestDir program;
    test::RecordingPrompt prompt;
    JvRaceCard card;
    ASSERT_TRUE(intakeJvArchive(std::string(root) + "/resources/sample/JV_SAMPLE.lzh",
                                program.path(), card, prompt));
    ArchiveRaceSource archive(card.raceCardPath, program.path());
    checkDay(archive, f);

    const std::string season = std::string(root) + "/resources/sample/JV-Data_sample.dat";
    test::SilentProgress progress;
    const std::string store = jvStorePath(program.path());
    ImportSummary summary;
    ASSERT_TRUE(importJvData({season}, store, summary, prompt, progress));
    const Result<std::vector<StoreDate>> dates = readStoreDates(store);
    ASSERT_TRUE(dates);
    for (const StoreDate& date : *dates)
        checkDay(**openStoreDay(store, date.date), f);
    EXPECT_EQ(f.faults, std::vector<std::string>());
    EXPECT_EQ(cancelledWithPayouts(readWholeFile(season).value_or("")), std::vector<std::string>());

    // Favourites near 2-4, long shots above 100 a tenth at most, hardly any
    // at the 999.9 the odds stop at.
    ASSERT_GT(f.favouriteOdds.size(), 200u);
    std::sort(f.favouriteOdds.begin(), f.favouriteOdds.end());
    const int median = f.favouriteOdds[f.favouriteOdds.size() / 2];
    EXPECT_TRUE(median >= 20 && median <= 40) << median;
    const auto longShots =
        std::count_if(f.odds.begin(), f.odds.end(), [](int o) { return o > 1000; });
    EXPECT_LT(longShots * 100, static_cast<long>(f.odds.size()) * 10);
    const auto capped = std::count(f.odds.begin(), f.odds.end(), 9999);
    EXPECT_LT(capped * 100, static_cast<long>(f.odds.size()));
}

} // namespace
} // namespace zelkor
