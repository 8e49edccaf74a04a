// Calls into the bound client library, each safe against a missing function
// or interface.
#include "platform/client_calls.h"

#include <type_traits>

#include "bridge/trace.h"
#include "platform/callback_holders.h"
#include "platform/client_library.h"
#include "platform/stats_sync_fallback.h"

namespace steambridge {
namespace client {
namespace {

const ClientFunctions& Bound() { return BoundClient(); }

// Interfaces do not change while the client runs, so each is asked for once
// per session (a null answer is asked again): an accessor is a call into
// the library as costly as the method it serves.
struct SessionInterfaces {
    ISteamUser* user;
    ISteamUserStats* userStats;
    ISteamUtils* utils;
    ISteamApps* apps;
    ISteamFriends* friends;
};
SessionInterfaces g_interfaces;

template <class Interface>
Interface* Accessed(Interface*& cached, Interface*(STEAMBRIDGE_CLIENT_CALL* accessor)()) {
    if (!cached && accessor) cached = accessor();
    return cached;
}

// The session's copy of each interface, asked for on first use.
template <class Interface>
Interface* Session() {
    const ClientFunctions& bound = Bound();
    if constexpr (std::is_same_v<Interface, ISteamUser>)
        return Accessed(g_interfaces.user, bound.SteamUser);
    else if constexpr (std::is_same_v<Interface, ISteamUserStats>)
        return Accessed(g_interfaces.userStats, bound.SteamUserStats);
    else if constexpr (std::is_same_v<Interface, ISteamUtils>)
        return Accessed(g_interfaces.utils, bound.SteamUtils);
    else if constexpr (std::is_same_v<Interface, ISteamApps>)
        return Accessed(g_interfaces.apps, bound.SteamApps);
    else
        return Accessed(g_interfaces.friends, bound.SteamFriends);
}

// Size of the buffer SteamAPI_InitFlat may write its error text into.
constexpr int kStartErrorCapacity = 1024;

}  // namespace

bool Start() {
    g_interfaces = SessionInterfaces{};
    const ClientFunctions& bound = Bound();
    // The two newer forms answer 0 for success and fill an error text; the
    // oldest gives no reason.
    char error[kStartErrorCapacity] = {};
    bool started = false;
    if (bound.InitFlat)
        started = bound.InitFlat(error) == 0;
    else if (bound.Init)
        started = bound.Init();
    else if (bound.InternalInit)
        // An empty list of interface versions to check: one empty text.
        started = bound.InternalInit("", error) == 0;
    if (!started) {
        error[kStartErrorCapacity - 1] = '\0';
        Trace(TraceId::StartRefused);
        TraceDetail(error[0] != '\0' ? error : "no reason given");
    }
    return started;
}

void Shutdown() {
    if (Bound().Shutdown) Bound().Shutdown();
    g_interfaces = SessionInterfaces{};
    ForgetStatsSync();
}

void RunCallbacks() {
    if (!Bound().RunCallbacks) return;
    Bound().RunCallbacks();
    DeliverOwedStatsReceived();
}

void RegisterCallback(CCallbackBase* holder, int callbackId) {
    if (!Bound().RegisterCallback) return;
    Bound().RegisterCallback(holder, callbackId);
    NoteCallbackRegistered(holder, callbackId);
}

void UnregisterCallback(CCallbackBase* holder) {
    // Our own list forgets the holder whatever the library did with its flag:
    // a library may clear it, or never set it, before the holder goes.
    NoteCallbackUnregistered(holder);
    if (Bound().UnregisterCallback && holder->IsRegistered()) Bound().UnregisterCallback(holder);
}

void RegisterCallResult(CCallbackBase* holder, SteamAPICall_t call) {
    if (Bound().RegisterCallResult) Bound().RegisterCallResult(holder, call);
}

void UnregisterCallResult(CCallbackBase* holder, SteamAPICall_t call) {
    if (Bound().UnregisterCallResult) Bound().UnregisterCallResult(holder, call);
}

ISteamUser* SteamUser() { return Session<ISteamUser>(); }
ISteamUserStats* SteamUserStats() { return Session<ISteamUserStats>(); }

bool RequestCurrentStats() {
    ISteamUserStats* stats = SteamUserStats();
    if (!stats) return false;
    if (Bound().RequestCurrentStats) return Bound().RequestCurrentStats(stats);
    // The library has the user's stats already and will never answer.
    OweStatsReceived(GetAppID(), GetSteamID());
    return true;
}

#define STEAMBRIDGE_WRAPPER_Own(result, member, Interface, parameters, arguments, nullAnswer)
#define STEAMBRIDGE_WRAPPER_Wrap(result, member, Interface, parameters, arguments, nullAnswer) \
    result member parameters {                                                                 \
        Interface* self = Session<Interface>();                                                \
        return self ? Bound().member arguments : nullAnswer;                                   \
    }
#define STEAMBRIDGE_WRAPPER(result, member, Interface, parameters, arguments, nullAnswer, wrapper, \
                            ...)                                                                   \
    STEAMBRIDGE_WRAPPER_##wrapper(result, member, Interface, parameters, arguments, nullAnswer)
STEAMBRIDGE_CLIENT_FUNCTIONS(STEAMBRIDGE_WRAPPER)
#undef STEAMBRIDGE_WRAPPER
#undef STEAMBRIDGE_WRAPPER_Wrap
#undef STEAMBRIDGE_WRAPPER_Own

}  // namespace client
}  // namespace steambridge
