#include "support/jv_generator.h"

#include "core/race_sheet.h"
#include "text/file_io.h"

#include <algorithm>
#include <random>
#include <stdexcept>

namespace zelkor::test {
namespace {

constexpr std::string_view kFullWidthSpace = "　";
constexpr size_t kRacePartBytes = 327;
constexpr size_t kRunnerGroupBytes = 63;
constexpr size_t kHorseRecordBytes = 2881;
constexpr size_t kRunBlockBytes = 215;
constexpr size_t kRunsOffset = 889;

// Writes fields into a record that starts as blanks.
class FieldWriter {
  public:
    explicit FieldWriter(std::string& record, size_t base = 0) : record_(record), base_(base) {}

    // A name field: the text, then full-width spaces (and one blank when an
    // odd number of bytes remains).
    void name(size_t offset, size_t width, std::string_view text) {
        std::string field = fit(text, width, offset);
        while (field.size() + kFullWidthSpace.size() <= width)
            field += kFullWidthSpace;
        put(offset, width, field);
    }

    // A code field: the text, then blanks.
    void code(size_t offset, size_t width, std::string_view text) {
        put(offset, width, fit(text, width, offset));
    }

    // A number zero-padded to the width (negative numbers blank-padded).
    void number(size_t offset, size_t width, int value) {
        if (value == kBlankField) {
            put(offset, width, "");
            return;
        }
        std::string digits;
        bool negative = value < 0;
        long long magnitude = negative ? -static_cast<long long>(value) : value;
        do {
            digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
            magnitude /= 10;
        } while (magnitude > 0);
        if (negative)
            digits.insert(digits.begin(), '-');
        if (digits.size() > width)
            throw std::invalid_argument("number " + std::to_string(value) + " does not fit " +
                                        std::to_string(width) + " bytes at offset " +
                                        std::to_string(offset));
        std::string field = negative ? std::string(width - digits.size(), ' ') + digits
                                     : std::string(width - digits.size(), '0') + digits;
        put(offset, width, field);
    }

  private:
    std::string fit(std::string_view text, size_t width, size_t offset) const {
        if (text.size() > width)
            throw std::invalid_argument("text of " + std::to_string(text.size()) +
                                        " bytes does not fit " + std::to_string(width) +
                                        " bytes at offset " + std::to_string(offset));
        return std::string(text);
    }

    void put(size_t offset, size_t width, std::string_view field) {
        size_t at = base_ + offset;
        if (record_.size() < at + width)
            record_.resize(at + width, ' ');
        record_.replace(at, field.size(), field);
        // Bytes of the field the text does not reach stay blank.
        for (size_t i = field.size(); i < width; ++i)
            record_[at + i] = ' ';
    }

