#include "support/jvdata_generator.h"

#include "support/racing_facts.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>
#include <span>
#include <tuple>

namespace zelkor::test {
namespace {

const std::string kFullWidthSpace = "　";

// A record of `length` bytes (without line end) filled with blanks, written
// field by field at the published offsets.
class Record {
  public:
    Record(const char* type, size_t length) : bytes_(length, ' ') { text(0, 2, type); }
    // Half-width text, blank padded.
    Record& text(size_t offset, size_t width, const std::string& value) {
        bytes_.replace(offset, width, fit(value, width, " "));
        return *this;
    }
    // Full-width text, padded with full-width spaces (a blank for an odd byte).
    Record& wide(size_t offset, size_t width, const std::string& value) {
        bytes_.replace(offset, width, fit(value, width, kFullWidthSpace));
        return *this;
    }
    // Zero-filled digits (the lowest `width` digits of a larger value).
    Record& num(size_t offset, size_t width, long long value) {
        std::string digits = std::to_string(value < 0 ? -value : value);
        if (digits.size() > width)
            digits = digits.substr(digits.size() - width);
        bytes_.replace(offset, width, std::string(width - digits.size(), '0') + digits);
        return *this;
    }
    Record& ch(size_t offset, char c) {
        bytes_[offset] = c;
        return *this;
    }
    Record& raceKey(const JvdRaceKey& key) {
        return num(11, 4, key.year)
            .num(15, 4, key.monthDay)
            .text(19, 2, key.course)
            .num(21, 2, key.meeting)
            .num(23, 2, key.meetingDay)
            .num(25, 2, key.raceNo);
    }
    Record& header(char kind, int madeOn) { return ch(2, kind).num(3, 8, madeOn); }
    const std::string& bytes() const { return bytes_; }

