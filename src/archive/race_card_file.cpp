#include "archive/race_card_file.h"

#include "archive/archive_layouts.h"
#include "archive/file_index.h"
#include "core/program_folder.h"
#include "race/code_tables.h"
#include "race/fixed_record.h"
#include "text/cp932.h"
#include "text/format.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace zelkor {

// One read of the 1464-byte line buffer: where it starts and where the text
// of its line ends (before the line end).
struct LineRead {
    std::uint64_t start = 0;
    std::uint64_t textEnd = 0;
};

// At most kJvMaxRaces + 1 reads: one more tells that the card has too many.
struct RaceCardIndex {
    std::vector<LineRead> reads;
    bool tooManyRaces() const { return reads.size() > static_cast<size_t>(kJvMaxRaces); }
};

namespace {

using namespace jvrecord;

constexpr size_t kLineTextBytes = kJvLineBufferBytes - 1; // text bytes per buffered read
constexpr char kEndOfFileMark = 0x1a; // ends the text of a file read in text mode

#ifdef _WIN32
constexpr const char* kSeparator = "\\";
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparator = "/";
constexpr const char* kSeparators = "/";
#endif

Failure cannotOpen(const std::string& path) {
    return Failure{format("ファイル'%s'を開けませんでした", pathForDisplay(path).c_str())};
}

Failure readFailure() {
    return Failure{"出馬表ファイルの読み込みに失敗しました"};
}

const std::string& runningProgramFolder() {
    static const std::string folder = detectProgramFolder();
    return folder;
}

// Fills the card from one race line (at most kJvMaxRaceLineBytes of it; the
// line ends where the text ends, missing bytes read as blanks).
void parseRaceLine(JvRaceCard& card, std::string_view line) {
    namespace c = archivelayout::card;
    namespace r = archivelayout::runner;
    static_assert(c::kCondition.count == std::tuple_size_v<decltype(card.conditionCodes)> &&
                  c::kPrize.count == std::tuple_size_v<decltype(card.prizeMoney)> &&
                  c::kAddedPrize.count == std::tuple_size_v<decltype(card.addedMoney)>);
    card.year = readNumber(line, c::kYear);
    card.monthDay = readNumber(line, c::kMonthDay);
    card.courseCode = readText(line, c::kCourse);
    card.courseName = decodeRacecourse(card.courseCode);
    card.meeting = readNumber(line, c::kMeeting);
    card.meetingDay = readNumber(line, c::kMeetingDay);
    card.raceNumber = readNumber(line, c::kRaceNo);
    card.weekdayCode = readNumber(line, c::kWeekday);
    card.weekdayText = codeText(kWeekdayTable, card.weekdayCode);
    card.raceName = readCut(line, c::kName);
    card.shortName = readCut(line, c::kShortName);
    card.edition = readNumber(line, c::kEdition);
    card.gradeCode = readText(line, c::kGrade);
    card.gradeText = decodeGrade(card.gradeCode);
    card.kindCode = readNumber(line, c::kRaceKind);
    card.kindText = decodeRaceKind(card.kindCode);
    card.symbolCode = readText(line, c::kSymbol);
    card.symbolText = decodeSymbol(card.symbolCode);
    card.weightRuleCode = readNumber(line, c::kWeightRule);
    card.weightRuleText = codeText(kWeightRuleTable, card.weightRuleCode);
    for (int i = 0; i < c::kCondition.count; ++i) {
        const auto slot = static_cast<size_t>(i);
        card.conditionCodes[slot] = readNumber(line, c::kCondition.field(i, c::kConditionWidth));
        card.conditionTexts[slot] =
            decodeCondition(card.conditionCodes[slot], card.year * 10000 + card.monthDay);
    }
    card.distanceMetres = readNumber(line, c::kDistance);
    card.trackCode = readNumber(line, c::kTrack);
    card.trackText = decodeTrack(card.trackCode);
    for (int i = 0; i < c::kPrize.count; ++i)
        card.prizeMoney[static_cast<size_t>(i)] =
            readNumber(line, c::kPrize.field(i, c::kMoneyWidth));
    for (int i = 0; i < c::kAddedPrize.count; ++i)
        card.addedMoney[static_cast<size_t>(i)] =
            readNumber(line, c::kAddedPrize.field(i, c::kMoneyWidth));
    card.postTime = readNumber(line, c::kPostTime);
    card.saleCode = readNumber(line, c::kSale);
    card.saleText = codeText(kSaleTable, card.saleCode);
    // The runner slots hold 18 runners; further groups are not read.
    card.runnerCount = std::clamp(readNumber(line, c::kRunnerCount), 0, kJvMaxRunners);

    for (int k = 1; k <= card.runnerCount; ++k) {
        const size_t group = kJvRacePartBytes + kJvRunnerGroupBytes * static_cast<size_t>(k - 1);
        JvRunner& runner = card.runners[static_cast<size_t>(k - 1)];
        runner.horseNumber = readNumber(line, r::kHorseNo.at(group));
        runner.bracket = readNumber(line, r::kBracket.at(group));
        runner.horseId = readText(line, r::kHorseId.at(group));
        runner.horseName = readName(line, r::kName.at(group));
        runner.sexCode = readNumber(line, r::kSex.at(group));
        runner.sexText = decodeRunnerSex(runner.sexCode);
        runner.weightCarried = readNumber(line, r::kWeightCarried.at(group));
        runner.blinker = readNumber(line, r::kBlinkers.at(group));
        runner.jockeyCode = readNumber(line, r::kJockeyCode.at(group));
        runner.jockeyName = readName(line, r::kJockeyName.at(group));
        runner.apprenticeCode = readNumber(line, r::kApprentice.at(group));
        runner.trainerCode = readNumber(line, r::kTrainerCode.at(group));
        runner.trainerName = readName(line, r::kTrainerName.at(group));
    }

    nameOrdinaryRace(card);
}

// Everything a successful read stores, given the race's line. The card
// starts as a new one, so nothing of an earlier read survives. It is built
// apart and then stored, since `path` is often the card's own path.
void fillCard(JvRaceCard& card, const std::string& path, std::string_view line,
              const std::string& programFolder) {
    const std::string& folder = programFolder.empty() ? runningProgramFolder() : programFolder;
    JvRaceCard fresh;
    fresh.raceCardPath = path;
    fresh.horseFilePath = horseFilePathFor(path);
    fresh.jockeyFilePath = folder + "KTDAT" + kSeparator + "JracKisi.dat";
    fresh.trainerFilePath = folder + "KTDAT" + kSeparator + "JracChok.dat";
    parseRaceLine(fresh, line.substr(0, std::min(line.size(), kJvMaxRaceLineBytes)));
    card = std::move(fresh);
}

// The line buffer reads of a whole file, in file order. The file is taken
// as text: "\r\n" ends a line like "\n", and an end-of-file mark ends it.
std::shared_ptr<const RaceCardIndex> buildIndex(std::string_view data) {
    auto index = std::make_shared<RaceCardIndex>();
    size_t end = data.find(kEndOfFileMark);
    if (end == std::string_view::npos)
        end = data.size();
    size_t lineStart = 0;
    while (lineStart < end && !index->tooManyRaces()) {
        size_t newline = data.find('\n', lineStart);
        bool hasNewline = newline != std::string_view::npos && newline < end;
        size_t textEnd = hasNewline ? newline : end;
        if (hasNewline && textEnd > lineStart && data[textEnd - 1] == '\r')
            --textEnd;
        size_t length = textEnd - lineStart;
        // With its line end a line needs length/1463 + 1 reads; the last
        // line of a file without one needs as many as its text fills.
        size_t reads = hasNewline ? length / kLineTextBytes + 1
                                  : (length + kLineTextBytes - 1) / kLineTextBytes;
        for (size_t i = 0; i < reads && !index->tooManyRaces(); ++i)
            index->reads.push_back({lineStart + i * kLineTextBytes, textEnd});
        if (!hasNewline)
            break;
        lineStart = newline + 1;
    }
    return index;
}

// The bytes of the card that can hold races. No buffer read takes more than
// 1465 bytes of the file (1463 text bytes and "\r\n"), so this much of a
// card without an end-of-file mark holds more races than a card may: a huge
// file is never read whole.
bool readIndexedBytes(const jvfile::ReadOnlyFile& file, jvfile::LargeVector<char>& data) {
    constexpr std::uint64_t kIndexedBytes =
        std::uint64_t{kJvMaxRaces + 2} * (kJvLineBufferBytes + 1);
    // Written by the read only.
    data.resize(static_cast<size_t>(std::min(file.stamp().size, kIndexedBytes)));
    const std::optional<std::size_t> done = file.readInto(0, data.data(), data.size());
    if (!done)
        return false;
    data.resize(*done);
    return true;
}

} // namespace

