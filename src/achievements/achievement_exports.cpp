// steamAchievement, steamAchievementsOverlay and steamResetAchievements.
#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "achievements/steam_achievements.h"
#include "bridge/module_state.h"
#include "platform/client_calls.h"
#include "steambridge.h"

using namespace steambridge;

extern "C" {

STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamAchievement(int32_t number) {
    CSteamAchievements* achievements = Module().achievements;
    if (!achievements || number < 1 || number > kAchievementCount) return false;
    AchievementRow& row = AchievementTable()[number - 1];
    const bool stored = achievements->Unlock(row.apiName);
    // The unlock time arrives with the next answered store.
    if (stored) row.achieved = true;
    return stored;
}

STEAMBRIDGE_API void STEAMBRIDGE_CALL steamAchievementsOverlay(void) {
    if (Module().achievements) client::ActivateGameOverlay("Achievements");
}

STEAMBRIDGE_API void STEAMBRIDGE_CALL steamResetAchievements(void) {
    if (!Module().achievements) return;
    client::ResetAllStats(true);
    // The unlock time goes with the state: a time kept on a locked row would
    // be reported again, stale, once the achievement is unlocked anew (the
    // refresh after a store skips rows that have one). Texts and average
    // fields stay.
    AchievementRow* achievements = AchievementTable();
    for (int i = 0; i < kAchievementCount; ++i) {
        achievements[i].achieved = false;
        achievements[i].unlockTime = 0;
    }
    StatRow* stats = StatTable();
    for (int i = 0; i < kStatCount; ++i) {
        stats[i].floatValue = 0.0f;
        stats[i].intValue = 0;
    }
}

}  // extern "C"
