// What Steam's server knows beyond the user's own stats, as the scenario
// gives it: the share of players holding each achievement, other users'
// stats and achievements, the aggregated (global) stats with their daily
// history, and the number of players. Each is fetched by a call whose answer
// comes as a call result, and is readable only once that answer was handed
// to the game, as on Steam. Callers hold the ModelGuard.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "schema.h"

namespace offline_steam {

class GlobalStats {
public:
    // Nothing fetched, for the scenario in force.
    void Reset();
    // A new session has fetched nothing yet; call handles are never reused.
    void BeginSession();

    // ---- global achievement percentages (RequestGlobalAchievementPercentages)
    // Each request returns the call handle of its queued answer.
    uint64_t RequestPercentages();
    // An answer was handed over (OK or not); with k_EResultOK there is data.
    bool PercentagesAnswered() const { return percentagesAnswered_; }
    bool PercentagesReady() const { return percentagesReady_; }
    // The achievement (schema index) at `position` from the most achieved
    // (0), -1 when there is none there or no data.
    int AchievementByRank(int position) const;
    // The achievement's global percentage, false without data for it.
    bool PercentOf(int achievementIndex, float* percent) const;

    // ---- a user's stats (RequestUserStats): the user's own or another's
    struct UserStats {
        std::vector<double> stats;  // by stat index
        std::vector<bool> achieved;
        std::vector<uint32_t> unlockTimes;
    };
    uint64_t RequestUserStats(uint64_t steamId);
    bool UserAnswered(uint64_t steamId) const { return answeredUsers_.count(steamId) != 0; }
    // Null until that user's stats arrived with k_EResultOK.
    const UserStats* ReceivedUser(uint64_t steamId) const;

    // ---- global stats (RequestGlobalStats)
    uint64_t RequestGlobalStats(int historyDays);
    bool GlobalStatsAnswered() const { return globalAnswered_; }
    bool GlobalStatsReady() const { return globalReady_; }
    // Null for a stat without global figures, or before they arrived.
    const GlobalStat* GlobalStatNamed(const char* name) const;
    // The days of history the answered request asked for (0..60).
    int HistoryDays() const { return historyDays_; }

    // ---- the number of players (GetNumberOfCurrentPlayers)
    uint64_t RequestCurrentPlayers();

private:
    uint64_t NextCallHandle();
    void NotePercentages(bool ok) {
        percentagesAnswered_ = true;
        percentagesReady_ = ok;
    }
    void NoteUser(uint64_t steamId, bool ok);
    void NoteGlobalStats(bool ok, int historyDays);

    bool percentagesAnswered_ = false;
    bool percentagesReady_ = false;
    std::vector<int> byPercent_;  // achievement indexes with a percentage, most achieved first
    std::map<uint64_t, UserStats> users_;
    std::set<uint64_t> answeredUsers_;
    bool globalAnswered_ = false;
    bool globalReady_ = false;
    int historyDays_ = 0;
    uint64_t lastCallHandle_ = 0;
};

GlobalStats& TheGlobalStats();

}  // namespace offline_steam