std::string horseFilePathFor(const std::string& raceCardPath) {
    // Whatever the card is called, the folder is all of the path up to its
    // last separator (none: the current folder).
    size_t separator = raceCardPath.find_last_of(kSeparators);
    size_t keep = separator == std::string::npos ? 0 : separator + 1;
    return raceCardPath.substr(0, keep) + "JracUmaj.dat";
}

Result<int> countRaces(const std::string& path) {
    JvRaceCardFile card;
    if (Outcome opened = card.open(path); !opened)
        return Failure{opened.message()};
    return card.raceCount();
}

Outcome readRace(JvRaceCard& card, const std::string& path, int raceIndex,
                 const std::string& programFolder) {
    JvRaceCardFile file;
    if (Outcome opened = file.open(path); !opened)
        return opened;
    return file.readRace(card, raceIndex, programFolder);
}

JvRaceCardFile::JvRaceCardFile() = default;
JvRaceCardFile::~JvRaceCardFile() = default;

Outcome JvRaceCardFile::open(const std::string& path) {
    jvfile::ReadOnlyFile file;
    jvfile::LargeVector<char> data;
    if (!file.open(path) || !readIndexedBytes(file, data))
        return cannotOpen(path);
    path_ = path;
    data_ = std::move(data);
    index_ = buildIndex(std::string_view(data_.data(), data_.size()));
    return {};
}

