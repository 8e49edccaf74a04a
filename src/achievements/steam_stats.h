// CSteamStats: keeps the stat table in step with Steam.
#pragma once

#include "achievements/stat_table.h"
#include "platform/callback_holders.h"

namespace steambridge {

class CSteamStats {
public:
    // Registers the handlers and, when the user is logged on, asks Steam for
    // the user's stats.
    CSteamStats(StatRow* rows, int rowCount);
    ~CSteamStats();
    CSteamStats(const CSteamStats&) = delete;
    CSteamStats& operator=(const CSteamStats&) = delete;

    // Sends every stat and stores; false before the stats have arrived (then
    // nothing is sent), else what the store answered.
    bool StoreStats();
    bool IsReceived() const { return received_; }

private:
    void OnUserStatsReceived(UserStatsReceived_t* record);
    void OnUserStatsStored(UserStatsStored_t* record);
    // Picks up achievements that Steam now reports unlocked, or whose unlock
    // time we do not know yet.
    void RefreshUnconfirmedAchievements();

    std::uint64_t gameId_;
    StatRow* rows_;
    int rowCount_;
    bool received_;
    CCallback<CSteamStats, UserStatsReceived_t> userStatsReceived_;
    CCallback<CSteamStats, UserStatsStored_t> userStatsStored_;
};

}  // namespace steambridge
