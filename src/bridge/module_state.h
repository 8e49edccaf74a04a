// The process-wide registry of what steamInit made.
#pragma once

namespace steambridge {

class CSteamAchievements;
class CSteamStats;
class CSteamLeaderboards;
struct StatLinks;

// Zero at load; steamFree brings it back to zero, so every export answers
// as not ready before steamInit and after steamFree.
struct ModuleState {
    bool loaded;
    CSteamAchievements* achievements;
    CSteamStats* stats;
    CSteamLeaderboards* leaderboards;
    StatLinks* links;
};

ModuleState& Module();

}  // namespace steambridge
