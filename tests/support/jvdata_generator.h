#pragma once

// Writes JV-Data records (RA, SE, UM in both lengths, HR, O1) from readable
// descriptions, every field at its offset as the published layouts place
// it. Texts are CP932; full-width fields are padded with full-width spaces,
// others with blanks; numbers are zero-filled. Records are returned without
// their line end; jvdFramed adds one.

#include "support/jv_generator.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace zelkor::test {

struct JvdRaceKey {
    int year = 2025;
    int monthDay = 105;
    std::string course = "06";
    int meeting = 1;
    int meetingDay = 1;
    int raceNo = 1;
    int date() const { return year * 10000 + monthDay; }
};

struct JvdRace {
    char kind = '7';
    int madeOn = 0; // 0: the race date
    JvdRaceKey key;
    int weekday = 2;
    std::string name; // full-width; empty: an ordinary race
    std::string subtitle;
    std::string short3;
    int edition = 0;
    char grade = ' ';
    int raceKind = 13;
    std::string symbol = "A00";
    int weightRule = 2;
    std::array<int, 5> conditions{0, 5, 5, 5, 5};
    int distance = 1600;
    int track = 17;
    std::array<long long, 7> prize{100000, 40000, 25000, 15000, 10000, 0, 0}; // unit 100 yen
    std::array<long long, 5> addedPrize{};
    int postTime = 1025;
    int entered = 0, starters = 0, finishers = 0; // 0: from the runners given
    int weather = 1;
    int goingTurf = 1;
    int goingDirt = 2;
};

struct JvdRunner {
    char kind = 0; // 0: the race's kind
    int madeOn = 0;
    int bracket = 1;
    int horseNo = 1;
    std::string horseId = "2022100001";
    std::string name = "テストホース";
    int horseMark = 0;
    int sex = 1;
    int breed = 1;
    int coat = 3;
    int age = 3;
    int trainerRegion = 1;
    int trainerCode = 1001;
    std::string trainerShort = "調教師一";
    int ownerCode = 1;
    std::string ownerName = "馬主一";
    int weightCarried = 550;
    int blinkers = 0;
    int jockeyCode = 2001;
    std::string jockeyShort = "騎手一";
    int apprentice = 0;
    int bodyWeight = 480;
    int abnormal = 0;
    int finish = 0; // 0: no result yet
    int deadHeat = 0;
    int time = 0; // m ss t
    std::string margin = "   ";
    std::array<int, 4> corners{};
    int winOdds = 0; // tenths; 0 writes 0000
    int popularity = 0;
    int last3F = 0;
    std::string opponentId = "0000000000";
    std::string opponentName;
    std::string timeDiff = "9999"; // sign + three digits, or 9999
};

struct JvdHorse {
    char kind = '1';
    int madeOn = 20250101;
    bool before2023 = false; // the 1577-byte layout
    std::string horseId = "2022100001";
    int birthDate = 20220315;
    std::string name = "テストホース";
    int horseMark = 0;
    int sex = 1;
    int breed = 1;
    int coat = 3;
    // sire, dam, sire's sire, sire's dam, dam's sire, dam's dam, ...
    std::array<std::string, 14> pedigree{"テストチチ", "テストハハ", "",
                                         "",           "ハハノチチ", "ハハノハハ"};
    std::string breeder = "山田牧場";
    std::string birthplace = "日高町";
    std::string owner = "鈴木花子";
    long long prizeFlat = 23000;  // unit 100 yen
    long long earnedFlat = 15000; // unit 100 yen
};

struct JvdPay {
    std::string combo; // "05", "0512", "051207"; "00" special or not sold
    long long pay = 0;
    int popularity = 0;
};

struct JvdPayouts {
    char kind = '2';
    int madeOn = 0;
    JvdRaceKey key;
    int entered = 16, starters = 16;
    std::string notEstablished =
        "000000000"; // 9 flags: win, place, bracket-q, quinella, wide, -, exacta, trio, trifecta
    std::string specialPay = "000000000";
    std::string refund = "000000000";
    std::string refundHorse = std::string(28, '0');
    std::string refundBracket = std::string(8, '0');
    std::string refundSameBracket = std::string(8, '0');
    std::vector<JvdPay> win, place, bracketQ, quinella, wide, exacta, trio, trifecta;
};

