// The game's 61 achievements, mirrored from Steam.
#pragma once

#include <cstdint>

namespace steambridge {

constexpr int kAchievementCount = 61;

struct AchievementRow {
    std::int32_t id;      // number of the row (position + 1); never read
    const char* apiName;  // ACH_ and upper-case letters
    // The game's own title until the stats arrive, then Steam's UTF-8
    // display name.
    char name[128];
    char description[256];  // empty until the stats arrive
    bool achieved;
    std::uint32_t unlockTime;  // seconds since 1970, as Steam reports it
};

// The table lives for the whole process; rows are addressed by position.
AchievementRow* AchievementTable();

}  // namespace steambridge