    std::string& record_;
    size_t base_;
};

void writeRun(std::string& record, size_t slot, const JvRunData& run) {
    FieldWriter w(record, kRunsOffset + kRunBlockBytes * slot);
    w.number(0, 4, run.year);
    w.number(4, 4, run.monthDay);
    w.code(8, 2, run.courseCode);
    w.number(10, 2, run.meeting);
    w.number(12, 2, run.meetingDay);
    w.number(14, 2, run.raceNumber);
    w.name(16, 6, run.shortName);
    w.code(22, 1, run.gradeCode);
    w.number(29, 3, run.conditionCode);
    w.name(32, 24, run.raceName);
    w.number(56, 4, run.distanceMetres);
    w.number(60, 2, run.trackCode);
    w.number(74, 2, run.fieldSize);
    w.number(78, 1, run.trackConditionCode);
    w.number(79, 1, run.weatherCode);
    w.number(80, 2, run.horseNumber);
    w.number(82, 1, run.bracket);
    w.number(84, 3, run.weightCarried);
    w.name(93, 8, run.jockeyName);
    w.number(115, 1, run.abnormal);
    w.number(116, 3, run.bodyWeight);
    for (size_t i = 0; i < 4; ++i)
        w.number(122 + 2 * i, 2, run.corners[i]);
    w.number(133, 3, run.lastThreeFurlongs);
    w.number(136, 4, run.time);
    w.code(140, 3, run.marginCode);
    w.number(145, 2, run.finish);
    w.number(147, 2, run.popularity);
    w.name(191, 18, run.otherHorseName);
    w.number(212, 3, run.timeDiff);
}

} // namespace

std::string jvRaceLine(const JvRaceData& race) {
    const size_t runners = race.runners.size();
    std::string line(kRacePartBytes + kRunnerGroupBytes * runners, ' ');
    FieldWriter w(line);
    w.number(0, 4, race.year);
    w.number(4, 4, race.monthDay);
    w.code(8, 2, race.courseCode);
    w.number(10, 2, race.meeting);
    w.number(12, 2, race.meetingDay);
    w.number(14, 2, race.raceNumber);
    w.number(16, 1, race.weekdayCode);
    w.name(17, 60, race.raceName);
    w.name(77, 6, race.shortName);
    w.number(83, 3, race.edition);
    w.code(86, 1, race.gradeCode);
    w.number(87, 2, race.kindCode);
    w.code(89, 3, race.symbolCode);
    w.number(92, 1, race.weightRuleCode);
    for (size_t i = 0; i < 5; ++i)
        w.number(93 + 3 * i, 3, race.conditionCodes[i]);
    w.number(132, 4, race.distanceMetres);
    w.number(136, 2, race.trackCode);
    for (size_t i = 0; i < 5; ++i)
        w.number(148 + 7 * i, 7, race.prizeMoney[i]);
    for (size_t i = 0; i < 3; ++i)
        w.number(197 + 7 * i, 7, race.addedMoney[i]);
    w.number(319, 4, race.postTime);
    w.number(323, 1, race.saleCode);
    w.number(324, 2,
             race.runnerCountField >= 0 ? race.runnerCountField : static_cast<int>(runners));
    for (size_t k = 0; k < runners; ++k) {
        const JvRunnerData& r = race.runners[k];
        const int position = static_cast<int>(k + 1);
        const int horseNumber = r.horseNumber != 0 ? r.horseNumber : position;
        FieldWriter g(line, kRacePartBytes + kRunnerGroupBytes * k);
        g.number(0, 2, horseNumber);
        g.number(2, 1,
                 r.bracket != 0
                     ? r.bracket
                     : BracketOf(horseNumber, std::min<int>(static_cast<int>(runners), 18)));
        g.code(3, 10, r.horseId);
        g.name(13, 18, r.horseName);
        g.number(31, 1, r.sexCode);
        g.number(32, 3, r.weightCarried);
        g.number(35, 1, r.blinkers);
        g.number(36, 5, r.jockeyCode);
        g.name(41, 8, r.jockeyName);
        g.number(49, 1, r.apprenticeCode);
        g.number(50, 5, r.trainerCode);
        g.name(55, 8, r.trainerName);
    }
    return line;
}

std::string jvRaceCardText(const std::vector<JvRaceData>& races, std::string_view lineEnd) {
    std::string text;
    for (const JvRaceData& race : races) {
        text += jvRaceLine(race);
        text += lineEnd;
    }
    return text;
}

std::string jvHorseRecord(const JvHorseData& horse) {
    std::string record(kHorseRecordBytes, ' ');
    FieldWriter w(record);
    w.code(0, 10, horse.id);
    w.name(28, 36, horse.name);
    w.number(64, 4, horse.birthYear);
    w.number(68, 4, horse.birthMonthDay);
    w.number(72, 1, horse.breedCode);
    w.number(73, 1, horse.sexCode);
    w.number(74, 2, horse.coatCode);
    w.number(76, 2, horse.markCode);
    w.name(78, 36, horse.sire);
    w.name(135, 36, horse.dam);
    w.name(192, 36, horse.damSire);
    w.name(249, 36, horse.damDam);
    w.name(405, 24, horse.birthplace);
    w.name(429, 40, horse.breeder);
    w.name(475, 40, horse.owner);
    w.number(573, 7, horse.earnings);
    w.number(587, 7, horse.prizeTotal);
    for (size_t set = 0; set < 2; ++set)
        for (size_t band = 0; band < 3; ++band)
            for (size_t place = 0; place < 4; ++place)
                w.number(817 + 36 * set + 12 * band + 3 * place, 3,
                         horse.bandCounts[set][band][place]);
    const size_t runs = std::min<size_t>(horse.runs.size(), 5);
    for (size_t slot = 0; slot < runs; ++slot)
        writeRun(record, slot, horse.runs[slot]);
    // The slot after the last run starts with four blanks (already there).
    record[kHorseRecordBytes - 2] = '\r';
    record[kHorseRecordBytes - 1] = '\n';
    return record;
}

std::string jvHorseFileBytes(const std::vector<JvHorseData>& horses) {
    std::string bytes;
    bytes.reserve(horses.size() * kHorseRecordBytes);
    for (const JvHorseData& horse : horses)
        bytes += jvHorseRecord(horse);
    return bytes;
}

bool writeJvRaceCard(const std::string& path, const std::vector<JvRaceData>& races) {
    return writeWholeFile(path, jvRaceCardText(races));
}

bool writeJvHorseFile(const std::string& path, const std::vector<JvHorseData>& horses) {
    return writeWholeFile(path, jvHorseFileBytes(horses));
}

// ---- A fictional race day ------------------------------------------------

namespace {

constexpr std::string_view kSyllables[] = {
    "ア", "カ", "サ", "タ", "ナ", "ハ", "マ", "ヤ", "ラ", "ワ", "イ", "キ", "シ", "チ", "ニ", "ミ",
    "リ", "ウ", "ク", "ス", "ツ", "ヌ", "フ", "ム", "ル", "エ", "ケ", "セ", "テ", "ネ", "メ", "レ",
    "オ", "コ", "ソ", "ト", "ノ", "ホ", "モ", "ヨ", "ロ", "ン", "ガ", "ギ", "グ", "ゲ", "ゴ", "ザ",
    "ジ", "ズ", "ダ", "デ", "ド", "バ", "ビ", "ブ", "ベ", "ボ", "パ", "ピ", "プ", "ポ", "ー"};
constexpr std::string_view kRaceWords[] = {"ミナモ",   "ハヤテ",   "ツキカゲ", "アサギリ",
                                           "シラカバ", "ホシゾラ", "カザハナ", "ユキミチ",
                                           "アカネ",   "コハク",   "スズラン", "ヒバリ"};
constexpr std::string_view kRaceSuffixes[] = {"特別", "ステークス", "賞", "カップ"};
constexpr std::string_view kFamilyNames[] = {"青木", "石川", "上田", "大野", "片山",
                                             "北村", "小島", "坂本", "高木", "中川"};
constexpr std::string_view kGivenNames[] = {"一郎", "健二", "翔太", "大輔", "直樹",
                                            "真一", "誠",   "亮",   "修",   "剛"};
constexpr std::string_view kBirthplaces[] = {"日高町",     "新冠町",   "浦河町",
                                             "新ひだか町", "むかわ町", "千歳市"};
constexpr std::string_view kMargins[] = {"_12", "_34", "1__", "112", "2__", "3__",
                                         "K__", "A__", "H__", "5__", "T__"};
constexpr std::string_view kCourses[] = {"05", "06", "08", "09", "03", "10"};

class DayRandom {
  public:
    explicit DayRandom(std::uint32_t seed) : engine_(seed) {}
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine_); }
    template <class T, size_t N> const T& pick(const T (&items)[N]) {
        return items[static_cast<size_t>(between(0, static_cast<int>(N) - 1))];
    }