Result<int> JvRaceCardFile::raceCount() const {
    if (!index_)
        return 0;
    if (index_->tooManyRaces())
        return readFailure();
    return static_cast<int>(index_->reads.size());
}

std::string_view JvRaceCardFile::lineOf(const LineRead& read) const {
    return std::string_view(data_.data(), data_.size())
        .substr(static_cast<size_t>(read.start),
                static_cast<size_t>(
                    std::min<std::uint64_t>(read.textEnd - read.start, kJvMaxRaceLineBytes)));
}

Outcome JvRaceCardFile::readRace(JvRaceCard& card, int raceIndex,
                                 const std::string& programFolder) const {
    // An index past the last race (one past included) has no line to read.
    const size_t position = static_cast<size_t>(std::max(raceIndex, 1));
    if (!index_ || index_->tooManyRaces() || position > index_->reads.size())
        return readFailure();
    fillCard(card, path_, lineOf(index_->reads[position - 1]), programFolder);
    return {};
}

void JvRaceCardFile::forEachHorseId(const std::function<void(std::string_view)>& take) const {
    if (!index_ || index_->tooManyRaces())
        return;
    for (const LineRead& read : index_->reads) {
        const std::string_view line = lineOf(read);
        const int runners =
            std::clamp(readNumber(line, archivelayout::card::kRunnerCount), 0, kJvMaxRunners);
        for (int k = 1; k <= runners; ++k) {
            // As parseRaceLine reads it: bytes past the line's end are blanks.
            const size_t at = kJvRacePartBytes + kJvRunnerGroupBytes * static_cast<size_t>(k - 1) +
                              archivelayout::runner::kHorseId.offset;
            char id[archivelayout::runner::kHorseId.width];
            for (size_t i = 0; i < sizeof id; ++i)
                id[i] = at + i < line.size() ? line[at + i] : ' ';
            take(std::string_view(id, sizeof id));
        }
    }
}

namespace rescan {
namespace {

// Characters of a file as text mode delivers them: "\r\n" becomes "\n" and
// the end-of-file mark ends the text.
class TextReader {
  public:
    explicit TextReader(std::FILE* file) : file_(file) {}

    int get() {
        if (ended_)
            return EOF;
        int c = pending_ != kNone ? pending_ : std::getc(file_);
        pending_ = kNone;
        if (c == EOF || c == kEndOfFileMark) {
            ended_ = true;
            return EOF;
        }
        if (c == '\r') {
            int next = std::getc(file_);
            if (next == '\n')
                return '\n';
            pending_ = next;
        }
        return c;
    }

    // One read of the line buffer: up to 1463 characters, ending after a
    // line end. False when the text was already exhausted.
    bool readBuffer() {
        size_t count = 0;
        while (count < kLineTextBytes) {
            int c = get();
            if (c == EOF)
                return count > 0;
            ++count;
            if (c == '\n')
                return true;
        }
        return true;
    }

  private:
    static constexpr int kNone = -2;
    std::FILE* file_;
    int pending_ = kNone;
    bool ended_ = false;
};

// Line buffer reads of the file from its current position, counted up to
// one more than a card may hold.
int countBuffers(std::FILE* file) {
    TextReader reader(file);
    int count = 0;
    while (count <= kJvMaxRaces && reader.readBuffer())
        ++count;
    return count;
}

} // namespace

Result<int> countRaces(const std::string& path) {
    jvfile::StdioFile file = jvfile::openRegularStdioFile(path);
    if (!file)
        return cannotOpen(path);
    const int count = countBuffers(file.get());
    if (count > kJvMaxRaces)
        return readFailure();
    return count;
}

Outcome readRace(JvRaceCard& card, const std::string& path, int raceIndex,
                 const std::string& programFolder) {
    jvfile::StdioFile file = jvfile::openRegularStdioFile(path);
    if (!file)
        return cannotOpen(path);
    if (countBuffers(file.get()) > kJvMaxRaces)
        return readFailure();
    std::rewind(file.get());
    TextReader reader(file.get());
    for (int i = 1; i < raceIndex; ++i)
        if (!reader.readBuffer())
            return readFailure();
    std::string line;
    int c = reader.get();
    if (c == EOF)
        return readFailure();
    while (c != EOF && c != '\n' && line.size() < kJvMaxRaceLineBytes) {
        line.push_back(static_cast<char>(c));
        c = reader.get();
    }
    fillCard(card, path, line, programFolder);
    return {};
}

} // namespace rescan
} // namespace zelkor
