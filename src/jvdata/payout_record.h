#pragma once

#include "core/payouts.h"

#include <string_view>

namespace zelkor {

// The payouts of a race from its payout record (HR body, newest version)
// and the sale flags of its odds record (O1 body; empty when there is none
// or it is cancelled). A payout record of kind 9 means the race was
// cancelled. Fields without digits read 0; slots that hold nothing are left
// out.
RacePayouts payoutsFromRecords(std::string_view hr, std::string_view o1);

} // namespace zelkor