  private:
    std::mt19937 engine_;
};

std::string inventedName(DayRandom& random, int minSyllables, int maxSyllables) {
    std::string name;
    int count = random.between(minSyllables, maxSyllables);
    for (int i = 0; i < count; ++i) {
        std::string_view s = random.pick(kSyllables);
        if (i == 0 && s == "ー")
            s = "ア";
        name += s;
    }
    return name;
}

std::string personName(DayRandom& random) {
    return std::string(random.pick(kFamilyNames)) + std::string(random.pick(kGivenNames));
}

int randomCondition(DayRandom& random) {
    static constexpr int kConditions[] = {5, 9, 16, 701, 703, 703, 999, 5, 9};
    return random.pick(kConditions);
}

constexpr int kTrackCodes[] = {17, 18, 11, 12, 23, 24};

JvRunData randomRun(DayRandom& random, int year, int distance, int fieldSize) {
    JvRunData run;
    run.year = year;
    run.monthDay = random.between(1, 12) * 100 + random.between(1, 28);
    run.courseCode = std::string(random.pick(kCourses));
    run.meeting = random.between(1, 5);
    run.meetingDay = random.between(1, 8);
    run.raceNumber = random.between(1, 12);
    run.gradeCode = random.between(0, 20) == 0
                        ? std::string(1, static_cast<char>('A' + random.between(0, 2)))
                        : std::string(" ");
    run.conditionCode = randomCondition(random);
    run.raceName = std::string(random.pick(kRaceWords)) + std::string(random.pick(kRaceSuffixes));
    run.shortName = std::string(random.pick(kRaceWords)).substr(0, 6);
    run.distanceMetres = distance;
    run.trackCode = random.pick(kTrackCodes);
    run.fieldSize = fieldSize;
    run.trackConditionCode = random.between(1, 4);
    run.weatherCode = random.between(1, 6);
    run.horseNumber = random.between(1, fieldSize);
    run.bracket = BracketOf(run.horseNumber, fieldSize);
    run.weightCarried = random.between(100, 120) * 5;
    run.jockeyName = personName(random).substr(0, 8);
    run.abnormal = random.between(0, 40) == 0 ? 1 : 0;
    run.bodyWeight = random.between(420, 540);
    int first = random.between(1, fieldSize);
    run.corners = {first, std::clamp(first + random.between(-2, 2), 1, fieldSize),
                   random.between(0, 3) == 0 ? 0 : random.between(1, fieldSize),
                   random.between(1, fieldSize)};
    run.lastThreeFurlongs = random.between(330, 400);
    run.finish = random.between(1, fieldSize);
    run.popularity = random.between(1, fieldSize);
    // Seconds per 100 m around 6, so the times look like real ones.
    int tenths = distance * 6 / 10 + random.between(-30, 60);
    run.time = (tenths / 600) * 1000 + tenths % 600;
    run.marginCode = std::string(random.pick(kMargins));
    run.otherHorseName = inventedName(random, 3, 9);
    run.timeDiff = run.finish == 1 ? random.between(0, 5) : random.between(0, 40);
    return run;
}

