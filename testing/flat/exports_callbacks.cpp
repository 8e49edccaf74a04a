// Client exports that register and unregister callback holders.
#include <cstdint>

#include "call_line.h"
#include "callback_registry.h"
#include "client_export.h"
#include "holder_view.h"
#include "model_lock.h"

using namespace offline_steam;

SIM_CLIENT_EXPORT void SteamAPI_RegisterCallback(void* holder, int callbackId) {
    ModelGuard guard;
    CallLine("SteamAPI_RegisterCallback").Integer(callbackId).Log();
    TheCallbackRegistry().RegisterCallback(holder, callbackId);
}

SIM_CLIENT_EXPORT void SteamAPI_UnregisterCallback(void* holder) {
    ModelGuard guard;
    CallLine line("SteamAPI_UnregisterCallback");
    if (holder != nullptr) {
        line.Integer(HolderCallbackId(holder));
    } else {
        line.Text(nullptr);
    }
    line.Log();
    TheCallbackRegistry().UnregisterCallback(holder);
}

SIM_CLIENT_EXPORT void SteamAPI_RegisterCallResult(void* holder, uint64_t call) {
    ModelGuard guard;
    CallLine("SteamAPI_RegisterCallResult").UnsignedInteger(call).Log();
    TheCallbackRegistry().RegisterCallResult(holder, call);
}

SIM_CLIENT_EXPORT void SteamAPI_UnregisterCallResult(void* holder, uint64_t call) {
    ModelGuard guard;
    CallLine("SteamAPI_UnregisterCallResult").UnsignedInteger(call).Log();
    TheCallbackRegistry().UnregisterCallResult(holder, call);
}
