#pragma once

// The generated race days the benchmarks work on: 36 races against a horse
// file of 20,000 horses (about 58 MB), and a card of 2,000 races against
// 100,000 horses (about 288 MB), each written once into a temporary folder
// (which also serves as the program folder for written pages) and removed
// at exit.

#include "core/ports.h"
#include "support/jv_generator.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace zelkor::bench {

inline constexpr int kRaces = 36;
inline constexpr int kHorses = 20000;
inline constexpr int kBigRaces = 2000;
inline constexpr int kBigHorses = 100000;

class SilentPrompt : public UserPrompt {
  public:
    void doShowMessage(const std::string&, const std::string&) override { ++messages; }
    bool doAskYesNo(const std::string&, const std::string&) override { return false; }
    int messages = 0;
};

// Writes a generated race day into `folder` (ending in a separator): the
// race card "JracDen1.dat" of `races` races and the horse file
// "JracUmaj.dat" of `horses` horses.
inline bool writeRaceDay(const std::string& folder, int races, int horses) {
    test::JvRaceDay day = test::makeJvRaceDay(races, horses, 7);
    return test::writeJvRaceCard(folder + "JracDen1.dat", day.races) &&
           test::writeJvHorseFile(folder + "JracUmaj.dat", day.horses);
}

class RaceDayFiles {
  public:
    RaceDayFiles(int races, int horses) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zelkor-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        folder_ = pattern + "/";
        if (!writeRaceDay(folder_, races, horses))
            throw std::runtime_error("cannot write the race day");
    }
    ~RaceDayFiles() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    RaceDayFiles(const RaceDayFiles&) = delete;
    RaceDayFiles& operator=(const RaceDayFiles&) = delete;

    std::string raceCard() const { return folder_ + "JracDen1.dat"; }
    const std::string& folder() const { return folder_; }

  private:
    std::string folder_;
};

// The days of a benchmark run, each made on first use.
inline const RaceDayFiles& raceDay() {
    static const RaceDayFiles day(kRaces, kHorses);
    return day;
}
inline const RaceDayFiles& bigRaceCard() {
    static const RaceDayFiles day(kBigRaces, kBigHorses);
    return day;
}

} // namespace zelkor::bench