JvHorseData randomHorse(DayRandom& random, int n) {
    JvHorseData horse;
    horse.id = jvHorseIdFor(n);
    horse.name = inventedName(random, 3, 9);
    horse.birthYear = random.between(2017, 2023);
    horse.birthMonthDay = random.between(1, 6) * 100 + random.between(1, 28);
    horse.breedCode = 1;
    horse.sexCode = random.between(1, 3);
    horse.coatCode = random.between(1, 11);
    horse.markCode = random.between(0, 6) == 0 ? random.between(1, 12) : 0;
    horse.sire = inventedName(random, 4, 9);
    horse.dam = inventedName(random, 4, 9);
    horse.damSire = inventedName(random, 4, 9);
    horse.damDam = inventedName(random, 4, 9);
    horse.birthplace = std::string(random.pick(kBirthplaces));
    horse.breeder =
        std::string(random.pick(kFamilyNames)) + "　" + std::string(random.pick(kGivenNames));
    horse.owner =
        std::string(random.pick(kFamilyNames)) + "　" + std::string(random.pick(kGivenNames));
    horse.earnings = random.between(0, 90000);
    horse.prizeTotal = horse.earnings + random.between(0, 30000);
    for (auto& set : horse.bandCounts)
        for (auto& band : set)
            for (int& count : band)
                count = random.between(0, 3) == 0 ? random.between(1, 6) : 0;
    const int runs = random.between(0, 9) == 0 ? random.between(0, 4) : 5;
    for (int i = 0; i < runs; ++i)
        horse.runs.push_back(
            randomRun(random, 2026 - i / 3, random.between(10, 36) * 100, random.between(6, 18)));
    return horse;
}

