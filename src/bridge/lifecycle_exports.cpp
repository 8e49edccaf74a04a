// steamInit, steamCallBacks, steamUserID and steamFree.
#include <new>

#include "achievements/achievement_table.h"
#include "achievements/stat_table.h"
#include "achievements/steam_achievements.h"
#include "achievements/steam_stats.h"
#include "bridge/module_state.h"
#include "leaderboards/steam_leaderboards.h"
#include "platform/client_calls.h"
#include "platform/client_library.h"
#include "steambridge.h"
#include "text/text_copy.h"
#include "text/wide_text.h"

using namespace steambridge;

namespace {

// Steam's texts have no length limit of their own; the host's buffers do.
void WriteLanguages(HostSlot languageSlot, HostSlot availableLanguagesSlot) {
    CopyListToHostBuffer(languageSlot, Utf8ToWide(client::GetCurrentGameLanguage()),
                         STEAMBRIDGE_LANGUAGE_UNITS);
    CopyListToHostBuffer(availableLanguagesSlot, Utf8ToWide(client::GetAvailableGameLanguages()),
                         STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS);
}

// Memory for everything steamInit makes, taken before anything is made so
// that running out leaves nothing registered, requested or half-made.
struct KeeperMemory {
    void* achievements;
    void* stats;
    void* links;
    void* leaderboards;

    bool Allocate() {
        achievements = AllocateObjectMemory(sizeof(CSteamAchievements));
        stats = AllocateObjectMemory(sizeof(CSteamStats));
        links = AllocateObjectMemory(sizeof(StatLinks));
        leaderboards = AllocateObjectMemory(sizeof(CSteamLeaderboards));
        if (achievements && stats && links && leaderboards) return true;
        Release();
        return false;
    }
    void Release() {
        ReleaseObjectMemory(achievements);
        ReleaseObjectMemory(stats);
        ReleaseObjectMemory(links);
        ReleaseObjectMemory(leaderboards);
    }
};

}  // namespace

extern "C" {

STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamInit(SteamBridgeChar16* const* languageSlot,
                                                SteamBridgeChar16* const* availableLanguagesSlot) {
    ModuleState& module = Module();
    if (module.loaded) {
        WriteLanguages(languageSlot, availableLanguagesSlot);
        return true;
    }
    if (!BindClientLibrary()) return false;
    if (!client::Start()) {
        UnbindClientLibrary();
        return false;
    }
    KeeperMemory memory{};
    if (!memory.Allocate()) {
        client::Shutdown();
        UnbindClientLibrary();
        return false;
    }
    module.loaded = true;

    // The order is Steam-visible: registrations and stats requests go out as
    // the keepers are made.
    module.achievements =
        new (memory.achievements) CSteamAchievements(AchievementTable(), kAchievementCount);
    module.stats = new (memory.stats) CSteamStats(StatTable(), kStatCount);
    module.links = new (memory.links) StatLinks;
    FillStatLinks(*module.links);
    WriteLanguages(languageSlot, availableLanguagesSlot);
    module.leaderboards = new (memory.leaderboards) CSteamLeaderboards;
    return true;
}

STEAMBRIDGE_API void STEAMBRIDGE_CALL steamCallBacks(void) {
    if (Module().loaded) client::RunCallbacks();
}

STEAMBRIDGE_API uint64_t STEAMBRIDGE_CALL steamUserID(void) {
    return Module().loaded ? client::GetSteamID() : 0;
}

STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamFree(void) {
    ModuleState& module = Module();
    if (!module.loaded) return true;
    client::Shutdown();
    // Each keeper unregisters its callbacks and pending calls as it goes.
    DestroyObject(module.achievements);
    DestroyObject(module.stats);
    DestroyObject(module.leaderboards);
    // The links are released too, so a later steamInit starts from the same
    // state as the first and nothing outlives steamFree.
    DestroyObject(module.links);
    module.loaded = false;
    UnbindClientLibrary();
    return true;
}

}  // extern "C"
