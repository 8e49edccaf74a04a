// Client exports of ISteamUserStats for leaderboards.
#include <cstdint>

#include "call_line.h"
#include "client_export.h"
#include "interfaces.h"
#include "leaderboards.h"
#include "sim_lock.h"

using namespace steam_sim;

SIM_CLIENT_EXPORT uint64_t SteamAPI_ISteamUserStats_FindOrCreateLeaderboard(void* self,
                                                                            const char* name,
                                                                            int sortMethod,
                                                                            int displayType) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_FindOrCreateLeaderboard")
        .text(name)
        .integer(sortMethod)
        .integer(displayType)
        .log();
    if (!isLiveInterface(self, InterfaceKind::UserStats)) return 0;
    return leaderboards().findOrCreate(name, sortMethod, displayType);
}

SIM_CLIENT_EXPORT uint64_t SteamAPI_ISteamUserStats_UploadLeaderboardScore(
    void* self, uint64_t board, int uploadMethod, int32_t score, const int32_t* details,
    int detailCount) {
    SimGuard guard;
    CallLine("SteamAPI_ISteamUserStats_UploadLeaderboardScore")
        .unsignedInteger(board)
        .integer(uploadMethod)
        .integer(score)
        .integerList(details, detailCount)
        .integer(detailCount)
        .log();
    if (!isLiveInterface(self, InterfaceKind::UserStats)) return 0;
    return leaderboards().uploadScore(board, uploadMethod, score);
}
