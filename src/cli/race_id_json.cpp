#include "cli/race_id_json.h"

namespace zelkor::cli {

Json raceIdJson(const PastRaceId& id) {
    return {
        {"year", id.year},       {"monthDay", id.monthDay},     {"courseCode", utf8(id.courseCode)},
        {"meeting", id.meeting}, {"meetingDay", id.meetingDay}, {"raceNumber", id.raceNumber}};
}

} // namespace zelkor::cli
