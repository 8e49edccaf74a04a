// CSteamAchievements: keeps the achievement table in step with Steam.
#pragma once

#include "achievements/achievement_table.h"
#include "platform/callback_holders.h"

namespace steambridge {

class CSteamAchievements {
public:
    // Registers the handlers and asks Steam for the user's stats.
    CSteamAchievements(AchievementRow* rows, int rowCount);
    ~CSteamAchievements();
    CSteamAchievements(const CSteamAchievements&) = delete;
    CSteamAchievements& operator=(const CSteamAchievements&) = delete;

    // Asks Steam for the user's stats; false when Steam or the user is not
    // there to ask.
    bool RequestStats();
    // Sets the achievement on Steam and stores; false before the stats have
    // arrived, else what the store answered.
    bool Unlock(const char* apiName);
    bool IsReceived() const { return received_; }

private:
    void OnUserStatsReceived(UserStatsReceived_t* record);
    void OnUserStatsStored(UserStatsStored_t* record);
    void OnAchievementStored(UserAchievementStored_t* record);
    bool IsForThisApp(std::uint64_t gameId) const;

    CCallback<CSteamAchievements, UserStatsReceived_t> userStatsReceived_;
    CCallback<CSteamAchievements, UserStatsStored_t> userStatsStored_;
    CCallback<CSteamAchievements, UserAchievementStored_t> achievementStored_;
    AppId_t appId_;
    AchievementRow* rows_;
    int rowCount_;
    bool received_;
};

}  // namespace steambridge
