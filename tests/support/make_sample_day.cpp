// Writes the fictional race day of the bundled sample archive: a race card
// and a horse file in the JRA-VAN layouts, made by the test-data generator.
// scripts/make_sample_archive.sh packs them into resources/sample/.
//
// usage: zelkor_make_sample_day OUTPUT_FOLDER [RACES HORSES]
// (a day of RACES races against HORSES horses, for timing whole commands)

#include "support/jv_generator.h"
#include "support/jvdata_generator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fputs("usage: zelkor_make_sample_day OUTPUT_FOLDER [RACES HORSES]\n", stderr);
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(argv[1], ec);
    const std::string folder = std::string(argv[1]) + "/";

    zelkor::test::JvRaceDay day;
    if (argc == 4) {
        day = zelkor::test::makeJvRaceDay(std::atoi(argv[2]), std::atoi(argv[3]), 7);
    } else {
        // The last day of a lifelike autumn season of three racecourses, on a
        // Saturday in January: its 36 races as cards, every runner with the
        // runs of the season before (新馬 runners with none).
        zelkor::test::JvdSeasonPlan plan;
        plan.firstDate = 20250906;
        plan.days = 37; // 18 weekends, then Saturday 10 January 2026
        plan.coursesPerDay = 3;
        plan.horses = 2600;
        plan.stages = false;
        plan.market = true;
        plan.lifelike = true;
        plan.seed = 2026;
        zelkor::test::JvdDay season;
        std::ostream discard(nullptr);
        const auto stats = zelkor::test::writeJvdSeason(discard, plan, &season);
        // The card as it stood before the day: nobody scratched yet.
        for (zelkor::test::JvdRaceEntry& entry : season.races)
            if (entry.race.key.date() == stats.dates.back())
                for (zelkor::test::JvdRunner& runner : entry.runners)
                    runner.abnormal = 0;
        day = zelkor::test::jvdArchiveDay(season, stats.dates.back());
    }
    if (!zelkor::test::writeJvRaceCard(folder + "JracDen1.dat", day.races) ||
        !zelkor::test::writeJvHorseFile(folder + "JracUmaj.dat", day.horses)) {
        std::fprintf(stderr, "cannot write the sample day into %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu races, %zu horses written to %s\n", day.races.size(), day.horses.size(),
                argv[1]);
    return 0;
}