  private:
    static std::string fit(const std::string& value, size_t width, const std::string& pad) {
        std::string out = value.substr(0, std::min(value.size(), width));
        while (out.size() + pad.size() <= width)
            out += pad;
        out.resize(width, ' ');
        return out;
    }
    std::string bytes_;
};

int madeOrDate(int madeOn, const JvdRaceKey& key) {
    return madeOn != 0 ? madeOn : key.date();
}

void pays(Record& r, size_t offset, size_t stride, int slots, size_t comboWidth, size_t popWidth,
          const std::vector<JvdPay>& list) {
    for (int i = 0; i < slots; ++i) {
        const size_t at = offset + stride * static_cast<size_t>(i);
        if (i < static_cast<int>(list.size())) {
            const JvdPay& p = list[static_cast<size_t>(i)];
            r.text(at, comboWidth, p.combo)
                .num(at + comboWidth, 9, p.pay)
                .num(at + comboWidth + 9, popWidth, p.popularity);
        } else {
            r.num(at, comboWidth, 0)
                .num(at + comboWidth, 9, 0)
                .num(at + comboWidth + 9, popWidth, 0);
        }
    }
}

} // namespace

std::string jvdRecord(const JvdRace& race) {
    Record r("RA", 1270);
    r.header(race.kind, madeOrDate(race.madeOn, race.key)).raceKey(race.key);
    r.num(27, 1, race.weekday)
        .num(28, 4, 0)
        .wide(32, 60, race.name)
        .wide(92, 60, race.subtitle)
        .wide(152, 60, "")
        .text(212, 120, "")
        .text(332, 120, "")
        .text(452, 120, "")
        .wide(572, 20, race.short3)
        .wide(592, 12, race.short3)
        .wide(604, 6, race.short3)
        .ch(610, race.edition != 0 ? '1' : '0')
        .num(611, 3, race.edition)
        .ch(614, race.grade)
        .ch(615, ' ')
        .num(616, 2, race.raceKind)
        .text(618, 3, race.symbol)
        .num(621, 1, race.weightRule);
    for (size_t i = 0; i < 5; ++i)
        r.num(622 + 3 * i, 3, race.conditions[i]);
    r.wide(637, 60, "")
        .num(697, 4, race.distance)
        .num(701, 4, 0)
        .num(705, 2, race.track)
        .num(707, 2, 0)
        .text(709, 2, "A")
        .text(711, 2, "");
    for (size_t i = 0; i < 7; ++i)
        r.num(713 + 8 * i, 8, race.prize[i]);
    for (size_t i = 0; i < 5; ++i)
        r.num(769 + 8 * i, 8, 0).num(809 + 8 * i, 8, race.addedPrize[i]);
    for (size_t i = 0; i < 3; ++i)
        r.num(849 + 8 * i, 8, 0);
    r.num(873, 4, race.postTime)
        .num(877, 4, 0)
        .num(881, 2, race.entered)
        .num(883, 2, race.starters)
        .num(885, 2, race.finishers)
        .num(887, 1, race.weather)
        .num(888, 1, race.goingTurf)
        .num(889, 1, race.goingDirt);
    for (size_t i = 0; i < 25; ++i)
        r.num(890 + 3 * i, 3, i < static_cast<size_t>(race.distance / 200) ? 120 : 0);
    r.num(965, 4, 0).num(969, 3, 355).num(972, 3, 475).num(975, 3, 350).num(978, 3, 470);
    for (size_t i = 0; i < 4; ++i)
        r.num(981 + 72 * i, 1, static_cast<long long>(i) + 1)
            .num(982 + 72 * i, 1, 1)
            .text(983 + 72 * i, 70, "(1,2)-3");
    r.ch(1269, '0');
    return r.bytes();
}

std::string jvdRecord(const JvdRace& race, const JvdRunner& s) {
    Record r("SE", 553);
    r.header(s.kind != 0 ? s.kind : race.kind, madeOrDate(s.madeOn, race.key)).raceKey(race.key);
    r.num(27, 1, s.bracket)
        .num(28, 2, s.horseNo)
        .text(30, 10, s.horseId)
        .wide(40, 36, s.name)
        .num(76, 2, s.horseMark)
        .num(78, 1, s.sex)
        .num(79, 1, s.breed)
        .num(80, 2, s.coat)
        .num(82, 2, s.age)
        .num(84, 1, s.trainerRegion)
        .num(85, 5, s.trainerCode)
        .wide(90, 8, s.trainerShort)
        .num(98, 6, s.ownerCode)
        .wide(104, 64, s.ownerName)
        .wide(168, 60, "青、白星")
        .text(228, 60, "")
        .num(288, 3, s.weightCarried)
        .num(291, 3, 0)
        .num(294, 1, s.blinkers)
        .text(295, 1, "")
        .num(296, 5, s.jockeyCode)
        .num(301, 5, 0)
        .wide(306, 8, s.jockeyShort)
        .wide(314, 8, "")
        .num(322, 1, s.apprentice)
        .num(323, 1, 0)
        .num(324, 3, s.bodyWeight)
        .text(327, 1, "+")
        .num(328, 3, 2)
        .num(331, 1, s.abnormal)
        .num(332, 2, s.finish)
        .num(334, 2, s.finish)
        .num(336, 1, s.deadHeat)
        .num(337, 1, s.deadHeat)
        .num(338, 4, s.time)
        .text(342, 3, s.margin)
        .text(345, 3, "")
        .text(348, 3, "");
    for (size_t i = 0; i < 4; ++i)
        r.num(351 + 2 * i, 2, s.corners[i]);
    r.num(359, 4, s.winOdds)
        .num(363, 2, s.popularity)
        .num(365, 8, s.finish == 1 ? 1000 : 0)
        .num(373, 8, 0)
        .text(381, 3, "")
        .text(384, 3, "")
        .num(387, 3, 0)
        .num(390, 3, s.last3F);
    for (size_t i = 0; i < 3; ++i) {
        r.text(393 + 46 * i, 10, i == 0 ? s.opponentId : "0000000000");
        r.wide(403 + 46 * i, 36, i == 0 ? s.opponentName : "");
    }
    r.text(531, 4, s.timeDiff)
        .ch(535, '0')
        .ch(536, '1')
        .num(537, 5, 13500)
        .num(542, 4, 50)
        .num(546, 4, 50)
        .num(550, 2, s.popularity)
        .num(552, 1, 2);
    return r.bytes();
}

std::string jvdRecord(const JvdHorse& h) {
    const bool old = h.before2023;
    Record r("UM", old ? 1575 : 1607);
    r.header(h.kind, h.madeOn)
        .text(11, 10, h.horseId)
        .ch(21, h.kind == '9' ? '1' : '0')
        .num(22, 8, h.birthDate + 20000)
        .num(30, 8, 0)
        .num(38, 8, h.birthDate)
        .wide(46, 36, h.name)
        .text(82, 36, "")
        .text(118, 60, "")
        .ch(178, '1')
        .text(179, 19, "")
        .num(198, 2, h.horseMark)
        .num(200, 1, h.sex)
        .num(201, 1, h.breed)
        .num(202, 2, h.coat);
    const size_t stride = old ? 44 : 46, idWidth = old ? 8 : 10;
    for (size_t i = 0; i < 14; ++i)
        r.num(204 + stride * i, idWidth, static_cast<long long>(i) + 1)
            .wide(204 + stride * i + idWidth, 36, h.pedigree[i]);
    // From here on the old layout lies 28, then 32 bytes earlier.
    const size_t a = old ? 28 : 0, b = old ? 32 : 0;
    r.num(848 - a, 1, 1)
        .num(849 - a, 5, 1001)
        .wide(854 - a, 8, "調教師一")
        .text(862 - a, 20, "")
        .num(882 - a, old ? 6 : 8, 1)
        .wide(old ? 860 : 890, old ? 70 : 72, h.breeder)
        .wide(962 - b, 20, h.birthplace)
        .num(982 - b, 6, 1)
        .wide(988 - b, 64, h.owner)
        .num(1052 - b, 9, h.prizeFlat)
        .num(1061 - b, 9, 0)
        .num(1070 - b, 9, 0)
        .num(1079 - b, 9, 0)
        .num(1088 - b, 9, h.earnedFlat)
        .num(1097 - b, 9, 0);
    for (size_t i = 0; i < 6 + 6 + 7 * 6 + 12 * 6 + 6 * 6 + 4; ++i)
        r.num(1106 - b + 3 * i, 3, 0);
    r.num(1604 - b, 3, 0);
    return r.bytes();
}

std::string jvdRecord(const JvdPayouts& p) {
    Record r("HR", 717);
    r.header(p.kind, madeOrDate(p.madeOn, p.key)).raceKey(p.key);
    r.num(27, 2, p.entered)
        .num(29, 2, p.starters)
        .text(31, 9, p.notEstablished)
        .text(40, 9, p.specialPay)
        .text(49, 9, p.refund)
        .text(58, 28, p.refundHorse)
        .text(86, 8, p.refundBracket)
        .text(94, 8, p.refundSameBracket);
    pays(r, 102, 13, 3, 2, 2, p.win);
    pays(r, 141, 13, 5, 2, 2, p.place);
    pays(r, 206, 13, 3, 2, 2, p.bracketQ);
    pays(r, 245, 16, 3, 4, 3, p.quinella);
    pays(r, 293, 16, 7, 4, 3, p.wide);
    pays(r, 405, 16, 3, 4, 3, {});
    pays(r, 453, 16, 6, 4, 3, p.exacta);
    pays(r, 549, 18, 3, 6, 3, p.trio);
    pays(r, 603, 19, 6, 6, 4, p.trifecta);
    return r.bytes();
}

std::string jvdRecord(const JvdOdds& o) {
    Record r("O1", 960);
    r.header(o.kind, madeOrDate(o.madeOn, o.key)).raceKey(o.key);
    r.num(27, 8, o.announced)
        .num(35, 2, o.entered)
        .num(37, 2, o.starters)
        .ch(39, o.winSale)
        .ch(40, o.placeSale)
        .ch(41, o.bracketSale)
        .ch(42, o.placePaysTo);
    for (size_t i = 0; i < 28; ++i) {
        r.num(43 + 8 * i, 2, static_cast<long long>(i) + 1)
            .text(45 + 8 * i, 4, "")
            .num(49 + 8 * i, 2, 0);
        r.num(267 + 12 * i, 2, static_cast<long long>(i) + 1)
            .text(269 + 12 * i, 10, "")
            .num(279 + 12 * i, 2, 0);
    }
    for (const auto& w : o.win)
        if (w.horseNo >= 1 && w.horseNo <= 28)
            r.text(45 + 8 * static_cast<size_t>(w.horseNo - 1), 4, w.odds)
                .num(49 + 8 * static_cast<size_t>(w.horseNo - 1), 2, w.popularity);
    for (const auto& p : o.place)
        if (p.horseNo >= 1 && p.horseNo <= 28) {
            const size_t at = 267 + 12 * static_cast<size_t>(p.horseNo - 1);
            r.num(at + 2, 4, p.low).num(at + 6, 4, p.high).num(at + 10, 2, p.popularity);
        }
    for (size_t i = 0; i < 36; ++i) {
        const size_t at = 603 + 9 * i;
        if (i < o.bracket.size())
            r.text(at, 2, o.bracket[i].pair)
                .num(at + 2, 5, o.bracket[i].odds)
                .num(at + 7, 2, o.bracket[i].popularity);
        else
            r.text(at, 9, "");
    }
    r.num(927, 11, o.winPool).num(938, 11, o.placePool).num(949, 11, o.bracketPool);
    return r.bytes();
}

std::string jvdFramed(const std::string& record, JvdLineEnd end) {
    switch (end) {
    case JvdLineEnd::Lf:
        return record + "\n";
    case JvdLineEnd::CrLfNul:
        return record + std::string("\r\n\0", 3);
    case JvdLineEnd::CrLf:
        break;
    }
    return record + "\r\n";
}

// ---- A season ----
namespace {

class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_;
};

const char* const kSyllables[] = {"ア", "カ", "サ", "タ", "ナ", "ハ", "マ", "ヤ", "ラ", "ワ",
                                  "キ", "シ", "チ", "ミ", "リ", "ク", "ス", "ツ", "ル", "ケ",
                                  "セ", "テ", "ネ", "レ", "コ", "ソ", "ト", "ノ", "ロ", "ン"};
const char* const kJockeys[] = {"岬一郎", "浜次郎", "谷三郎", "森四郎", "林五郎", "沢六郎",
                                "岡七郎", "原八郎", "野九郎", "川十郎", "峰一太", "磯二太"};
const char* const kCourses[] = {"05", "06", "08", "09", "07", "03", "04", "10", "01", "02"};
// The people and places of a lifelike season's horses.
const char* const kFamilies[] = {"青木", "石川", "上田", "大野", "片山", "北村", "小島",
                                 "坂本", "高木", "中川", "藤田", "松本", "村上", "吉田"};
const char* const kGivenNames[] = {"一郎", "健二", "誠", "直樹", "亮", "修", "美咲"};
const char* const kBirthplaces[] = {"日高町", "新冠町", "浦河町", "新ひだか町", "安平町", "千歳市"};

std::string ownerOf(int slot) {
    return std::string(kFamilies[(slot * 7 + 1) % 14]) + kGivenNames[(slot + 1) % 7];
}

std::string inventedName(std::uint64_t n) {
    std::string name;
    for (int i = 0; i < 4 + static_cast<int>(n % 4); ++i) {
        name += kSyllables[n % 30];
        n = n / 30 + 7 * static_cast<std::uint64_t>(i + 1);
    }
    return name;
}

struct SeasonHorse {
    std::string id;
    std::string name;
    int birthYear = 0;
    int sex = 1;
    int ability = 0;
};

// Every `cycle` years a slot's horse retires and a 2-year-old takes its
// place, so the pool holds horses of 2 to cycle + 1 years.
SeasonHorse horseOf(int slot, int year, int baseYear, int cycle) {
    const int generation = (year - baseYear + slot % cycle) / cycle;
    SeasonHorse h;
    h.birthYear = baseYear - 2 - slot % cycle + cycle * generation;
    char id[16];
    std::snprintf(id, sizeof id, "%04d1%05d", h.birthYear, slot % 100000);
    h.id = id;
    const auto seed =
        static_cast<std::uint64_t>(slot) * 7919 + static_cast<std::uint64_t>(generation) * 104729;
    h.name = inventedName(seed);
    h.sex = 1 + static_cast<int>(seed % 3 == 2);
    h.ability = static_cast<int>(seed % 97);
    return h;
}

// The luck of a run: the sum of `draws` draws below `range`, and now and
// then (one run in `greatDayOneIn`) a great day worth `greatDay` more, which
// gives an outsider its rare win without making the favourites weak.
struct Luck {
    int range = 80;
    int draws = 1;
    int greatDayOneIn = 0;
    int greatDay = 0;
    int operator()(Random& random) const {
        int sum = 0;
        for (int i = 0; i < draws; ++i)
            sum += random.below(range);
        if (greatDayOneIn > 0 && random.below(greatDayOneIn) == 0)
            sum += greatDay;
        return sum;
    }
};

// What the betting public makes of a field: each horse's believed ability
// (-1 for one that does not start), the race run 2,000 times with it plus
// the same luck real races get; prices pay back 80 % of the chances found.
// A pair's chance comes from the two win chances (the first wins, the other
// wins of the rest), as a count of rare pairs would overpay them. The place
// pool is shared as the JRA shares it: what is left after the takeout and
// the stakes of the placed horses goes in equal parts to each of them, each
// part divided among the tickets of its horse; so a place price depends on
// which others place, and the odds before the race are a range.
class Market {
  public:
    Market() = default;
    Market(const std::vector<int>& believed, std::uint64_t seed, Luck luckOfRun, double bias)
        : n_(believed.size()), wins_(n_), top2_(n_), top3_(n_), bias_(bias) {
        Random luck(seed);
        std::vector<std::pair<int, size_t>> run;
        for (int r = 0; r < kRuns; ++r) {
            run.clear();
            for (size_t i = 0; i < n_; ++i)
                if (believed[i] >= 0)
                    run.push_back({believed[i] + luckOfRun(luck), i});
            std::sort(run.rbegin(), run.rend());
            for (size_t k = 0; k < run.size() && k < 3; ++k)
                ++(k == 0 ? wins_ : k == 1 ? top2_ : top3_)[run[k].second];
        }
        std::vector<size_t> order;
        for (size_t i = 0; i < n_; ++i)
            if (believed[i] >= 0)
                order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return wins_[a] > wins_[b]; });
        popularity_.assign(n_, 0);
        for (size_t rank = 0; rank < order.size(); ++rank)
            popularity_[order[rank]] = static_cast<int>(rank) + 1;
        // The public stakes the place pool as it believes each horse places,
        // with the same taste for long shots as in the win pool.
        paid_ = order.size() <= 7 ? 2 : 3;
        placeShare_.assign(n_, 0.0);
        double sum = 0;
        for (size_t i : order) {
            placeShare_[i] = std::pow(placeChance(i), bias_);
            sum += placeShare_[i];
        }
        for (double& share : placeShare_)
            share /= sum;
        byShare_ = order;
        std::stable_sort(byShare_.begin(), byShare_.end(),
                         [&](size_t a, size_t b) { return placeShare_[a] > placeShare_[b]; });
    }
    int popularity(size_t i) const { return popularity_[i]; }
    // Tenths, between 1.1 and 999.9.
    int winOdds(size_t i) const { return std::clamp(price(biased(i)) / 10, 11, 9999); }
    // Yen paid on 100 for a place ticket on `i` when `placed` (i among them)
    // fill the places; 100 when the pool cannot pay more.
    long long placePay(size_t i, std::span<const size_t> placed) const {
        double left = 1.0 - kTakeout;
        for (size_t j : placed)
            left -= placeShare_[j];
        const double share = std::max(0.0, left) / static_cast<double>(placed.size());
        return std::max(100LL,
                        static_cast<long long>(std::floor(10 * (1 + share / placeShare_[i]))) * 10);
    }
    // The place odds of `i` before the race in tenths: lowest when the most
    // backed others place with it, highest with the least backed.
    std::pair<int, int> placeOdds(size_t i) const {
        std::vector<size_t> most{i}, least{i};
        for (size_t j : byShare_)
            if (j != i && most.size() < paid_)
                most.push_back(j);
        for (auto j = byShare_.rbegin(); j != byShare_.rend(); ++j)
            if (*j != i && least.size() < paid_)
                least.push_back(*j);
        const auto odds = [&](const std::vector<size_t>& placed) {
            return static_cast<int>(std::min(9999LL, placePay(i, placed) / 10)); // four digits
        };
        return {odds(most), odds(least)};
    }
    long long quinellaPay(size_t a, size_t b) const {
        const double pa = chance(wins_[a]), pb = chance(wins_[b]);
        return std::max(110, price(pa * pb / (1 - pa) + pb * pa / (1 - pb)));
    }

  private:
    static constexpr int kRuns = 2000;
    static constexpr double kTakeout = 0.2; // as the prices' 80 %
    // The chance of `count` in kRuns; half a count more, so that what never
    // happened in the runs is rare, not impossible.
    static double chance(int count) { return (count + 0.5) / (kRuns + 1.0); }
    // The public's win chance of `i` with its taste for long shots.
    double biased(size_t i) const {
        if (bias_ == 1.0)
            return chance(wins_[i]);
        double sum = 0;
        for (size_t j = 0; j < n_; ++j)
            if (popularity_[j] > 0)
                sum += std::pow(chance(wins_[j]), bias_);
        return std::pow(chance(wins_[i]), bias_) / sum;
    }
    // The public's chance that `i` places.
    double placeChance(size_t i) const {
        return chance(wins_[i] + top2_[i] + (paid_ == 3 ? top3_[i] : 0));
    }
    // Yen paid on 100 for chance `p`, to ten yen.
    static int price(double p) {
        return static_cast<int>(std::min(99990.0, std::floor(80.0 / p / 10) * 10));
    }
    size_t n_ = 0;
    std::vector<int> wins_, top2_, top3_, popularity_;
    double bias_ = 1.0;
    size_t paid_ = 3;
    std::vector<double> placeShare_; // of the place pool, 0 for a horse not starting
    std::vector<size_t> byShare_;    // the starters, most backed first
};

