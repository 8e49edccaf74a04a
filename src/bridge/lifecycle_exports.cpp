// steamInit, steamCallBacks, steamUserID and steamFree.
#include "steambridge.h"

#include "bridge/module_state.h"
#include "platform/client_calls.h"
#include "platform/client_library.h"
#include "text/host_buffer.h"
#include "text/utf8_to_wide.h"

using namespace steambridge;

namespace {

void WriteLanguages(HostSlot languageSlot, HostSlot availableLanguagesSlot) {
    CopyToHostBuffer(languageSlot, Utf8ToWide(client::GetCurrentGameLanguage()));
    CopyToHostBuffer(availableLanguagesSlot, Utf8ToWide(client::GetAvailableGameLanguages()));
}

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
    module.loaded = true;
    WriteLanguages(languageSlot, availableLanguagesSlot);
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
    module = ModuleState{};
    UnbindClientLibrary();
    return true;
}

}  // extern "C"
