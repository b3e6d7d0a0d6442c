// Writes the invented JV-Data season of resources/sample: race records of
// a few months with the horses that run in them. Nothing in it is real.

#include "support/jvdata_generator.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    zelkor::test::JvdSeasonPlan plan;
    plan.firstDate = 20250104; // a Saturday
    plan.days = 12;            // six weekends, January to March
    plan.weeksBetween = 2;
    plan.coursesPerDay = 2;
    plan.horses = 1800;
    plan.stages = false;
    plan.market = true;
    plan.lifelike = true;
    const auto stats = zelkor::test::writeJvdSeason(out, plan);
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%lld records, %lld bytes, race days %d..%d\n", stats.records, stats.bytes,
                stats.dates.front(), stats.dates.back());
    return 0;
}
