#include "core/prediction_file.h"

#include "core/fixed_lists.h"
#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"
#include "text/sjis.h"

#include <limits>
#include <optional>
#include <string_view>

namespace zelkor {
namespace {

constexpr const char* kCannotCreate = "ファイル'%s'は開けませんでした。";
constexpr const char* kCannotOpen = "ファイル'%s'を開けません";
constexpr const char* kNotOurFile = "ゼルコ馬ファイルではありません";
constexpr const char* kRenumbered =
    "出走取消で馬番に欠番があるため、予想ファイルには出走馬を1番から順に付け直して保存しました。";
constexpr const char* kUnusable = "ファイルを開けません";
constexpr const char* kOlderVersion = "以前のバージョンのファイルは開けません";
constexpr const char* kSaveFailed = "ゼルコ馬ファイルを保存できませんでした。";
constexpr const char* kReadFailed = "ゼルコ馬ファイルを読み込めませんでした。";
constexpr const char* kNotOurFileWhy = "先頭がゼルコ馬ファイルの印で始まっていません。";
constexpr const char* kOtherVersionWhy = "別のバージョンのゼルコ馬で作られたファイルです。";
constexpr const char* kReencoded =
    "文字コードがShift-JIS (CP932) から別のもの (UTF-8など) に変換されています。";
constexpr const char* kCut = "ファイルが途中で切れています。";
constexpr const char* kDamaged = "ファイルの中身が壊れています。";

// The writer writes every count from 0 to 18 (a JRA-VAN race may have fewer
// runners than the form offers), so the reader takes all of them back.
constexpr int kMinRunners = 0;

void appendText(std::string& out, const std::string& text) {
    appendFormat(out, "%zu,", text.size());
    out += text;
    out += ',';
}

void appendRun(std::string& out, const PastRun& run) {
    appendFormat(out, "%d,%d,%d,%d,%d,%d,%d,%d,", listIndex(run.kind), run.finish, run.fieldSize,
                 run.popularity, run.distance, run.raceClass, run.weight, run.timeDiff);
}

// Reads the values of a prediction file from the front. The file is
// untrusted: every length and count is checked against what is there.
class Reader {
  public:
    explicit Reader(std::string_view data) : data_(data) {}

    // The bytes up to the next white space, after skipping white space.
    std::string_view word() {
        skipSpace();
        size_t start = pos_;
        while (pos_ < data_.size() && !isSpace(data_[pos_]))
            ++pos_;
        return data_.substr(start, pos_ - start);
    }

