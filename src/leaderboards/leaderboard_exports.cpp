// steamSetLeaderBoardName, steamLeaderBoardFound and steamUploadScore.
#include "bridge/module_state.h"
#include "leaderboards/steam_leaderboards.h"
#include "steambridge.h"
#include "text/platform_conversion.h"

using namespace steambridge;

namespace {

// Board names are at most 127 bytes and a terminator.
constexpr std::size_t kBoardNameCapacity = 128;

CSteamLeaderboards* RunningLeaderboards() {
    const ModuleState& module = Module();
    return module.loaded ? module.leaderboards : nullptr;
}

}  // namespace

extern "C" {

STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamSetLeaderBoardName(const SteamBridgeChar16* name) {
    CSteamLeaderboards* leaderboards = RunningLeaderboards();
    if (!leaderboards) return false;
    // A name that does not convert whole is refused: a cut or altered name
    // would post scores to another board.
    char narrowName[kBoardNameCapacity];
    if (!ConvertToLocaleNarrow(name, narrowName, sizeof narrowName)) return false;
    leaderboards->FindLeaderboard(narrowName);
    return true;
}

STEAMBRIDGE_API int32_t STEAMBRIDGE_CALL steamLeaderBoardFound(void) {
    CSteamLeaderboards* leaderboards = RunningLeaderboards();
    return leaderboards && leaderboards->HasLeaderboard() ? 1 : 0;
}

STEAMBRIDGE_API int32_t STEAMBRIDGE_CALL steamUploadScore(int32_t score) {
    CSteamLeaderboards* leaderboards = RunningLeaderboards();
    if (!leaderboards || !leaderboards->HasLeaderboard()) return 0;
    leaderboards->UploadScore(score);
    return 1;
}

}  // extern "C"