class SeasonWriter {
  public:
    SeasonWriter(std::ostream& out, const JvdSeasonPlan& plan, JvdDay* collected)
        : out_(out), plan_(plan), random_(plan.seed), collected_(collected) {}

    JvdSeasonStats run() {
        int date = plan_.firstDate;
        int lastYear = 0;
        for (int d = 0; d < plan_.days; ++d) {
            if (date / 10000 != lastYear) {
                lastYear = date / 10000;
                writeHorses(lastYear);
            }
            // A lifelike horse runs once a weekend at most, others once a day.
            if (!plan_.lifelike || d % 2 == 0)
                busy_.clear();
            raceDay(date, d);
            stats_.dates.push_back(date);
            // Saturdays and Sundays: the next day, then the next weekend.
            date = addDays(date, d % 2 == 0 ? 1 : 7 * plan_.weeksBetween - 1);
        }
        return stats_;
    }

  private:
    int cycle() const { return plan_.lifelike ? 5 : 3; }
    SeasonHorse horse(int slot, int year) const {
        return horseOf(slot, year, plan_.firstDate / 10000, cycle());
    }

    void emit(const std::string& record) {
        const std::string framed = jvdFramed(record);
        out_.write(framed.data(), static_cast<std::streamsize>(framed.size()));
        ++stats_.records;
        stats_.bytes += static_cast<long long>(framed.size());
    }