struct JvdOdds {
    char kind = '4';
    int madeOn = 0;
    JvdRaceKey key;
    int announced = 0;
    int entered = 16, starters = 16;
    char winSale = '7', placeSale = '7', bracketSale = '7', placePaysTo = '3';
    struct Win {
        int horseNo;
        std::string odds; // "0054", "----", "****", "    "
        int popularity;
    };
    struct Place {
        int horseNo;
        int low, high, popularity;
    };
    struct Bracket {
        std::string pair;
        int odds, popularity;
    };
    std::vector<Win> win;
    std::vector<Place> place;
    std::vector<Bracket> bracket;
    long long winPool = 0, placePool = 0, bracketPool = 0;
};

// Records without their line end.
std::string jvdRecord(const JvdRace& race);
std::string jvdRecord(const JvdRace& race, const JvdRunner& runner); // SE
std::string jvdRecord(const JvdHorse& horse);
std::string jvdRecord(const JvdPayouts& payouts);
std::string jvdRecord(const JvdOdds& odds);

enum class JvdLineEnd { CrLf, Lf, CrLfNul };
std::string jvdFramed(const std::string& record, JvdLineEnd end = JvdLineEnd::CrLf);

// An invented JV-Data season: `days` race days from `firstDate` (two a
// weekend, Saturdays and Sundays) of `coursesPerDay` courses × 12 races,
// fields of 8–18 runners drawn from `horses` horses (retired and new ones
// replaced as the season goes), each race with its RA and SE of every stage
// (card, final), HR and O1, every horse's UM. Some races are cancelled
// (without results or payouts), some runners scratched, a few dead heats; a few runs are local and
// overseas races. Same seed, same bytes. Records are written framed with
// CR LF.
struct JvdSeasonPlan {
    int firstDate = 20250104;
    int days = 8;
    int weeksBetween = 1; // from one race weekend to the next
    int coursesPerDay = 3;
    int horses = 2000;
    bool stages = true; // card records (kind 2) before the final ones (kind 7)
    int umPerHorse = 1; // UM a year per pool slot: its horse, then retired ones before it
    // A betting market as a real one: popularity and odds from the public's
    // view of each horse before the race, results from ability and luck,
    // place paid on the first three (two in fields of seven or fewer).
    // Otherwise popularity follows the finish and HR pays the winner only.
    bool market = false;
    // With the market: the public's error of each horse's ability (drawn
    // below this; 0: the public knows the abilities and its odds are the
    // truth less the takeout), and its taste for long shots (its chances
    // raised to this and scaled to 1; below 1 long shots are over-bet).
    int publicNoise = 16;
    double longShotBias = 1.0;
    // With the market: the O1 carries place odds too (lowest to highest).
    bool placeOdds = false;
    // A season a racing fan would believe: the racecourses, distances and
    // programme of the month (see racing_facts.h), horses of 2 to 6 whose
    // ages fit each race, 新馬 for horses that never ran, 未勝利 for those
    // that never won, a horse once a weekend at most, and luck that leaves
    // few long shots in the market.
    bool lifelike = false;
    std::uint32_t seed = 1;
};
struct JvdSeasonStats {
    long long records = 0, bytes = 0;
    std::vector<int> dates; // race days in order
};
// With `collected`, every race (final records) and horse is also kept there.
struct JvdDay;
JvdSeasonStats writeJvdSeason(std::ostream& out, const JvdSeasonPlan& plan,
                              JvdDay* collected = nullptr);

} // namespace zelkor::test

// ---- One race day described once, written both ways ----

namespace zelkor::test {

struct JvdRaceEntry {
    JvdRace race;
    std::vector<JvdRunner> runners;
};

// Races of any dates (the day's and the earlier ones that make the horses'
// histories) and the horses' UM.
struct JvdDay {
    std::vector<JvdRaceEntry> races;
    std::vector<JvdHorse> horses;
};

// Every record of the description, framed with CR LF.
std::string jvdRecords(const JvdDay& day);

// The same facts in the archive format: the races of `date` (JRA races, in
// course and race-number order, runners that started by horse number) and
// every horse of them with its runs of races before `date` (newest first)
// and the finishing counts of all of them.
JvRaceDay jvdArchiveDay(const JvdDay& day, int date);

// A day of `races` races on 2025-03-01 at two courses with fields of 8-14
// drawn from `horses` horses, each with a history of races over the weeks
// before (some local and overseas races, scratches and dead heats among
// them). Same seed, same day.
JvdDay makeJvdDay(int races, int horses, std::uint32_t seed);

} // namespace zelkor::test
