#include "core/settings.h"

#include "text/cp932.h"
#include "text/file_io.h"
#include "text/format.h"

#include <array>
#include <climits>
#include <optional>
#include <string_view>

namespace zelkor {
namespace {

constexpr const char* kUnreadable =
    "設定ファイル'%s'を読み込めませんでした\r\n今回は初期設定を使います";
constexpr const char* kUnwritable = "設定ファイル'%s'に書き込めませんでした";

// The lines in file order: key, and where the value lives (one of the
// three). A line added later comes last, so older files read as before.
struct Line {
    const char* key;
    bool AppSettings::*flag;
    int AppSettings::*number;
    std::string AppSettings::*text;
};

constexpr std::array<Line, 12> kLines = {{
    {"Zelkor sports Image file", &AppSettings::sportsShowImages, nullptr, nullptr},
    {"Zelkor sports Name DB link", &AppSettings::sportsLinkNames, nullptr, nullptr},
    {"JRA-VAN Newsp Image file", &AppSettings::paperShowImages, nullptr, nullptr},
    {"JRA-VAN Newsp How Read", &AppSettings::paperHowToRead, nullptr, nullptr},
    {"JRA-VAN Newsp Name DB link", &AppSettings::paperLinkNames, nullptr, nullptr},
    {"JRA-VAN Newsp kind", nullptr, &AppSettings::paperEdition, nullptr},
    {"JRA-VAN Newsp race", nullptr, &AppSettings::paperPastRuns, nullptr},
    {"DataBase URL1", nullptr, nullptr, &AppSettings::dbUrl1},
    {"DataBase URL2", nullptr, nullptr, &AppSettings::dbUrl2},
    {"DataBase Default Name", nullptr, nullptr, &AppSettings::dbTestName},
    {"HELPER", &AppSettings::showFirstUseMessage, nullptr, nullptr},
    {"Value threshold", nullptr, &AppSettings::valueThreshold, nullptr},
}};

constexpr int kDefaultValueThreshold = 110;

// The decimal integer at the start of `text` after leading blanks, with an
// optional sign; nothing when no digit follows or the value leaves the range
// of int, so the field keeps what it held.
std::optional<int> parseDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\v' ||
                               text[i] == '\f' || text[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

// A text value must stay on its line: line breaks would shift every
// following line onto the wrong key. (No trail byte of a two-byte character
// is CR or LF, so dropping them never splits a character.)
std::string singleLine(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r' && c != '\n')
            out += c;
    }
    return out;
}

} // namespace

AppSettings defaultSettings() {
    AppSettings s;
    s.sportsShowImages = true;
    s.sportsLinkNames = true;
    s.paperShowImages = true;
    s.paperHowToRead = true;
    s.paperLinkNames = true;
    s.paperEdition = 1;
    s.paperPastRuns = 5;
    // A web search that takes the name in Shift-JIS, as the pages send it,
    // limited to a horse-racing database, so every horse name reaches a page.
    s.dbUrl1 = "https://www.google.com/search?ie=Shift_JIS&q=site%3Adb.netkeiba.com+";
    s.dbUrl2 = "";
    s.dbTestName = "duverovu";
    s.showFirstUseMessage = true;
    s.valueThreshold = kDefaultValueThreshold;
    return s;
}

double valueThresholdOf(const AppSettings& settings) {
    const int t = settings.valueThreshold;
    return (t >= 1 && t <= 9999 ? t : kDefaultValueThreshold) / 100.0;
}

Result<SettingsFileState> loadSettings(AppSettings& settings, const std::string& configPath) {
    FileProblem why = FileProblem::None;
    std::optional<std::string> file = readWholeFile(configPath, kSettingsFileLimit, &why);
    if (!file) {
        settings = defaultSettings();
        if (why == FileProblem::Missing)
            return SettingsFileState::Missing;
        // A file is there, so this is no first start.
        settings.showFirstUseMessage = false;
        return Failure{format(kUnreadable, pathForDisplay(configPath).c_str())};
    }
    std::string_view rest = *file;
    for (const Line& line : kLines) {
        if (rest.empty())
            break; // a missing line leaves its field as it was
        size_t end = rest.find('\n');
        std::string_view text = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);

        const std::string_view key = line.key;
        if (!text.starts_with(key) || text.size() <= key.size() || text[key.size()] != '=')
            continue;
        std::string_view value = text.substr(key.size() + 1);
        if (line.flag) {
            if (std::optional<int> number = parseDecimal(value))
                settings.*line.flag = *number != 0;
        } else if (line.number) {
            if (std::optional<int> number = parseDecimal(value))
                settings.*line.number = *number;
        } else {
            settings.*line.text = std::string(value);
        }
    }
    return SettingsFileState::Read;
}

Result<SettingsFileState> readSettings(AppSettings& settings, const std::string& configPath) {
    Result<SettingsFileState> state = loadSettings(settings, configPath);
    // A first start that cannot write its folder still starts.
    if (state && *state == SettingsFileState::Missing)
        static_cast<void>(writeSettings(settings, configPath));
    return state;
}

Outcome writeSettings(const AppSettings& settings, const std::string& configPath) {
    std::string out;
    for (const Line& line : kLines) {
        if (line.flag)
            appendFormat(out, "%s=%d\r\n", line.key, settings.*line.flag ? 1 : 0);
        else if (line.number)
            appendFormat(out, "%s=%d\r\n", line.key, settings.*line.number);
        else
            out += std::string(line.key) + "=" + singleLine(settings.*line.text) + "\r\n";
    }
    const bool written =
        !(fileExists(configPath) && !readWholeFile(configPath, kSettingsFileLimit)) &&
        writeFileAtomic(configPath, out);
    return outcomeOf(written, format(kUnwritable, pathForDisplay(configPath).c_str()));
}

} // namespace zelkor
