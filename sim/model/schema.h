// The game's achievements and stats as the simulated client knows them.
#pragma once

#include <cstdint>

namespace steam_sim {

struct AchievementDefinition {
    const char* apiName;
    const char* displayName;
    const char* description;
    bool hidden;
};

struct StatDefinition {
    const char* apiName;
    int linkedAchievementNumber;  // 1-based, as the game numbers them
    int32_t target;               // reaching it unlocks the linked achievement
};

constexpr int kAchievementCount = 61;
constexpr int kStatCount = 24;

// Indexes are 0-based: achievement number N is index N - 1.
const AchievementDefinition& achievementDefinition(int index);
const StatDefinition& statDefinition(int index);
// -1 when the name is not in the schema (names compare exactly).
int achievementIndex(const char* apiName);
int statIndex(const char* apiName);

}  // namespace steam_sim