// The run block of `runner` in `race`: the race's fields, the runner's own
// place, popularity and time behind.
JvRunData seasonRun(const JvSeasonRace& race, const JvSeasonRunner& runner, int winnerTenths,
                    int ownTenths, int secondTenths, const std::string& winnerName,
                    const std::string& secondName, DayRandom& random) {
    JvRunData run = race.card;
    const int field = race.card.fieldSize;
    run.horseNumber = runner.horseNumber;
    run.bracket = BracketOf(runner.horseNumber, field);
    run.finish = runner.finish;
    run.popularity = runner.popularity;
    run.abnormal = runner.abnormal ? 1 : 0;
    run.weightCarried = random.between(104, 116) * 5;
    run.bodyWeight = random.between(420, 540);
    run.jockeyName = personName(random).substr(0, 8);
    // Front-runners tend to stay in front.
    const int first = std::clamp(runner.finish + random.between(-4, 4), 1, field);
    run.corners = {first, std::clamp(first + random.between(-2, 2), 1, field),
                   std::clamp(first + random.between(-2, 2), 1, field),
                   std::clamp(runner.finish + random.between(-1, 1), 1, field)};
    run.lastThreeFurlongs = random.between(330, 400);
    run.time = (ownTenths / 600) * 1000 + ownTenths % 600;
    if (runner.finish == 1) {
        run.otherHorseName = secondName;
        run.timeDiff = secondTenths - winnerTenths;
    } else {
        run.otherHorseName = winnerName;
        run.timeDiff = ownTenths - winnerTenths;
    }
    run.marginCode = std::string(random.pick(kMargins));
    return run;
}

// The month-day of race day `day` counted from 1 January of a year of
// twelve months of 28 race days.
int raceMonthDay(int day) {
    return (day / 28 % 12 + 1) * 100 + day % 28 + 1;
}

} // namespace

JvPastSeason makeJvPastSeason(int horseCount, double runsPerHorse, std::uint32_t seed) {
    DayRandom random(seed);
    JvPastSeason season;
    for (int n = 0; n < horseCount; ++n)
        season.horses.push_back(randomHorse(random, n));
    season.races = shareJvHistories(season.horses, runsPerHorse, seed + 1);
    return season;
}

