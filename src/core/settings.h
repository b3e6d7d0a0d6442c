#pragma once

#include "core/result.h"

#include <string>

namespace zelkor {

// The user's settings, kept in Zelkor2k.cfg in the program folder.
// Before reading, flags are off, numbers 0 and texts empty. A flag is a
// number in the file: any but 0 reads as on, and it is written as 1 or 0.
struct AppSettings {
    bool sportsShowImages = false;
    bool sportsLinkNames = false;
    bool paperShowImages = false;
    bool paperHowToRead = false;
    bool paperLinkNames = false;
    int paperEdition = 0;  // 1 simple, 2 detailed, 3 detailed with results
    int paperPastRuns = 0; // 1..5
    std::string dbUrl1;
    std::string dbUrl2;
    std::string dbTestName;
    bool showFirstUseMessage = false;
    int valueThreshold = 0; // hundredths; outside 1..9999 (an older file): the default

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

inline constexpr const char* kConfigFileName = "Zelkor2k.cfg";

// The settings of a first start.
AppSettings defaultSettings();

// The expected return of a 100-yen ticket, per yen, from which a runner is
// worth a bet: the settings' when it is usable, else 1.10.
double valueThresholdOf(const AppSettings& settings);

// What reading the settings file found.
enum class SettingsFileState {
    Read,    // the file's lines were read
    Missing, // no file: the defaults were set
};

// Reads the settings file at `configPath` into `settings` and never writes
// it. A line that does not begin with its key and "=" leaves its field as it
// was. An existing file that cannot be read (no right to read it, not a
// regular file, too large) sets the defaults without the first-use message
// and fails with the message telling the user so: the settings are still
// usable for this run.
Result<SettingsFileState> loadSettings(AppSettings& settings, const std::string& configPath);

// The start of the desktop program: loadSettings, and a missing file is
// created with the defaults.
Result<SettingsFileState> readSettings(AppSettings& settings, const std::string& configPath);

// Writes the twelve lines (CR LF) through a temporary file renamed over the
// old one (through a symbolic link). Fails, and leaves any old file intact,
// when the folder cannot be written or the old file cannot be read (it is
// the user's, and this run never saw it); the caller keeps the settings in
// memory.
Outcome writeSettings(const AppSettings& settings, const std::string& configPath);

} // namespace zelkor
