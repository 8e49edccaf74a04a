// The game's 24 stats, mirrored from Steam, and the achievement each one
// measures progress towards.
#pragma once

#include <cstdint>

#include "steambridge.h"

namespace steambridge {

constexpr int kStatCount = STEAMBRIDGE_STAT_COUNT;

enum class StatKind : std::int32_t { Int = 0, Float = 1, AvgRate = 2 };

struct StatRow {
    std::int32_t id;  // index of the row; never read
    StatKind kind;
    const char* apiName;  // STAT_ and upper-case letters
    std::int32_t intValue;
    float floatValue;
    float avgNumerator;     // AvgRate: the count to add to the average
    float avgDenominator;   // AvgRate: the time over which it was gathered
    std::int32_t maxValue;  // the target, the top of the progress range
};

StatRow* StatTable();

struct StatLink {
    int achievementNumber;  // 1 to 61
    int statIndex;          // 0 to 23
};

struct StatLinks {
    static constexpr int kCount = 24;
    StatLink pairs[kCount];

    // The linked stat's index, or -1 when the achievement has none.
    int StatFor(int achievementNumber) const;
};

// Fills `links` with the game's 24 pairs.
void FillStatLinks(StatLinks& links);

}  // namespace steambridge
