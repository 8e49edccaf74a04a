// Snapshots of what the host can see of the bridge, and their differences in words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host_support/bridge_library.h"

constexpr int kAchievementCount = STEAMBRIDGE_ACHIEVEMENT_COUNT;

struct AchievementState {
    bool achieved = false;
    uint32_t unlockTime = 0;
    bool hasStat = false;
    int32_t statValue = 0;
};

struct BridgeState {
    int32_t status = 0;
    int32_t achievementsCount = 0;
    int32_t boardFound = 0;
    AchievementState achievements[kAchievementCount];
};

// Reads through the exports that never call Steam (and steamStatus).
BridgeState ReadBridgeState(const BridgeExports& steam);

// One line per change from `before` to `after`, in words.
std::vector<std::string> DescribeChanges(const BridgeExports& steam, const BridgeState& before,
                                         const BridgeState& after);
