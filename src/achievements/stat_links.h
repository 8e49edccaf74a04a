// Which achievement each stat measures progress towards.
#pragma once

namespace steambridge {

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
