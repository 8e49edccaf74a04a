// The game's stat-to-achievement pairs.
#include "achievements/stat_links.h"

namespace steambridge {
namespace {

// By stat index: the achievement number each stat leads to.
constexpr int kLinkedAchievement[StatLinks::kCount] = {
    1, 2, 3, 8, 11, 14, 17, 18, 23, 25, 26, 28, 29, 30, 31, 33, 36, 38, 40, 41, 42, 43, 53, 61,
};

}  // namespace

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
