#include "support/season_store.h"

#include "store/jvdata_store.h"
#include "support/recording_prompt.h"
#include "support/silent_progress.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zelkor::test {

std::string seasonRecords(const JvdSeasonPlan& plan, JvdSeasonStats* stats) {
    std::ostringstream out;
    const JvdSeasonStats written = writeJvdSeason(out, plan);
    if (stats != nullptr)
        *stats = written;
    return out.str();
}

bool importRecords(const std::string& records, const std::string& storePath,
                   const std::function<std::string(std::string record)>& edit) {
    std::string kept;
    for (size_t start = 0; start < records.size();) {
        size_t end = records.find("\r\n", start);
        if (end == std::string::npos)
            end = records.size();
        std::string record = records.substr(start, end - start);
        if (edit)
            record = edit(std::move(record));
        if (!record.empty())
            kept += record + "\r\n";
        start = end + 2;
    }
    const std::filesystem::path file =
        std::filesystem::path(storePath).parent_path() / "season.jvd";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << kept;
    ImportSummary summary;
    RecordingPrompt prompt;
    SilentProgress progress;
    return importJvData({file.string()}, storePath, summary, prompt, progress);
}

} // namespace zelkor::test
