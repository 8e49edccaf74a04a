// The stat table (all integer stats, each with its target) and the game's
// stat-to-achievement pairs.
#include "achievements/stat_table.h"

namespace steambridge {
namespace {

StatRow g_stats[kStatCount] = {
    {0, StatKind::Int, "STAT_LEVELS", 0, 0.0f, 0.0f, 0.0f, 50},
    {1, StatKind::Int, "STAT_COINS", 0, 0.0f, 0.0f, 0.0f, 30000},
    {2, StatKind::Int, "STAT_ENEMIES", 0, 0.0f, 0.0f, 0.0f, 200},
    {3, StatKind::Int, "STAT_JUMPS", 0, 0.0f, 0.0f, 0.0f, 500},
    {4, StatKind::Int, "STAT_SECRETS", 0, 0.0f, 0.0f, 0.0f, 30},
    {5, StatKind::Int, "STAT_SCORE", 0, 0.0f, 0.0f, 0.0f, 5000000},
    {6, StatKind::Int, "STAT_BOSSES", 0, 0.0f, 0.0f, 0.0f, 10},
    {7, StatKind::Int, "STAT_GEMS", 0, 0.0f, 0.0f, 0.0f, 500},
    {8, StatKind::Int, "STAT_PERFECTRUNS", 0, 0.0f, 0.0f, 0.0f, 10},
    {9, StatKind::Int, "STAT_SPEEDRUNS", 0, 0.0f, 0.0f, 0.0f, 10},
    {10, StatKind::Int, "STAT_PACIFISTRUNS", 0, 0.0f, 0.0f, 0.0f, 10},
    {11, StatKind::Int, "STAT_DISTANCE", 0, 0.0f, 0.0f, 0.0f, 5000000},
    {12, StatKind::Int, "STAT_POTIONS", 0, 0.0f, 0.0f, 0.0f, 500},
    {13, StatKind::Int, "STAT_KEYS", 0, 0.0f, 0.0f, 0.0f, 20},
    {14, StatKind::Int, "STAT_MAPS", 0, 0.0f, 0.0f, 0.0f, 15},
    {15, StatKind::Int, "STAT_ENDINGS", 0, 0.0f, 0.0f, 0.0f, 3},
    {16, StatKind::Int, "STAT_PETS", 0, 0.0f, 0.0f, 0.0f, 30},
    {17, StatKind::Int, "STAT_FISH", 0, 0.0f, 0.0f, 0.0f, 40},
    {18, StatKind::Int, "STAT_CHESTS", 0, 0.0f, 0.0f, 0.0f, 150},
    {19, StatKind::Int, "STAT_COMBOS", 0, 0.0f, 0.0f, 0.0f, 200},
    {20, StatKind::Int, "STAT_DEATHS", 0, 0.0f, 0.0f, 0.0f, 100},
    {21, StatKind::Int, "STAT_QUESTS", 0, 0.0f, 0.0f, 0.0f, 30},
    {22, StatKind::Int, "STAT_RELICS", 0, 0.0f, 0.0f, 0.0f, 20},
    {23, StatKind::Int, "STAT_TROPHIES", 0, 0.0f, 0.0f, 0.0f, 15},
};

// By stat index: the achievement number each stat leads to.
constexpr int kLinkedAchievement[StatLinks::kCount] = {
    1, 2, 3, 8, 11, 14, 17, 18, 23, 25, 26, 28, 29, 30, 31, 33, 36, 38, 40, 41, 42, 43, 53, 61,
};

}  // namespace

StatRow* StatTable() { return g_stats; }

void FillStatLinks(StatLinks& links) {
    for (int stat = 0; stat < StatLinks::kCount; ++stat)
        links.pairs[stat] = StatLink{kLinkedAchievement[stat], stat};
}

int StatLinks::StatFor(int achievementNumber) const {
    for (const StatLink& link : pairs)
        if (link.achievementNumber == achievementNumber) return link.statIndex;
    return -1;
}

}  // namespace steambridge