std::vector<JvSeasonRace> shareJvHistories(std::vector<JvHorseData>& horses, double runsPerHorse,
                                           std::uint32_t seed) {
    DayRandom random(seed);
    std::vector<JvSeasonRace> races;
    for (JvHorseData& horse : horses)
        horse.runs.clear();
    const int horseCount = static_cast<int>(horses.size());
    if (horseCount < 8)
        return races;

    // Race days of two courses with twelve races each, in date order; a
    // month of the season has 28 race days.
    constexpr int kRacesPerDay = 24;
    const int raceCount = static_cast<int>(horseCount * runsPerHorse / 13.0);
    std::vector<std::vector<JvRunData>> history(static_cast<size_t>(horseCount));
    std::vector<int> lastDay(static_cast<size_t>(horseCount), -1);
    for (int r = 0; r < raceCount; ++r) {
        const int day = r / kRacesPerDay;
        JvSeasonRace race;
        const int field = random.between(8, std::min(18, horseCount));
        race.card = randomRun(random, 2025 + day / (12 * 28), random.between(10, 36) * 100, field);
        race.card.monthDay = raceMonthDay(day);
        race.card.courseCode = std::string(kCourses[static_cast<size_t>(r % kRacesPerDay / 12)]);
        race.card.meeting = day / 8 % 5 + 1;
        race.card.meetingDay = day % 8 + 1;
        race.card.raceNumber = r % 12 + 1;

        // The field: horses that have not run that day.
        std::vector<int> entrants;
        for (int tries = 0; static_cast<int>(entrants.size()) < field && tries < 50 * field;
             ++tries) {
            const int h = random.between(0, horseCount - 1);
            if (lastDay[static_cast<size_t>(h)] == day)
                continue;
            lastDay[static_cast<size_t>(h)] = day;
            entrants.push_back(h);
        }
        race.card.fieldSize = static_cast<int>(entrants.size());
        if (race.card.fieldSize < 1)
            continue;
        // Horse numbers in draw order; finishing order and popularity are
        // independent shuffles; a horse that did not finish normally comes last.
        std::vector<int> finish(entrants.size()), popularity(entrants.size());
        for (size_t i = 0; i < entrants.size(); ++i)
            finish[i] = popularity[i] = static_cast<int>(i) + 1;
        std::mt19937 shuffler(seed * 7919u + static_cast<std::uint32_t>(r));
        std::shuffle(finish.begin(), finish.end(), shuffler);
        std::shuffle(popularity.begin(), popularity.end(), shuffler);
        const int fieldSize = race.card.fieldSize;
        for (size_t i = 0; i < entrants.size(); ++i)
            race.runners.push_back({entrants[i], static_cast<int>(i) + 1, finish[i], popularity[i],
                                    finish[i] == fieldSize && random.between(0, 30) == 0});

        // Times: the winner's, then a gap for every place behind.
        std::vector<int> tenths(static_cast<size_t>(fieldSize) + 1);
        tenths[1] = race.card.distanceMetres * 6 / 10 + random.between(-30, 60);
        for (int place = 2; place <= fieldSize; ++place)
            tenths[static_cast<size_t>(place)] =
                tenths[static_cast<size_t>(place) - 1] + random.between(0, 6);
        std::string winnerName, secondName;
        for (const JvSeasonRunner& runner : race.runners) {
            const std::string& name = horses[static_cast<size_t>(runner.horse)].name;
            if (runner.finish == 1)
                winnerName = name;
            if (runner.finish == 2)
                secondName = name;
        }
        for (const JvSeasonRunner& runner : race.runners)
            history[static_cast<size_t>(runner.horse)].push_back(
                seasonRun(race, runner, tenths[1], tenths[static_cast<size_t>(runner.finish)],
                          tenths[std::min<size_t>(2, static_cast<size_t>(fieldSize))], winnerName,
                          secondName, random));
        races.push_back(std::move(race));
    }
    // The horse file keeps the last five runs, the most recent first.
    for (size_t h = 0; h < history.size(); ++h) {
        auto& runs = horses[h].runs;
        for (auto it = history[h].rbegin(); it != history[h].rend() && runs.size() < 5; ++it)
            runs.push_back(*it);
    }
    return races;
}

std::string jvHorseIdFor(int n) {
    std::string digits = std::to_string(n);
    return "20" + std::string(8 - std::min<size_t>(8, digits.size()), '0') + digits;
}

