// The client library's operations as the bridge uses them. Each call acts as
// a failure (false, 0, null or nothing) when the library is not bound or an
// accessor gives null, so no caller can crash on a missing interface.
#pragma once

#include <cstdint>

#include "platform/client_functions.h"

namespace steambridge {
namespace client {

// Starts the client API with whichever start function the library has.
bool Start();
void Shutdown();
// Delivers queued callbacks and call results to their holders.
void RunCallbacks();

void RegisterCallback(CCallbackBase* holder, int callbackId);
void UnregisterCallback(CCallbackBase* holder);
void RegisterCallResult(CCallbackBase* holder, SteamAPICall_t call);
void UnregisterCallResult(CCallbackBase* holder, SteamAPICall_t call);

ISteamUser* SteamUser();
ISteamUserStats* SteamUserStats();

// Asks for the user's stats; where the library no longer does (1.61 on), the
// bridge delivers their arrival itself.
bool RequestCurrentStats();

// One call per method the list marks Wrap: BLoggedOn(), GetStatInt32(name,
// value), StoreStats() and the rest, each on the session's interface.
#define STEAMBRIDGE_DECLARATION_Own(result, member, parameters)
#define STEAMBRIDGE_DECLARATION_Wrap(result, member, parameters) result member parameters;
#define STEAMBRIDGE_DECLARATION(result, member, Interface, parameters, arguments, nullAnswer, \
                                wrapper, ...)                                                 \
    STEAMBRIDGE_DECLARATION_##wrapper(result, member, parameters)
STEAMBRIDGE_CLIENT_FUNCTIONS(STEAMBRIDGE_DECLARATION)
#undef STEAMBRIDGE_DECLARATION
#undef STEAMBRIDGE_DECLARATION_Wrap
#undef STEAMBRIDGE_DECLARATION_Own

}  // namespace client
}  // namespace steambridge