    void writeHorses(int year) {
        // Beyond the horses racing now, the retired ones of older generations.
        for (int v = 0; v < plan_.umPerHorse; ++v)
            for (int slot = 0; slot < plan_.horses; ++slot) {
                const SeasonHorse s = horse(slot, year - cycle() * v);
                JvdHorse h;
                h.kind = v == 0 ? '1' : '9';
                h.madeOn = addDays(year * 10000 + 101, v);
                h.before2023 = year < 2023 && slot % 2 == 0;
                h.horseId = s.id;
                h.birthDate = s.birthYear * 10000 + 301 + slot % 28;
                h.name = s.name;
                h.sex = s.sex;
                h.coat = 1 + slot % 11;
                h.pedigree = {inventedName(static_cast<std::uint64_t>(slot) + 11),
                              inventedName(static_cast<std::uint64_t>(slot) + 13),
                              "",
                              "",
                              inventedName(static_cast<std::uint64_t>(slot) + 17),
                              inventedName(static_cast<std::uint64_t>(slot) + 19)};
                // A young horse that has not run has earned nothing.
                const bool earned = !plan_.lifelike || hasRun(slot, s);
                if (plan_.lifelike) {
                    h.owner = ownerOf(slot);
                    h.breeder = std::string(kFamilies[(slot * 3 + 5) % 14]) + "牧場";
                    h.birthplace = kBirthplaces[slot % 6];
                }
                h.prizeFlat = earned ? 1000L * (s.ability % 40) : 0;
                h.earnedFlat = earned ? 500L * (s.ability % 40) : 0;
                emit(jvdRecord(h));
                if (collected_ != nullptr)
                    collected_->horses.push_back(h);
            }
    }

    void raceDay(int date, int dayIndex) {
        const int month = date / 100 % 100;
        for (int c = 0; c < plan_.coursesPerDay; ++c) {
            const std::string course = plan_.lifelike && c < 3
                                           ? coursesOfMonth(month)[static_cast<size_t>(c)]
                                           : kCourses[(c + month / 2 * plan_.coursesPerDay) % 10];
            for (int raceNo = 1; raceNo <= 12; ++raceNo) {
                JvdRace race;
                race.key = {date / 10000,  date % 10000,     course,
                            month / 2 + 1, dayIndex % 8 + 1, raceNo};
                race.weekday = jvWeekdayCode(date);
                race.postTime = postTimeOf(raceNo, c);
                fillRace(race);
            }
        }
        // Now and then a local and an overseas race, run by horses of the pool.
        if (dayIndex % 8 == 3)
            extraRace(date, "44", 'A');
        if (dayIndex % 16 == 7)
            extraRace(date, "A8", 'B');
    }

    void extraRace(int date, const char* course, char kind) {
        JvdRace race;
        race.kind = kind;
        race.key = {date / 10000, date % 10000, course, 1, 1, 11};
        race.weekday = jvWeekdayCode(date);
        race.postTime = postTimeOf(11, 0);
        race.name = kind == 'A' ? "ローカルカップ" : "海外招待ステークス";
        race.conditions = {0, 999, 999, 999, 999};
        race.track = kind == 'A' ? 24 : 18;
        race.distance = 2000;
        runRace(race, 8, /*writeExtras=*/false);
    }

