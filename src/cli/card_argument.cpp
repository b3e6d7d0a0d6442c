#include "cli/card_argument.h"

#include "jv/archive_intake.h"

namespace zelkor::cli {

bool openCardArgument(const Arguments& parsed, const std::string& programFolder,
                      TerminalPrompt& prompt, JvRaceCard& card) {
    prompt.answer("調教師データ", parsed.flag("--update-trainers"));
    prompt.answer("騎手データ", parsed.flag("--update-jockeys"));
    return parsed.positional().size() == 1 &&
           openJvCard(parsed.positional()[0], programFolder, card, prompt);
}

} // namespace zelkor::cli
