#include "race/race_card.h"

#include "race/code_tables.h"

namespace zelkor {

const JvRunner& JvRaceCard::runner(int k) const {
    static const JvRunner kNone;
    return k >= 1 && k <= kJvMaxRunners ? runners[static_cast<size_t>(k - 1)] : kNone;
}

void nameOrdinaryRace(JvRaceCard& card) {
    if (!card.raceName.empty())
        return;
    size_t group = 2;
    switch (card.kindCode) {
    case 11:
    case 21:
        group = 0;
        break;
    case 12:
    case 13:
    case 18:
    case 22:
    case 23:
        group = 1;
        break;
    default:
        break;
    }
    card.raceName = card.kindText;
    if (card.conditionCodes[group] != 0)
        card.raceName += card.conditionTexts[group];
}

} // namespace zelkor