    // A decimal number such as "3.04"; gives its integer part.
    std::optional<long long> versionNumber() {
        skipSpace();
        bool negative = false;
        if (pos_ < data_.size() && (data_[pos_] == '+' || data_[pos_] == '-'))
            negative = data_[pos_++] == '-';
        long long whole = 0;
        int digits = 0;
        for (; pos_ < data_.size() && isDigit(data_[pos_]); ++pos_, ++digits)
            if (whole < 1000000) // anything this large is some other version anyway
                whole = whole * 10 + (data_[pos_] - '0');
        if (pos_ < data_.size() && data_[pos_] == '.') {
            ++pos_;
            for (; pos_ < data_.size() && isDigit(data_[pos_]); ++pos_)
                ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        return negative ? -whole : whole;
    }

    bool comma() {
        if (pos_ < data_.size() && data_[pos_] == ',') {
            ++pos_;
            return true;
        }
        return false;
    }

    // "%d," — false when the value is missing, malformed or does not fit.
    bool number(int& out) {
        skipSpace();
        size_t p = pos_;
        bool negative = false;
        if (p < data_.size() && (data_[p] == '+' || data_[p] == '-'))
            negative = data_[p++] == '-';
        long long value = 0;
        size_t firstDigit = p;
        for (; p < data_.size() && isDigit(data_[p]); ++p) {
            value = value * 10 + (data_[p] - '0');
            if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
                return false;
        }
        if (p == firstDigit)
            return false;
        value = negative ? -value : value;
        if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
            return false;
        pos_ = p;
        if (!comma())
            return false;
        out = static_cast<int>(value);
        return true;
    }
    // A named choice, written as its list position.
    template <class E>
    requires std::is_enum_v<E>
    bool number(E& out) {
        int index = 0;
        if (!number(index))
            return false;
        out = static_cast<E>(index);
        return true;
    }

    // Length, comma, exactly that many bytes, comma: the text may hold
    // commas and line ends of its own.
    bool text(std::string& out) {
        int length = 0;
        if (!number(length) || length < 0 || static_cast<size_t>(length) > data_.size() - pos_)
            return false;
        std::string_view bytes = data_.substr(pos_, static_cast<size_t>(length));
        pos_ += bytes.size();
        if (!comma())
            return false;
        out.assign(bytes);
        return true;
    }

    bool run(PastRun& r) {
        return number(r.kind) && number(r.finish) && number(r.fieldSize) && number(r.popularity) &&
               number(r.distance) && number(r.raceClass) && number(r.weight) && number(r.timeDiff);
    }

  private:
    static bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    void skipSpace() {
        while (pos_ < data_.size() && isSpace(data_[pos_]))
            ++pos_;
    }

    std::string_view data_;
    size_t pos_ = 0;
};

// Text whose bytes above ASCII all form UTF-8 or UTF-16 characters: a
// prediction file some editor saved in another code. The names of a real
// one are CP932, which seldom reads as UTF-8 throughout.
bool isTextOfAnotherCode(std::string_view data) {
    if (data.starts_with("\xff\xfe") || data.starts_with("\xfe\xff"))
        return true;
    bool wide = false;
    for (size_t i = 0; i < data.size();) {
        const auto byte = static_cast<unsigned char>(data[i]);
        const size_t length = byte < 0x80         ? 1
                              : (byte >> 5) == 6  ? 2
                              : (byte >> 4) == 14 ? 3
                              : (byte >> 3) == 30 ? 4
                                                  : 0;
        if (length == 0 || length > data.size() - i)
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(data[i + k]) & 0xc0) != 0x80)
                return false;
        wide = wide || length > 1;
        i += length;
    }
    return wide;
}

// Why a file could not be read: another code, a file cut short (every
// saved file ends in a line end), or a damaged one.
const char* damageReason(std::string_view data) {
    if (isTextOfAnotherCode(data))
        return kReencoded;
    return data.ends_with('\n') ? kDamaged : kCut;
}

// The race and runners after the version, read into `sheet`. False when a
// value is missing or malformed, or the runner count is not that of a race.
bool readBody(Reader& in, RaceSheet& sheet) {
    int racecourse = -1;
    if (!in.text(sheet.raceName) || !in.number(racecourse) || !in.number(sheet.grade) ||
        !in.number(sheet.ageLimit) || !in.number(sheet.sexLimit) || !in.number(sheet.weightRule) ||
        !in.number(sheet.baseWeight) || !in.number(sheet.surface) || !in.number(sheet.distance) ||
        !in.number(sheet.runnerCount) || !in.number(sheet.raceNumber))
        return false;
    sheet.racecourse = std::string(listText(kRacecourseList, racecourse));
    if (sheet.runnerCount < kMinRunners || sheet.runnerCount > kMaxRunners)
        return false;
    for (int h = 1; h <= sheet.runnerCount; ++h) {
        RunnerEntry& r = sheet.runner(h);
        if (!in.text(r.name) || !in.number(r.sex) || !in.number(r.age) || !in.number(r.weight) ||
            !in.number(r.runningStyle) || !in.number(r.aptitudeDistance) ||
            !in.number(r.oddsBand) || !in.run(r.pastRuns[kRunBeforeLast]) ||
            !in.run(r.pastRuns[kLastRun]))
            return false;
    }
    return true;
}

} // namespace

std::string predictionFileHeader() {
    return format("%s %d.%d%d,", kPredictionMagic, kVersionMajor, kVersionMinor, kVersionBuild);
}

