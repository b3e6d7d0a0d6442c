#pragma once

#include <string>

namespace zelkor {

// The user's settings, kept in Zelkor2k.cfg in the program folder.
// Before reading, numbers are 0 and texts empty.
struct AppSettings {
    int sportsShowImages = 0;
    int sportsLinkNames = 0;
    int paperShowImages = 0;
    int paperHowToRead = 0;
    int paperLinkNames = 0;
    int paperEdition = 0;  // 1 simple, 2 detailed, 3 detailed with results
    int paperPastRuns = 0; // 1..5
    std::string dbUrl1;
    std::string dbUrl2;
    std::string dbTestName;
    int showFirstUseMessage = 0;

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

inline constexpr const char* kConfigFileName = "Zelkor2k.cfg";

// The settings of a first start.
AppSettings defaultSettings();

// Reads the settings file at `configPath` into `settings`. A missing or
// unreadable file sets the defaults and writes them. A line that does not
// begin with its key and "=" leaves its field as it was. Never fails.
void readSettings(AppSettings& settings, const std::string& configPath);

// Writes the eleven lines (CR LF) through a temporary file renamed over the
// old one. Returns false, and leaves any old file intact, when the folder
// cannot be written; the caller keeps the settings in memory.
bool writeSettings(const AppSettings& settings, const std::string& configPath);

} // namespace zelkor
