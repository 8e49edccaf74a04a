// The game's 61 achievements, mirrored from Steam.
#pragma once

#include <cstdint>

#include "steambridge.h"

namespace steambridge {

constexpr int kAchievementCount = STEAMBRIDGE_ACHIEVEMENT_COUNT;

struct AchievementRow {
    std::int32_t id;      // number of the row (position + 1); never read
    const char* apiName;  // ACH_ and upper-case letters
    // The game's own title until the stats arrive, then Steam's UTF-8
    // display name. A UTF-8 text never has more UTF-16 units than bytes, so
    // each text fits the host's buffer of the same size.
    char name[STEAMBRIDGE_NAME_UNITS];
    char description[STEAMBRIDGE_DESCRIPTION_UNITS];  // empty until the stats arrive
    bool achieved;
    std::uint32_t unlockTime;  // seconds since 1970, as Steam reports it
};

// The table lives for the whole process; rows are addressed by position.
AchievementRow* AchievementTable();

}  // namespace steambridge