    void fillRace(JvdRace& race) {
        const int r = race.key.raceNo;
        race.raceKind = r <= 2 ? 12 : 13;
        race.conditions = r <= 2    ? std::array<int, 5>{0, 703, 0, 0, 703}
                          : r <= 6  ? std::array<int, 5>{0, 5, 5, 5, 5}
                          : r <= 9  ? std::array<int, 5>{0, 10, 10, 10, 10}
                          : r <= 11 ? std::array<int, 5>{0, 16, 16, 16, 16}
                                    : std::array<int, 5>{0, 999, 999, 999, 999};
        if (plan_.lifelike) {
            RaceClass c = raceClassOf(race.key.monthDay / 100, r);
            race.raceKind = c.kind;
            race.conditions = conditionSlots(c);
            // Once the crop has debuted, the 新馬 race is one for maidens.
            if (c.condition == 701 && freeSlots(race).size() < 8) {
                c.condition = 703;
                race.conditions = conditionSlots(c);
            }
        }
        if (r == 11) {
            // One name a race: the day and the racecourse make it.
            race.name = inventedName((static_cast<std::uint64_t>(race.key.date()) * 100 +
                                      static_cast<std::uint64_t>(std::stoi(race.key.course))) *
                                         7919 +
                                     3) +
                        "ステークス";
            race.short3 = race.name.substr(0, 6);
            race.grade = random_.below(4) == 0 ? 'L' : 'C';
            if (!plan_.lifelike)
                race.conditions = {0, 999, 999, 999, 999};
        }
        if (plan_.lifelike) {
            const bool turf = random_.below(2) == 0;
            // Young horses run up to 2,000 m (2歳) or 2,400 m (3歳); the
            // long distances are kept for the last races of the day.
            const int longest = race.raceKind == 11   ? 2000
                                : race.raceKind == 12 ? 2400
                                : r >= 10             ? 3600
                                                      : 2600;
            std::vector<int> distances;
            for (int d : courseDistances(race.key.course, turf))
                if (d <= longest)
                    distances.push_back(d);
            race.distance =
                distances[static_cast<size_t>(random_.below(static_cast<int>(distances.size())))];
            race.track = courseTrackCode(race.key.course, turf);
        } else {
            race.distance = 1200 + 200 * random_.below(10);
            race.track = random_.below(2) == 0 ? 17 : 24;
        }
        race.weather = 1 + random_.below(3);
        race.goingTurf = 1 + random_.below(4);
        race.goingDirt = 1 + random_.below(4);
        runRace(race, 10 + random_.below(9), true);
    }

    // Whether the horse of `slot` has run: in this season, or before it when
    // it was three or more as the season began (but for the third of each
    // crop that first runs at three).
    bool hasRun(int slot, const SeasonHorse& h) const {
        const int ageAtStart = plan_.firstDate / 10000 - h.birthYear;
        return ran_.contains(h.id) || ageAtStart >= 4 || (ageAtStart == 3 && slot % 3 != 0);
    }

    // Whether the horse of `slot` may run in `race`: its age fits the
    // race's kind, a 新馬 race takes only horses that never ran, a 未勝利
    // race only horses that never won, and while there are 3歳新馬 (to
    // March) a 3-year-old debuts in one. A third of each crop waits until
    // three for its first run.
    bool eligible(int slot, const JvdRace& race) const {
        const SeasonHorse h = horse(slot, race.key.year);
        const int condition = race.conditions[4], age = race.key.year - h.birthYear;
        const bool debut = !hasRun(slot, h);
        if (!ageFitsKind(age, race.raceKind) || (age == 2 && slot % 3 == 0))
            return false;
        if (condition == 701)
            return debut;
        if (debut && age == 3 && race.key.monthDay <= 331)
            return false;
        return condition != 703 || !won_.contains(h.id);
    }

    // The horses that may run in `race` and do not run elsewhere that day.
    std::vector<int> freeSlots(const JvdRace& race) const {
        std::vector<int> free;
        for (int slot = 0; slot < plan_.horses; ++slot)
            if (!busy_.contains(slot) && eligible(slot, race))
                free.push_back(slot);
        return free;
    }

    std::vector<int> drawField(const JvdRace& race, int fieldSize) {
        std::vector<int> slots;
        if (!plan_.lifelike) {
            for (int tries = 0;
                 static_cast<int>(slots.size()) < fieldSize && tries < fieldSize * 20; ++tries) {
                const int slot = random_.below(plan_.horses);
                if (busy_.insert(slot).second)
                    slots.push_back(slot);
            }
            return slots;
        }
        std::vector<int> free = freeSlots(race);
        while (static_cast<int>(slots.size()) < fieldSize && !free.empty()) {
            const auto at = static_cast<size_t>(random_.below(static_cast<int>(free.size())));
            slots.push_back(free[at]);
            busy_.insert(free[at]);
            free[at] = free.back();
            free.pop_back();
        }
        return slots;
    }

