// steamStat, steamStatIncrease, steamStatus and steamAchievementsCount.
#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "achievements/steam_achievements.h"
#include "achievements/steam_stats.h"
#include "bridge/module_state.h"
#include "steambridge.h"

using namespace steambridge;

namespace {

bool BothKeepersReceived() {
    const ModuleState& module = Module();
    return module.achievements && module.stats && module.achievements->IsReceived() &&
           module.stats->IsReceived();
}

bool IsStatIndex(int32_t index) { return index >= 0 && index < kStatCount; }

}  // namespace

extern "C" {

STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamStat(int32_t index, int32_t value) {
    CSteamStats* stats = Module().stats;
    if (!stats || !IsStatIndex(index)) return false;
    StatTable()[index].intValue = value;
    return stats->StoreStats();
}

STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamStatIncrease(int32_t index, int32_t delta) {
    CSteamStats* stats = Module().stats;
    if (!stats || !IsStatIndex(index)) return false;
    // A plain 32-bit addition that wraps, as the host expects, without the
    // undefined behaviour of signed overflow.
    int32_t& value = StatTable()[index].intValue;
    value = static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(delta));
    return stats->StoreStats();
}

STEAMBRIDGE_API int32_t STEAMBRIDGE_CALL steamStatus(void) { return BothKeepersReceived() ? 1 : 0; }

STEAMBRIDGE_API int32_t STEAMBRIDGE_CALL steamAchievementsCount(void) {
    return BothKeepersReceived() ? kAchievementCount : 0;
}

}  // extern "C"
