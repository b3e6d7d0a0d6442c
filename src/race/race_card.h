#pragma once

#include <array>
#include <string>

namespace zelkor {

inline constexpr int kJvMaxRunners = 18;

// One runner of a race card. A new record holds 0 in every integer and the
// empty text in every text.
struct JvRunner {
    int horseNumber = 0;
    int bracket = 0;
    int sexCode = 0;
    int blinker = 0;
    int weightCarried = 0; // tenths of a kg
    int jockeyCode = 0;
    int apprenticeCode = 0;
    int trainerCode = 0;

    // Texts are read without the blanks that pad their fields.
    std::string sexText;
    std::string horseName;
    std::string jockeyName;
    std::string trainerName;
    std::string horseId; // key of the horse file

    // What only the JV-Data store knows; an archive's card leaves them so.
    int winOdds = 0;    // real win odds × 10; 0 none
    int popularity = 0; // win popularity; 0 none

    friend bool operator==(const JvRunner&, const JvRunner&) = default;
};

// One race with its runners, as both sources give it: a line of a JRA-VAN
// race card ("JracDen1.dat") or the RA and SE records of the JV-Data store.
// A new record holds 0 in every integer and the empty text in every text.
// Every successful read starts from such a record, so a numeric field
// without digits reads 0 and nothing of a race read before survives (not
// even in runners past this race's runners).
class JvRaceCard {
  public:
    virtual ~JvRaceCard() = default;
    JvRaceCard() = default;
    JvRaceCard(const JvRaceCard&) = default;
    JvRaceCard& operator=(const JvRaceCard&) = default;
    JvRaceCard(JvRaceCard&&) = default;
    JvRaceCard& operator=(JvRaceCard&&) = default;

    void reset() { *this = JvRaceCard(); }

    std::string raceCardPath;
    std::string horseFilePath;   // "JracUmaj.dat" beside the race card
    std::string jockeyFilePath;  // programFolder + "KTDAT/JracKisi.dat"
    std::string trainerFilePath; // programFolder + "KTDAT/JracChok.dat"

    int year = 0;
    int meeting = 0;
    int meetingDay = 0;
    int raceNumber = 0;
    int monthDay = 0; // month × 100 + day
    int weekdayCode = 0;
    int postTime = 0; // hour × 100 + minute

    std::string raceName; // cut before the first "　"; built when the card has none
    std::string shortName;
    std::string symbolCode;
    std::string gradeCode;

    int edition = 0;
    int kindCode = 0;
    int weightRuleCode = 0;
    std::array<int, 5> conditionCodes{}; // 2-year-olds, 3, 4, 5 and up, fifth
    int distanceMetres = 0;
    int trackCode = 0;
    int runnerCount = 0;             // at most 18
    std::array<int, 5> prizeMoney{}; // 1st..5th, unit 1,000 yen
    std::array<int, 3> addedMoney{}; // 1st..3rd, unit 1,000 yen
    int saleCode = 0;

    std::string courseCode;
    std::string courseName;
    std::string weekdayText;
    std::string kindText;
    std::string symbolText;
    std::string weightRuleText;
    std::array<std::string, 5> conditionTexts{};
    std::string trackText;
    std::string gradeText;
    std::string saleText;

    // What only the JV-Data store knows; an archive's card leaves them so.
    bool cancelled = false;   // 中止: listed, never loaded
    bool entriesOnly = false; // Thursday entries without horse numbers yet

    // Runner k of the race (1..runnerCount) at [k - 1].
    std::array<JvRunner, kJvMaxRunners> runners{};

    // Runner k, counted from 1 as the sheet counts; a new record for a k
    // outside 1..18, so a reader past the card's runners reads 0 and "".
    const JvRunner& runner(int k) const;

    friend bool operator==(const JvRaceCard&, const JvRaceCard&) = default;
};

// The horse number runner `k` carries: after a scratch the numbers have a
// gap (1-4, 6-10). A card without one gives k.
inline int runnerNumber(const JvRaceCard& card, int k) {
    const int number = card.runner(k).horseNumber;
    return number != 0 ? number : k;
}

// An ordinary race has no name of its own: a card without a race name is
// named by its kind and the condition of the age group the kind is for.
void nameOrdinaryRace(JvRaceCard& card);

} // namespace zelkor