    void runRace(JvdRace race, int fieldSize, bool writeExtras) {
        const int year = race.key.year;
        const std::vector<int> slots = drawField(race, fieldSize);
        if (slots.size() < 4) // the pool ran out of horses for this day
            return;
        const bool cancelled = writeExtras && random_.below(plan_.lifelike ? 150 : 60) == 0;
        const int scratched = writeExtras && random_.below(12) == 0
                                  ? random_.below(static_cast<int>(slots.size()))
                                  : -1;
        const bool deadHeat = writeExtras && random_.below(40) == 0;
        const Luck luck = plan_.lifelike ? Luck{60, 2, 33, 100} : Luck{80, 1};
        // Finishing order by ability and luck.
        std::vector<int> order(slots.size());
        std::iota(order.begin(), order.end(), 0);
        std::vector<int> score(slots.size());
        for (size_t i = 0; i < slots.size(); ++i)
            score[i] = horse(slots[i], year).ability + luck(random_);
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            return score[static_cast<size_t>(a)] > score[static_cast<size_t>(b)];
        });
        // The public's view before the race: each horse's ability as it
        // believes it, the race run many times over with those beliefs; the
        // odds pay back 80 % of the chance it finds (a fifth is the takeout).
        Market market;
        if (plan_.market) {
            std::vector<int> believed(slots.size(), -1);
            for (size_t i = 0; i < slots.size(); ++i)
                if (static_cast<int>(i) != scratched)
                    believed[i] = horse(slots[i], year).ability +
                                  (plan_.publicNoise > 0 ? random_.below(plan_.publicNoise) : 0);
            market = Market(believed, random_.next(), luck, plan_.longShotBias);
        }
        std::vector<int> finishOf(slots.size());
        int place = 0;
        for (int i : order)
            if (i != scratched)
                finishOf[static_cast<size_t>(i)] = ++place;
        const int starters = place;
        race.entered = static_cast<int>(slots.size());
        race.starters = starters;
        race.finishers = cancelled ? 0 : starters;
        const int baseTime = winnerTenths(race.distance, race.track >= 10 && race.track <= 22);
        const auto timeOf = [](int tenths) { return tenths / 600 * 1000 + tenths % 600; };
        const int winnerSlot = order[0] == scratched ? order[1] : order[0];
        const int secondSlot = order[0] == scratched || order[1] == scratched ? order[2] : order[1];

        std::vector<JvdRunner> runners;
        for (size_t i = 0; i < slots.size(); ++i) {
            const SeasonHorse h = horse(slots[i], year);
            JvdRunner s;
            s.horseNo = static_cast<int>(i) + 1;
            s.bracket = std::min(8, 1 + static_cast<int>(i) * 8 / static_cast<int>(slots.size()));
            s.horseId = h.id;
            s.name = h.name;
            s.sex = h.sex;
            s.age = year - h.birthYear;
            s.jockeyCode = 2001 + slots[i] % 12;
            s.jockeyShort = kJockeys[slots[i] % 12];
            if (plan_.lifelike) { // a stable for every horse, not one for all
                s.trainerCode = 1001 + slots[i] % 14;
                s.trainerShort = kFamilies[slots[i] % 14];
                s.ownerName = ownerOf(slots[i]);
            }
            s.apprentice = slots[i] % 23 == 0 ? 4 : slots[i] % 29 == 0 ? 9 : 0;
            s.weightCarried = 540 + 10 * (slots[i] % 4);
            s.bodyWeight = 440 + slots[i] % 80;
            s.popularity = 0;
            if (static_cast<int>(i) == scratched) {
                s.abnormal = 1;
            } else {
                int finish = finishOf[i];
                if (deadHeat && finish == 3)
                    finish = 2;
                s.finish = finish;
                s.deadHeat = deadHeat && (finishOf[i] == 2 || finishOf[i] == 3);
                const int tenths =
                    baseTime + 2 * (finishOf[i] - 1) - (deadHeat && finishOf[i] == 3 ? 2 : 0);
                s.time = timeOf(tenths);
                s.margin = finish == 1 ? "   " : s.deadHeat && finishOf[i] == 3 ? "D  " : "1  ";
                const int c = std::min(finish + random_.below(3), 18);
                s.corners = {c, c, std::max(1, c - 1), finish};
                if (plan_.market) {
                    s.popularity = market.popularity(i);
                    s.winOdds = market.winOdds(i);
                } else {
                    s.popularity = std::min(finish + random_.below(3), starters);
                    s.winOdds = 15 + 12 * s.popularity * s.popularity;
                }
                s.last3F = 340 + finish;
                const bool won = static_cast<int>(i) == winnerSlot;
                const size_t other = static_cast<size_t>(won ? secondSlot : winnerSlot);
                const SeasonHorse o = horse(slots[other], year);
                s.opponentId = o.id;
                s.opponentName = o.name;
                char diff[16];
                std::snprintf(diff, sizeof diff, "%c%03d", won ? '-' : '+',
                              won ? 2 : tenths - baseTime);
                s.timeDiff = diff;
                if (cancelled)
                    clearResult(s);
                else
                    recordRun(s);
            }
            runners.push_back(s);
        }
        const char finalKind = race.kind;
        if (plan_.stages && writeExtras) {
            JvdRace card = race;
            card.kind = '2';
            card.madeOn = addDays(race.key.date(), -1);
            emit(jvdRecord(card));
            for (JvdRunner s : runners) {
                s.kind = '2';
                s.madeOn = card.madeOn;
                s.finish = 0;
                s.time = 0;
                s.abnormal = 0;
                emit(jvdRecord(card, s));
            }
        }
        race.kind = cancelled ? '9' : finalKind;
        race.madeOn = addDays(race.key.date(), cancelled ? 0 : 2);
        emit(jvdRecord(race));
        for (const JvdRunner& s : runners)
            emit(jvdRecord(race, s));
        if (collected_ != nullptr)
            collected_->races.push_back({race, runners});
        if (!writeExtras)
            return;
        // A cancelled race pays nothing: no payout record.
        if (!cancelled) {
            JvdPayouts pay;
            pay.madeOn = race.madeOn;
            pay.key = race.key;
            pay.entered = race.entered;
            pay.starters = starters;
            const JvdRunner& w = runners[static_cast<size_t>(winnerSlot)];
            const JvdRunner& q = runners[static_cast<size_t>(secondSlot)];
            char combo[8];
            std::snprintf(combo, sizeof combo, "%02d", w.horseNo);
            pay.win = {{combo, w.winOdds * 10, w.popularity}};
            if (plan_.market) {
                marketPayouts(pay, runners, market);
            } else {
                pay.place = {{combo, 110 + w.popularity * 30, w.popularity}};
                std::snprintf(combo, sizeof combo, "%02d%02d", std::min(w.horseNo, q.horseNo),
                              std::max(w.horseNo, q.horseNo));
                pay.quinella = {{combo, 500 + 100 * (w.popularity + q.popularity), 1}};
            }
            emit(jvdRecord(pay));
        }
        JvdOdds odds;
        odds.kind = cancelled ? '9' : '5';
        odds.madeOn = race.madeOn;
        odds.key = race.key;
        odds.entered = race.entered;
        odds.starters = starters;
        for (const JvdRunner& s : runners) {
            char text[8];
            std::snprintf(text, sizeof text, "%04d", s.abnormal == 1 ? 0 : s.winOdds);
            odds.win.push_back({s.horseNo, s.abnormal == 1 ? "****" : text, s.popularity});
        }
        if (plan_.market && plan_.placeOdds)
            for (size_t i = 0; i < runners.size(); ++i)
                if (runners[i].abnormal != 1) {
                    const auto [low, high] = market.placeOdds(i);
                    odds.place.push_back({runners[i].horseNo, low, high, runners[i].popularity});
                }
        emit(jvdRecord(odds));
    }

    // A race that was not run leaves its runners without a result.
    static void clearResult(JvdRunner& s) {
        s.finish = s.time = s.last3F = 0;
        s.deadHeat = 0;
        s.margin = "   ";
        s.corners = {};
        s.opponentId = "0000000000";
        s.opponentName.clear();
        s.timeDiff = "9999";
    }

    void recordRun(const JvdRunner& s) {
        ran_.insert(s.horseId);
        if (s.finish == 1)
            won_.insert(s.horseId);
    }

    // Place on every starter finishing within the paid places (a dead heat
    // adds one), quinella on the winner with each second, at the market's
    // prices.
    static void marketPayouts(JvdPayouts& pay, const std::vector<JvdRunner>& runners,
                              const Market& market) {
        const int paid = pay.starters <= 7 ? 2 : 3;
        size_t winner = runners.size();
        for (size_t i = 0; i < runners.size(); ++i)
            if (runners[i].finish == 1)
                winner = i;
        std::vector<size_t> placed;
        for (size_t i = 0; i < runners.size(); ++i)
            if (runners[i].finish >= 1 && runners[i].finish <= paid && placed.size() < 5)
                placed.push_back(i);
        char combo[8];
        for (size_t i : placed) {
            const JvdRunner& s = runners[i];
            std::snprintf(combo, sizeof combo, "%02d", s.horseNo);
            pay.place.push_back({combo, market.placePay(i, placed), s.popularity});
            if (s.finish != 2 || winner == runners.size() || pay.quinella.size() == 3)
                continue;
            const JvdRunner& w = runners[winner];
            std::snprintf(combo, sizeof combo, "%02d%02d", std::min(w.horseNo, s.horseNo),
                          std::max(w.horseNo, s.horseNo));
            pay.quinella.push_back(
                {combo, market.quinellaPay(winner, i), static_cast<int>(pay.quinella.size()) + 1});
        }
    }

    std::ostream& out_;
    JvdSeasonPlan plan_;
    Random random_;
    JvdDay* collected_;
    JvdSeasonStats stats_;
    std::set<int> busy_;              // slots running on this day (weekend)
    std::set<std::string> ran_, won_; // horses that ran, that won
};

} // namespace

