// The game's 24 stats, mirrored from Steam.
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

}  // namespace steambridge
