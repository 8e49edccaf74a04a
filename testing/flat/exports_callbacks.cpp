// Client exports that register and unregister callback holders.
#include <cstdint>

#include "call_line.h"
#include "callback_registry.h"
#include "client_export.h"
#include "holder_view.h"
#include "sim_lock.h"

using namespace steam_sim;

SIM_CLIENT_EXPORT void SteamAPI_RegisterCallback(void* holder, int callbackId) {
    SimGuard guard;
    CallLine("SteamAPI_RegisterCallback").integer(callbackId).log();
    callbackRegistry().registerCallback(holder, callbackId);
}

SIM_CLIENT_EXPORT void SteamAPI_UnregisterCallback(void* holder) {
    SimGuard guard;
    CallLine line("SteamAPI_UnregisterCallback");
    if (holder != nullptr) {
        line.integer(holderCallbackId(holder));
    } else {
        line.text(nullptr);
    }
    line.log();
    callbackRegistry().unregisterCallback(holder);
}

SIM_CLIENT_EXPORT void SteamAPI_RegisterCallResult(void* holder, uint64_t call) {
    SimGuard guard;
    CallLine("SteamAPI_RegisterCallResult").unsignedInteger(call).log();
    callbackRegistry().registerCallResult(holder, call);
}

SIM_CLIENT_EXPORT void SteamAPI_UnregisterCallResult(void* holder, uint64_t call) {
    SimGuard guard;
    CallLine("SteamAPI_UnregisterCallResult").unsignedInteger(call).log();
    callbackRegistry().unregisterCallResult(holder, call);
}
