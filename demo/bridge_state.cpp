// Snapshots of the bridge's answers and the differences between two of them.
#include "bridge_state.h"

#include "achievement_card.h"

BridgeState ReadBridgeState(const BridgeExports& steam) {
    BridgeState state;
    state.status = steam.steamStatus();
    state.achievementsCount = steam.steamAchievementsCount();
    state.boardFound = steam.steamLeaderBoardFound();
    AchievementCard card;
    for (int i = 0; i < kAchievementCount; ++i) {
        card.Fill(steam, i + 1, false);
        const AchievementInfo& info = card.info();
        AchievementState& achievement = state.achievements[i];
        achievement.achieved = info.achieved == 1;
        achievement.unlockTime = info.achieved == 1 ? info.unlockTime : 0;
        achievement.hasStat = info.hasStat == 1;
        achievement.statValue = info.hasStat == 1 ? info.statValue : 0;
    }
    return state;
}

std::vector<std::string> DescribeChanges(const BridgeExports& steam, const BridgeState& before,
                                         const BridgeState& after) {
    std::vector<std::string> lines;
    if (before.status != after.status) {
        lines.push_back(
            after.status == 1
                ? "the user's stats and achievements arrived from Steam (steamStatus 1, " +
                      std::to_string(after.achievementsCount) + " achievements)"
                : "the stats are no longer available (steamStatus 0)");
    }
    if (before.boardFound != after.boardFound) {
        lines.push_back(after.boardFound == 1
                            ? "the leaderboard was found (steamLeaderBoardFound 1)"
                            : "the current leaderboard was let go (steamLeaderBoardFound 0)");
    }
    AchievementCard card;
    for (int i = 0; i < kAchievementCount; ++i) {
        const AchievementState& was = before.achievements[i];
        const AchievementState& now = after.achievements[i];
        const bool stateChanged = was.achieved != now.achieved;
        const bool timeArrived = now.achieved && !stateChanged && was.unlockTime != now.unlockTime;
        const bool statChanged = now.hasStat && was.statValue != now.statValue;
        if (!stateChanged && !timeArrived && !statChanged) continue;
        card.Fill(steam, i + 1);
        if (statChanged) {
            lines.push_back(card.StatName() + ": " + std::to_string(was.statValue) + " -> " +
                            std::to_string(now.statValue) + " (of " +
                            std::to_string(card.info().statMax) + " for " + CardTitle(card) + ")");
        }
        if (stateChanged) {
            lines.push_back(CardTitle(card) + ": " +
                            (now.achieved ? CardState(card) : "locked again"));
        } else if (timeArrived) {
            lines.push_back(CardTitle(card) + ": unlock time now " + UtcDateTime(now.unlockTime));
        }
    }
    return lines;
}
