// Writes the fictional race day of the bundled sample archive: a race card
// and a horse file in the JRA-VAN layouts, made by the test-data generator.
// scripts/make_sample_archive.sh packs them into resources/sample/.
//
// usage: zelkor_make_sample_day OUTPUT_FOLDER [RACES HORSES]
// (a day of RACES races against HORSES horses, for timing whole commands)

#include "support/jv_generator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fputs("usage: zelkor_make_sample_day OUTPUT_FOLDER [RACES HORSES]\n", stderr);
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(argv[1], ec);
    const std::string folder = std::string(argv[1]) + "/";

    // Three racecourses of twelve races; 600 horses leave some that do not
    // run that day, as a real horse file has.
    if (argc == 4) {
        const zelkor::test::JvRaceDay big =
            zelkor::test::makeJvRaceDay(std::atoi(argv[2]), std::atoi(argv[3]), 7);
        return zelkor::test::writeJvRaceCard(folder + "JracDen1.dat", big.races) &&
                       zelkor::test::writeJvHorseFile(folder + "JracUmaj.dat", big.horses)
                   ? 0
                   : 1;
    }
    zelkor::test::JvRaceDay day = zelkor::test::makeJvRaceDay(36, 600, 2026);
    // Runs that share races, so the past races can be rebuilt from the file.
    zelkor::test::shareJvHistories(day.horses, 9.0, 2026);
    if (!zelkor::test::writeJvRaceCard(folder + "JracDen1.dat", day.races) ||
        !zelkor::test::writeJvHorseFile(folder + "JracUmaj.dat", day.horses)) {
        std::fprintf(stderr, "cannot write the sample day into %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu races, %zu horses written to %s\n", day.races.size(), day.horses.size(),
                argv[1]);
    return 0;
}
