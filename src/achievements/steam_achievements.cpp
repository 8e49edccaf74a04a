// The achievement keeper: request, mirror and unlock.
#include "achievements/steam_achievements.h"

#include "bridge/trace.h"
#include "platform/client_calls.h"
#include "text/text_copy.h"

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
    Trace(TraceId::AchievementsStart);
    RequestStats();
}

CSteamAchievements::~CSteamAchievements() {
    achievementStored_.Unregister();
    userStatsStored_.Unregister();
    userStatsReceived_.Unregister();
}

bool CSteamAchievements::RequestStats() {
    Trace(TraceId::RequestStats);
    if (!client::SteamUserStats() || !client::SteamUser()) {
        Trace(TraceId::SteamNotLoaded);
        return false;
    }
    if (!client::BLoggedOn()) {
        Trace(TraceId::UserNotLoggedIn);
        return false;
    }
    Trace(TraceId::GoForStatsRequests);
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
    Trace(TraceId::AchievementsStatsReceived);
    if (!IsForThisApp(record->m_nGameID)) return;
    if (record->m_eResult != k_EResultOK) {
        Trace(TraceId::RequestStatsFailed, record->m_eResult);
        return;
    }
    Trace(TraceId::StatsArrived);
    received_ = true;
    for (int i = 0; i < rowCount_; ++i) {
        AchievementRow& row = rows_[i];
        client::GetAchievementAndUnlockTime(row.apiName, &row.achieved, &row.unlockTime);
        CopyUtf8Field(row.name, sizeof row.name,
                      client::GetAchievementDisplayAttribute(row.apiName, "name"));
        TraceDetail(row.name);
        CopyUtf8Field(row.description, sizeof row.description,
                      client::GetAchievementDisplayAttribute(row.apiName, "desc"));
    }
}

void CSteamAchievements::OnUserStatsStored(UserStatsStored_t* record) {
    Trace(TraceId::AchievementsStatsStored);
    if (!IsForThisApp(record->m_nGameID)) return;
    if (record->m_eResult == k_EResultOK)
        Trace(TraceId::StoredStats);
    else
        Trace(TraceId::StatsStoredFailed, record->m_eResult);
}

void CSteamAchievements::OnAchievementStored(UserAchievementStored_t* record) {
    if (IsForThisApp(record->m_nGameID)) Trace(TraceId::AchievementStored);
}

}  // namespace steambridge
