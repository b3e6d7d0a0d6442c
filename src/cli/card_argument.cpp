#include "cli/card_argument.h"

#include "archive/archive_intake.h"
#include "archive/archive_race_source.h"
#include "store/jvdata_store.h"

#include <algorithm>

namespace zelkor::cli {

const Option kCardOperand = {
    "CARD", nullptr,
    "JRA-VAN の圧縮ファイル (.lzh)、または JracUmaj.dat と同じフォルダにある出馬表 "
    "(JracDen1.dat)。圧縮ファイルはプログラムフォルダの JRA-VAN フォルダに解凍されます"};
const Option kDateOption = {"--date", "YYYYMMDD",
                            "CARD のかわりに、取り込んだ JV-Data のこの日のレース (import を参照)"};
const Option kUpdateTrainersOption = {
    "--update-trainers", nullptr, "圧縮ファイルの調教師データを KTDAT に保存します (既定: しない)"};
const Option kUpdateJockeysOption = {
    "--update-jockeys", nullptr, "圧縮ファイルの騎手データを KTDAT に保存します (既定: しない)"};
const Option kJsonOption = {"--json", nullptr, "結果を JSON で出力します"};

bool openCardArgument(const Arguments& parsed, const std::string& programFolder,
                      TerminalPrompt& prompt, JvRaceCard& card) {
    prompt.answer("調教師データ", parsed.flag("--update-trainers"));
    prompt.answer("騎手データ", parsed.flag("--update-jockeys"));
    return parsed.positional().size() == 1 &&
           openJvCard(parsed.positional()[0], programFolder, card, prompt);
}

std::unique_ptr<RaceSource>
openRaceSource(const Arguments& parsed, const std::string& programFolder, TerminalPrompt& prompt) {
    if (const std::optional<std::string> date = parsed.value("--date")) {
        const bool digits =
            date->size() == 8 &&
            std::all_of(date->begin(), date->end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) {
            fail("--date には年月日を YYYYMMDD の形で指定してください");
            return nullptr;
        }
        auto day = openStoreDay(jvStorePath(programFolder), std::stoi(*date));
        if (!day) {
            prompt.showMessage(day.message());
            return nullptr;
        }
        return std::move(day).value();
    }
    JvRaceCard card;
    if (!openCardArgument(parsed, programFolder, prompt, card))
        return nullptr;
    return std::make_unique<ArchiveRaceSource>(card.raceCardPath, programFolder);
}

} // namespace zelkor::cli