std::optional<int> racecoursePosition(const std::string& racecourse) {
    // Every entry begins with the empty text; an empty racecourse is kept
    // empty rather than turned into the first entry.
    if (racecourse.empty())
        return std::nullopt;
    for (size_t i = 0; i < std::size(kRacecourseList); ++i)
        if (startsWithIgnoringAsciiCase(kRacecourseList[i], racecourse))
            return static_cast<int>(i);
    return std::nullopt;
}

std::string predictionFileText(const RaceSheet& sheet) {
    // A count the runner slots cannot hold is written as the number of
    // runners actually written, so the file stays consistent.
    const int n = sheet.usableRunnerCount();
    std::string out = predictionFileHeader();
    appendText(out, sheet.raceName);
    // The file records no racecourse as -1.
    appendFormat(out, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,\r\n",
                 racecoursePosition(sheet.racecourse).value_or(-1), sheet.grade, sheet.ageLimit,
                 sheet.sexLimit, sheet.weightRule, sheet.baseWeight, sheet.surface, sheet.distance,
                 n, sheet.raceNumber);
    for (int h = 1; h <= n; ++h) {
        const RunnerEntry& r = sheet.runner(h);
        appendText(out, r.name);
        appendFormat(out, "%d,%d,%d,%d,%d,%d,", listIndex(r.sex), r.age, r.weight,
                     listIndex(r.runningStyle), r.aptitudeDistance, r.oddsBand);
        appendRun(out, r.pastRuns[kRunBeforeLast]);
        out += "\r\n";
        appendRun(out, r.pastRuns[kLastRun]);
        out += "\r\n";
    }
    return out;
}

Outcome writePredictionFile(const RaceSheet& sheet, const std::string& path, UserPrompt& prompt) {
    FileProblem problem = FileProblem::None;
    if (!writeFileAtomic(path, predictionFileText(sheet), &problem))
        return tell(prompt, fileFailureText(kSaveFailed, problem, path, kCannotCreate));
    // The file has no room for a gap in the numbers: its runners are 1..n.
    if (sheet.renumbered())
        prompt.showNote(kRenumbered, MessageIcon::Information);
    return {};
}

Outcome readPredictionFile(RaceSheet& sheet, const std::string& path, UserPrompt& prompt) {
    FileProblem problem = FileProblem::None;
    std::optional<std::string> data = readWholeFile(path, kPredictionFileLimit, &problem);
    if (!data)
        return tell(prompt, fileFailureText(kReadFailed, problem, path, kCannotOpen));
    const auto refuse = [&](const char* what, const char* why) -> Outcome {
        return tell(prompt, format("ゼルコ馬ファイル'%s'を読み込めませんでした。\r\n%s\r\n%s",
                                   pathForDisplay(path).c_str(), what, why));
    };
    Reader in(*data);
    if (in.word().substr(0, 6) != kPredictionMagic)
        return refuse(kNotOurFile, isTextOfAnotherCode(*data) ? kReencoded : kNotOurFileWhy);
    std::optional<long long> version = in.versionNumber();
    if (!version)
        return refuse(kUnusable, damageReason(*data));
    // Any minor or build of the same major version reads the same.
    if (*version != kVersionMajor)
        return refuse(kOlderVersion, kOtherVersionWhy);
    // Read into a copy so that a damaged or cut file never leaves a half
    // loaded sheet behind.
    RaceSheet loaded = sheet;
    if (!in.comma() || !readBody(in, loaded))
        return refuse(kUnusable, damageReason(*data));
    loaded.currentRunner = 1;
    loaded.liveRunnerCount = loaded.runnerCount;
    loaded.clearShownNumbers();
    sheet = loaded;
    return {};
}

std::string defaultPredictionFileName(const RaceSheet& sheet) {
    std::string name = sheet.raceName.empty()
                           ? sheet.racecourse + format("_%dR.zel", sheet.raceNumber)
                           : sheet.raceName + ".zel";
    // A separator typed into the race name must not turn the proposal into
    // a path; only whole characters are looked at, since "\" is also a
    // Shift-JIS trail byte.
    for (size_t pos = 0; pos < name.size(); pos += charLength(name, pos))
        if (name[pos] == '/' || name[pos] == '\\')
            name[pos] = '_';
    return name;
}

} // namespace zelkor
