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

} // namespace zelkor
