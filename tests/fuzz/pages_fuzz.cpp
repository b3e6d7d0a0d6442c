// A race card and its horse file, through the loader into the race sheet and
// through every page writer: the sheet page, the sports page, the three
// newspaper editions and the predict-all set. The input is the race card,
// the line "JracUmaj.dat", then the horse file. A loaded race must also
// save as a prediction file that opens again as the same race.

#include "archive/archive_race_source.h"
#include "core/prediction_file.h"
#include "core/scoring.h"
#include "core/settings.h"
#include "fuzz_support.h"
#include "html/newspaper_edition.h"
#include "html/predict_all.h"
#include "html/race_sheet_page.h"
#include "html/sports_page.h"
#include "race/race_card.h"
#include "race/race_loader.h"
#include "support/recording_prompt.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

namespace {

constexpr std::string_view kSeparator = "JracUmaj.dat\n";
constexpr int kRacesPerInput = 3;

void checkSavedRaceOpensAgain(const zelkor::RaceSheet& sheet) {
    using namespace zelkor;
    test::RecordingPrompt prompt;
    const std::string path = fuzz::scratchFolder() + "race.zel";
    ZELKOR_FUZZ_CHECK(writePredictionFile(sheet, path, prompt));
    RaceSheet opened;
    ZELKOR_FUZZ_CHECK(readPredictionFile(opened, path, prompt));
    ZELKOR_FUZZ_CHECK(predictionFileText(opened) == predictionFileText(sheet));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace zelkor;
    const std::string_view input = fuzz::bytesOf(data, size);
    const size_t cut = input.find(kSeparator);
    const std::string_view card = input.substr(0, cut);
    const std::string_view horses =
        cut == std::string_view::npos ? std::string_view() : input.substr(cut + kSeparator.size());
    const std::string folder = fuzz::scratchFolder();
    const std::string cardPath = fuzz::scratchFile("JracDen1.dat", card);
    fuzz::scratchFile("JracUmaj.dat", horses);
    forgetJvFileIndexes(); // the files changed within the time stamp's resolution

    AppSettings settings = defaultSettings();
    settings.sportsShowImages = settings.sportsLinkNames = 1;
    settings.paperShowImages = settings.paperLinkNames = 1;
    std::tm day{};
    day.tm_year = 101;
    day.tm_mday = 16;

    test::RecordingPrompt prompt;
    ArchiveRaceSource source(cardPath, folder);
    const int count = source.raceCount(prompt);
    for (int n = 1; n <= std::min(count, kRacesPerInput); ++n) {
        JvRaceCard race;
        if (!source.readRace(race, n, prompt))
            continue;
        RaceSheet sheet;
        loadJvRace(sheet, race, source, prompt);
        checkSavedRaceOpensAgain(sheet);
        buildRaceSheetPage(sheet, settings, folder);
        scoreRace(sheet);
        buildSportsPage(sheet, settings, folder, day);
        for (NewspaperEdition edition : {NewspaperEdition::Simple, NewspaperEdition::Detailed,
                                         NewspaperEdition::WithPastResults})
            buildNewspaper(edition, race, source, settings, folder, prompt);
    }
    if (count >= 1 && count <= kRacesPerInput) {
        fuzz::NoProgress progress;
        fuzz::NoShell shell;
        static_cast<void>(predictAll({source, settings, folder, prompt, progress, shell}, day));
        std::error_code ec;
        std::filesystem::remove_all(folder + "HTML", ec);
    }
    return 0;
}
