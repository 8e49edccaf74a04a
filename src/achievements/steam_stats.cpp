// The stat keeper: mirror, push, recover from refused values.
#include "achievements/steam_stats.h"

#include "achievements/achievement_table.h"
#include "bridge/module_state.h"
#include "bridge/trace.h"
#include "platform/client_calls.h"

namespace steambridge {

CSteamStats::CSteamStats(StatRow* rows, int rowCount)
    : gameId_(0),
      rows_(rows),
      rowCount_(rowCount),
      received_(false),
      userStatsReceived_(this, &CSteamStats::OnUserStatsReceived),
      userStatsStored_(this, &CSteamStats::OnUserStatsStored) {
    userStatsReceived_.Register();
    userStatsStored_.Register();
    gameId_ = GameIdOfApp(client::GetAppID());
    if (client::SteamUserStats() && client::SteamUser() && client::BLoggedOn())
        client::RequestCurrentStats();
}

CSteamStats::~CSteamStats() {
    userStatsStored_.Unregister();
    userStatsReceived_.Unregister();
}

bool CSteamStats::StoreStats() {
    if (!received_) return false;
    for (int i = 0; i < rowCount_; ++i) {
        StatRow& row = rows_[i];
        switch (row.kind) {
            case StatKind::Int:
                client::SetStatInt32(row.apiName, row.intValue);
                break;
            case StatKind::Float:
                client::SetStatFloat(row.apiName, row.floatValue);
                break;
            case StatKind::AvgRate:
                client::UpdateAvgRateStat(row.apiName, row.avgNumerator,
                                          static_cast<double>(row.avgDenominator));
                client::GetStatFloat(row.apiName, &row.floatValue);
                break;
        }
    }
    return client::StoreStats();
}

void CSteamStats::OnUserStatsReceived(UserStatsReceived_t* record) {
    Trace(TraceId::StatsReceived);
    if (record->m_nGameID == gameId_) {
        if (record->m_eResult == k_EResultOK) {
            Trace(TraceId::StatsArrived);
            for (int i = 0; i < rowCount_; ++i) {
                StatRow& row = rows_[i];
                switch (row.kind) {
                    case StatKind::Int:
                        client::GetStatInt32(row.apiName, &row.intValue);
                        break;
                    case StatKind::Float:
                    case StatKind::AvgRate:
                        client::GetStatFloat(row.apiName, &row.floatValue);
                        break;
                }
            }
            received_ = true;
        } else {
            Trace(TraceId::RequestStatsFailed, record->m_eResult);
        }
    }
    Trace(TraceId::StatsReceivedOk);
}

void CSteamStats::OnUserStatsStored(UserStatsStored_t* record) {
    Trace(TraceId::StatsStored);
    if (record->m_nGameID != gameId_) return;
    switch (record->m_eResult) {
        case k_EResultOK:
            Trace(TraceId::StoreStatsSuccess);
            break;
        case k_EResultInvalidParam: {
            // Steam refused some values: read every stat back so the local
            // table holds what Steam kept.
            Trace(TraceId::StoreStatsInvalid);
            UserStatsReceived_t readBack{};
            readBack.m_nGameID = gameId_;
            readBack.m_eResult = k_EResultOK;
            readBack.m_steamIDUser.Set(0);
            OnUserStatsReceived(&readBack);
            break;
        }
        default:
            Trace(TraceId::StoreStatsFailed, record->m_eResult);
            break;
    }
    RefreshUnconfirmedAchievements();
}

void CSteamStats::RefreshUnconfirmedAchievements() {
    if (!Module().achievements) return;
    AchievementRow* rows = AchievementTable();
    for (int i = 0; i < kAchievementCount; ++i) {
        AchievementRow& row = rows[i];
        if (!row.achieved || row.unlockTime == 0)
            client::GetAchievementAndUnlockTime(row.apiName, &row.achieved, &row.unlockTime);
    }
}

}  // namespace steambridge