JvdSeasonStats writeJvdSeason(std::ostream& out, const JvdSeasonPlan& plan, JvdDay* collected) {
    return SeasonWriter(out, plan, collected).run();
}

} // namespace zelkor::test

// ---- One race day described once ----
namespace zelkor::test {
namespace {

bool startedRun(const JvdRunner& s) {
    return s.abnormal < 1 || s.abnormal > 3;
}

bool isListed(const JvdRace& race) {
    return race.kind != 'A' && race.kind != 'B' && race.kind != '0';
}

JvRunData archiveRun(const JvdRace& race, const JvdRunner& s) {
    JvRunData run;
    run.year = race.key.year;
    run.monthDay = race.key.monthDay;
    run.courseCode = race.key.course;
    run.meeting = race.key.meeting;
    run.meetingDay = race.key.meetingDay;
    run.raceNumber = race.key.raceNo;
    run.shortName = race.short3;
    run.gradeCode = std::string(1, race.grade);
    const int slot = std::clamp(s.age - 2, 0, 3);
    run.conditionCode = race.conditions[static_cast<size_t>(slot)] != 0
                            ? race.conditions[static_cast<size_t>(slot)]
                            : race.conditions[4];
    run.raceName = race.name;
    run.distanceMetres = race.distance;
    run.trackCode = race.track;
    run.fieldSize = race.starters;
    run.trackConditionCode = race.track >= 23 && race.track <= 29 ? race.goingDirt : race.goingTurf;
    run.weatherCode = race.weather;
    run.horseNumber = s.horseNo;
    run.bracket = s.bracket;
    run.weightCarried = s.weightCarried;
    run.jockeyName = s.jockeyShort;
    run.abnormal = s.abnormal;
    run.bodyWeight = s.bodyWeight;
    run.corners = s.corners;
    run.lastThreeFurlongs = s.last3F;
    run.time = s.time;
    run.marginCode = s.margin;
    std::replace(run.marginCode.begin(), run.marginCode.end(), ' ', '_');
    run.finish = s.finish;
    run.popularity = s.popularity;
    run.otherHorseName = s.opponentName;
    run.timeDiff = s.timeDiff == "9999" ? 0 : -std::stoi(s.timeDiff);
    return run;
}

} // namespace

std::string jvdRecords(const JvdDay& day) {
    std::string out;
    for (const JvdRaceEntry& entry : day.races) {
        out += jvdFramed(jvdRecord(entry.race));
        for (const JvdRunner& s : entry.runners)
            out += jvdFramed(jvdRecord(entry.race, s));
    }
    for (const JvdHorse& h : day.horses)
        out += jvdFramed(jvdRecord(h));
    return out;
}

JvRaceDay jvdArchiveDay(const JvdDay& day, int date) {
    std::vector<const JvdRaceEntry*> today;
    for (const JvdRaceEntry& entry : day.races)
        if (entry.race.key.date() == date && isListed(entry.race))
            today.push_back(&entry);
    std::stable_sort(today.begin(), today.end(), [](const JvdRaceEntry* a, const JvdRaceEntry* b) {
        return std::tie(a->race.key.course, a->race.key.raceNo) <
               std::tie(b->race.key.course, b->race.key.raceNo);
    });
    JvRaceDay archive;
    std::set<std::string> horsesDone;
    for (const JvdRaceEntry* entry : today) {
        const JvdRace& r = entry->race;
        JvRaceData race;
        race.year = r.key.year;
        race.monthDay = r.key.monthDay;
        race.courseCode = r.key.course;
        race.meeting = r.key.meeting;
        race.meetingDay = r.key.meetingDay;
        race.raceNumber = r.key.raceNo;
        race.weekdayCode = r.weekday;
        race.raceName = r.name;
        race.shortName = r.short3;
        race.edition = r.edition;
        race.gradeCode = std::string(1, r.grade);
        race.kindCode = r.raceKind;
        race.symbolCode = r.symbol;
        race.weightRuleCode = r.weightRule;
        race.conditionCodes = r.conditions;
        race.distanceMetres = r.distance;
        race.trackCode = r.track;
        for (size_t i = 0; i < 5; ++i)
            race.prizeMoney[i] = static_cast<int>(r.prize[i] / 10);
        for (size_t i = 0; i < 3; ++i)
            race.addedMoney[i] = static_cast<int>(r.addedPrize[i] / 10);
        race.postTime = r.postTime;
        race.saleCode = 9; // JV-Data has no sale field
        std::vector<JvdRunner> runners;
        std::copy_if(entry->runners.begin(), entry->runners.end(), std::back_inserter(runners),
                     startedRun);
        std::stable_sort(
            runners.begin(), runners.end(),
            [](const JvdRunner& a, const JvdRunner& b) { return a.horseNo < b.horseNo; });
        for (const JvdRunner& s : runners) {
            race.runners.push_back({s.horseNo, s.bracket, s.horseId, s.name, s.sex, s.weightCarried,
                                    s.blinkers, s.jockeyCode, s.jockeyShort, s.apprentice,
                                    s.trainerCode, s.trainerShort});
            if (!horsesDone.insert(s.horseId).second)
                continue;
            JvHorseData horse;
            horse.id = s.horseId;
            horse.name = s.name;
            horse.sexCode = s.sex;
            horse.runs.clear();
            horse.sire = horse.dam = horse.damSire = horse.damDam = horse.birthplace = "";
            horse.breeder = horse.owner = "";
            horse.earnings = horse.prizeTotal = 0;
            horse.birthYear = horse.birthMonthDay = horse.breedCode = horse.coatCode = 0;
            for (const JvdHorse& h : day.horses)
                if (h.horseId == s.horseId) {
                    horse.birthYear = h.birthDate / 10000;
                    horse.birthMonthDay = h.birthDate % 10000;
                    horse.breedCode = h.breed;
                    horse.coatCode = h.coat;
                    horse.markCode = h.horseMark;
                    horse.sire = h.pedigree[0];
                    horse.dam = h.pedigree[1];
                    horse.damSire = h.pedigree[4];
                    horse.damDam = h.pedigree[5];
                    horse.birthplace = h.birthplace;
                    horse.breeder = h.breeder;
                    horse.owner = h.owner;
                    horse.earnings = static_cast<int>(h.earnedFlat / 10);
                    horse.prizeTotal = static_cast<int>(h.prizeFlat / 10);
                }
            // Runs of races before the day, newest first.
            std::vector<std::pair<const JvdRace*, const JvdRunner*>> runs;
            for (const JvdRaceEntry& past : day.races)
                if (past.race.key.date() < date && past.race.kind != '9' && past.race.kind != '0')
                    for (const JvdRunner& p : past.runners)
                        if (p.horseId == s.horseId && startedRun(p) &&
                            (p.finish > 0 || (p.abnormal >= 4 && p.abnormal <= 7)))
                            runs.emplace_back(&past.race, &p);
            std::stable_sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) {
                return a.first->key.date() > b.first->key.date();
            });
            for (const auto& [pastRace, p] : runs) {
                JvRunData run = archiveRun(*pastRace, *p);
                const int set = run.trackCode >= 10 && run.trackCode <= 22   ? 0
                                : run.trackCode >= 23 && run.trackCode <= 29 ? 1
                                                                             : -1;
                if (set >= 0 && run.abnormal == 0 && run.finish > 0)
                    ++horse.bandCounts[static_cast<size_t>(set)]
                                      [static_cast<size_t>(run.distanceMetres <= 1600   ? 0
                                                           : run.distanceMetres <= 2200 ? 1
                                                                                        : 2)]
                                      [static_cast<size_t>(std::min(run.finish, 4) - 1)];
                if (horse.runs.size() < 5)
                    horse.runs.push_back(run);
            }
            archive.horses.push_back(horse);
        }
        archive.races.push_back(race);
    }
    return archive;
}

