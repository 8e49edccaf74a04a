// The achievement keeper: request, mirror and unlock.
#include "achievements/steam_achievements.h"

#include "platform/client_calls.h"
#include "text/trace.h"
#include "text/utf8_field.h"

namespace steambridge {

CSteamAchievements::CSteamAchievements(AchievementRow* rows, int rowCount)
    : userStatsReceived_(this, &CSteamAchievements::OnUserStatsReceived),
      userStatsStored_(this, &CSteamAchievements::OnUserStatsStored),
      achievementStored_(this, &CSteamAchievements::OnAchievementStored),
      appId_(0),
      rows_(rows),
      rowCount_(rowCount),
      received_(false) {
    userStatsReceived_.Register();
    userStatsStored_.Register();
    achievementStored_.Register();
    appId_ = client::GetAppID();
    Trace("Start");
    RequestStats();
}

CSteamAchievements::~CSteamAchievements() {
    achievementStored_.Unregister();
    userStatsStored_.Unregister();
    userStatsReceived_.Unregister();
}

bool CSteamAchievements::RequestStats() {
    Trace("CSteamAchievements::RequestStats()");
    if (!client::SteamUserStats() || !client::SteamUser()) {
        Trace("Steam not loaded");
        return false;
    }
    if (!client::BLoggedOn()) {
        Trace("User not logged in");
        return false;
    }
    Trace("Go for stats requests");
    return client::RequestCurrentStats();
}

bool CSteamAchievements::Unlock(const char* apiName) {
    if (!received_) return false;
    client::SetAchievement(apiName);
    return client::StoreStats();
}

bool CSteamAchievements::IsForThisApp(std::uint64_t gameId) const {
    return static_cast<std::uint32_t>(gameId) == appId_ && (gameId >> 32) == 0;
}

void CSteamAchievements::OnUserStatsReceived(UserStatsReceived_t* record) {
    Trace("stat rec a");
    if (!IsForThisApp(record->m_nGameID)) return;
    if (record->m_eResult != k_EResultOK) {
        TraceResult("RequestStats - failed, %d", record->m_eResult);
        return;
    }
    Trace("Received stats and achievements from Steam");
    received_ = true;
    for (int i = 0; i < rowCount_; ++i) {
        AchievementRow& row = rows_[i];
        client::GetAchievementAndUnlockTime(row.apiName, &row.achieved, &row.unlockTime);
        CopyUtf8Field(row.name, sizeof row.name,
                      client::GetAchievementDisplayAttribute(row.apiName, "name"));
        Trace(row.name);
        CopyUtf8Field(row.description, sizeof row.description,
                      client::GetAchievementDisplayAttribute(row.apiName, "desc"));
    }
}

void CSteamAchievements::OnUserStatsStored(UserStatsStored_t* record) {
    Trace("stat sto a");
    if (!IsForThisApp(record->m_nGameID)) return;
    if (record->m_eResult == k_EResultOK)
        Trace("Stored stats for Steam");
    else
        TraceResult("StatsStored - failed, %d", record->m_eResult);
}

void CSteamAchievements::OnAchievementStored(UserAchievementStored_t* record) {
    if (IsForThisApp(record->m_nGameID)) Trace("Stored Achievement for Steam");
}

}  // namespace steambridge