JvRaceDay makeJvRaceDay(int raceCount, int horseCount, std::uint32_t seed) {
    DayRandom random(seed);
    JvRaceDay day;
    day.horses.reserve(static_cast<size_t>(std::max(horseCount, 0)));
    for (int n = 0; n < horseCount; ++n)
        day.horses.push_back(randomHorse(random, n));

    std::vector<int> unused(static_cast<size_t>(std::max(horseCount, 0)));
    for (size_t i = 0; i < unused.size(); ++i)
        unused[i] = static_cast<int>(i);
    std::shuffle(unused.begin(), unused.end(), std::mt19937(seed + 1));

    static constexpr int kWeekdays[] = {1, 2};
    for (int r = 0; r < raceCount; ++r) {
        JvRaceData race;
        // Three courses of twelve races a day from 5 January on: no two
        // races of a larger card share a day, course and number (nor a page).
        const int raceDay = 4 + r / 36;
        race.year = 2026 + raceDay / (12 * 28);
        race.monthDay = raceMonthDay(raceDay);
        race.courseCode = std::string(kCourses[static_cast<size_t>(r / 12) % 3]);
        race.meeting = 1;
        race.meetingDay = 1;
        race.raceNumber = r % 12 + 1;
        race.weekdayCode = kWeekdays[0];
        race.postTime = (10 + (r % 12) * 35 / 60) * 100 + (r % 12) * 35 % 60;
        race.kindCode = race.raceNumber <= 2 ? 11 : (race.raceNumber <= 5 ? 12 : 13);
        if (race.kindCode == 11)
            race.conditionCodes = {race.raceNumber == 1 ? 701 : 703, 0, 0, 0, 0};
        else if (race.kindCode == 12)
            race.conditionCodes = {0, race.raceNumber == 3 ? 701 : 703, 0, 0, 0};
        else {
            int condition = race.raceNumber < 9 ? 5 : (race.raceNumber < 11 ? 16 : 999);
            race.conditionCodes = {0, condition, condition, condition, 0};
        }
        if (race.raceNumber >= 9) {
            race.raceName = std::string(random.pick(kRaceWords)) +
                            std::string(race.raceNumber == 11 ? "ステークス" : "特別");
            race.shortName = std::string(race.raceName).substr(0, 6);
            race.gradeCode = race.raceNumber == 11
                                 ? std::string(1, static_cast<char>('A' + r / 12 % 3))
                                 : std::string("E");
            race.edition = race.raceNumber == 11 ? random.between(1, 70) : 0;
        }
        race.symbolCode = random.between(0, 1) == 0 ? "A00" : "A10";
        race.weightRuleCode = random.between(1, 4);
        race.distanceMetres = random.between(10, 36) * 100;
        race.trackCode = kTrackCodes[static_cast<size_t>(random.between(0, 5))];
        int first = race.raceNumber == 11 ? 100000 : random.between(50, 200) * 100;
        race.prizeMoney = {first, first * 2 / 5, first / 4, first * 3 / 20, first / 10};
        race.addedMoney = {race.raceNumber >= 9 ? 1234 : 0, race.raceNumber >= 9 ? 352 : 0,
                           race.raceNumber >= 9 ? 176 : 0};
        const int runners = random.between(8, 18);
        for (int k = 0; k < runners && !unused.empty(); ++k) {
            const JvHorseData& horse = day.horses[static_cast<size_t>(unused.back())];
            unused.pop_back();
            JvRunnerData runner;
            runner.horseId = horse.id;
            runner.horseName = horse.name.substr(0, std::min<size_t>(horse.name.size(), 18));
            runner.sexCode = horse.sexCode;
            runner.weightCarried = random.between(104, 116) * 5;
            runner.blinkers = random.between(0, 5) == 0 ? 1 : 0;
            runner.jockeyCode = random.between(1000, 1999);
            runner.jockeyName = personName(random).substr(0, 8);
            runner.apprenticeCode = random.between(0, 8) == 0 ? random.between(1, 3) : 0;
            runner.trainerCode = random.between(2000, 2999);
            runner.trainerName = personName(random).substr(0, 8);
            race.runners.push_back(runner);
        }
        day.races.push_back(race);
    }
    return day;
}

JvRaceDay makeJvDayWithBlankFields() {
    JvRaceDay day;
    JvRunnerData a;
    a.horseId = "2021300001";
    a.horseName = "サキノウマ";
    a.weightCarried = 550;
    a.jockeyName = "騎手一";
    JvRunnerData b = a;
    b.horseId = "2021300002";
    b.horseName = "アトノウマ";
    b.weightCarried = 530;

    JvRaceData first;
    first.year = 2026;
    first.monthDay = 1207;
    first.courseCode = "08";
    first.raceNumber = 9;
    first.raceName = "サキノ特別";
    first.shortName = "サキノ";
    first.runners = {a, b};
    JvRaceData second = first;
    second.year = kBlankField;
    second.raceNumber = kBlankField;
    second.raceName = "アトノ特別";
    second.shortName = "アトノ";
    second.runners[1].weightCarried = kBlankField;
    day.races = {first, second};

    JvRunData last;
    last.popularity = 3;
    last.finish = 2;
    last.time = 1345;
    last.jockeyName = "騎手二";
    JvHorseData withValues;
    withValues.id = a.horseId;
    withValues.name = a.horseName;
    withValues.runs = {last, last};
    JvHorseData withBlanks = withValues;
    withBlanks.id = b.horseId;
    withBlanks.name = b.horseName;
    withBlanks.runs[0].popularity = kBlankField;
    withBlanks.runs[0].finish = kBlankField;
    withBlanks.runs[0].time = kBlankField;
    withBlanks.runs[0].jockeyName = "騎手三";
    withBlanks.runs.resize(1);
    day.horses = {withValues, withBlanks};
    return day;
}

} // namespace zelkor::test