JvdDay makeJvdDay(int races, int horses, std::uint32_t seed) {
    Random random(seed);
    JvdDay day;
    for (int h = 0; h < horses; ++h) {
        JvdHorse horse;
        horse.horseId =
            "20211" + std::string(5 - std::to_string(h).size(), '0') + std::to_string(h);
        horse.name = inventedName(static_cast<std::uint64_t>(h) * 131 + seed);
        horse.before2023 = h % 2 == 1;
        horse.birthDate = 20210301 + h % 28;
        horse.sex = 1 + h % 3;
        horse.coat = 1 + h % 11;
        horse.pedigree[0] = inventedName(static_cast<std::uint64_t>(h) + 5000);
        horse.pedigree[4] = inventedName(static_cast<std::uint64_t>(h) + 7000);
        horse.earnedFlat = 1000 * (h % 30);
        // The archive joins name parts where JV-Data pads: left empty, both agree.
        horse.breeder = horse.owner = "";
        day.horses.push_back(horse);
    }
    // Eight weekly race days of history, then the day itself (race cards).
    const int dates[] = {20250104, 20250111, 20250118, 20250125, 20250201,
                         20250208, 20250215, 20250222, 20250301};
    for (int date : dates) {
        const bool isDay = date == 20250301;
        std::set<int> busy;
        for (int n = 0; n < races; ++n) {
            JvdRaceEntry entry;
            JvdRace& race = entry.race;
            race.kind = isDay ? '2' : n % 9 == 4 ? 'A' : n % 13 == 6 ? 'B' : '7';
            race.key = {date / 10000,
                        date % 10000,
                        race.kind == 'A'   ? "44"
                        : race.kind == 'B' ? "A6"
                        : n % 2 == 0       ? "06"
                                           : "09",
                        2,
                        1 + date % 100 / 7,
                        n / 2 + 1};
            race.weekday = 1;
            race.name = n % 4 == 3 ? inventedName(static_cast<std::uint64_t>(n) + 77) + "特別" : "";
            race.short3 = race.name.empty() ? "" : race.name.substr(0, 6);
            race.grade = n % 8 == 7 ? 'L' : ' ';
            race.raceKind = n % 3 == 0 ? 12 : 13;
            race.conditions = n % 3 == 0 ? std::array<int, 5>{0, 703, 0, 0, 703}
                                         : std::array<int, 5>{0, 5, 10, 10, 5};
            race.distance = 1200 + 200 * random.below(8);
            race.track = random.below(3) == 0 ? 24 : 17;
            race.goingTurf = 1 + random.below(4);
            race.goingDirt = 1 + random.below(4);
            race.weather = 1 + random.below(3);
            const int field = 8 + random.below(7);
            std::vector<int> picked;
            for (int tries = 0; static_cast<int>(picked.size()) < field && tries < 200; ++tries) {
                const int h = random.below(horses);
                if (busy.insert(h).second)
                    picked.push_back(h);
            }
            if (picked.size() < 4) // the pool ran out of horses for this day
                continue;
            const int scratched =
                random.below(5) == 0 ? random.below(static_cast<int>(picked.size())) : -1;
            const bool deadHeat = !isDay && random.below(6) == 0;
            int place = 0;
            for (size_t i = 0; i < picked.size(); ++i) {
                const JvdHorse& horse = day.horses[static_cast<size_t>(picked[i])];
                JvdRunner s;
                s.horseNo = static_cast<int>(i) + 1;
                s.bracket = 1 + static_cast<int>(i) * 8 / static_cast<int>(picked.size());
                s.horseId = horse.horseId;
                s.name = horse.name;
                s.sex = horse.sex;
                s.age = 4;
                s.jockeyCode = 2001 + picked[i] % 12;
                s.jockeyShort = kJockeys[picked[i] % 12];
                s.apprentice = picked[i] % 7 == 0 ? 9 : picked[i] % 5 == 0 ? 4 : 0;
                s.weightCarried = 540 + 10 * (picked[i] % 4);
                s.bodyWeight = 450 + picked[i] % 50;
                if (static_cast<int>(i) == scratched) {
                    s.abnormal = 1;
                } else if (!isDay) {
                    s.finish = ++place;
                    if (deadHeat && place == 3)
                        s.finish = 2;
                    s.margin = place == 1               ? "   "
                               : deadHeat && place == 3 ? "D  "
                               : random.below(2) == 0   ? "K  "
                                                        : "112";
                    s.time = 1340 + place;
                    s.corners = {random.below(3) == 0 ? 0 : place, place, place, place};
                    s.popularity = 1 + random.below(static_cast<int>(picked.size()));
                    s.last3F = 340 + place;
                    s.opponentName = day.horses[static_cast<size_t>(picked[0])].name;
                    char diff[16];
                    std::snprintf(diff, sizeof diff, "%c%03d", place == 1 ? '-' : '+',
                                  place == 1 ? 1 : place);
                    s.timeDiff = diff;
                }
                entry.runners.push_back(s);
            }
            race.entered = static_cast<int>(picked.size());
            race.starters = race.entered - (scratched >= 0 ? 1 : 0);
            day.races.push_back(entry);
        }
    }
    return day;
}

} // namespace zelkor::test
