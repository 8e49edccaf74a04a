// The direct side's holders and its interfaces.
#include "direct_client.h"

#include <cstddef>

namespace bench {

DirectInterfaces g_direct;

void DirectHolder::Run(void*) { pendingCall_ = 0; }

void DirectHolder::Run(void*, bool, std::uint64_t call) {
    if (call == pendingCall_) pendingCall_ = 0;
}

int DirectHolder::GetCallbackSizeBytes() { return recordSize_; }

void DirectHolder::SetCall(std::uint64_t call) {
    if (pendingCall_ != 0) SteamAPI_UnregisterCallResult(this, pendingCall_);
    pendingCall_ = call;
    if (call != 0) SteamAPI_RegisterCallResult(this, call);
}

void FetchDirectInterfaces() {
    g_direct.user = SteamAPI_SteamUser_v023();
    g_direct.userStats = SteamAPI_SteamUserStats_v012();
    g_direct.utils = SteamAPI_SteamUtils_v010();
    g_direct.apps = SteamAPI_SteamApps_v008();
    g_direct.friends = SteamAPI_SteamFriends_v017();
}

// The library reads these two fields at fixed offsets.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
struct DirectHolderLayout {
    static_assert(sizeof(void*) != 8 || offsetof(DirectHolder, flags_) == 8, "holder flags");
    static_assert(sizeof(void*) != 8 || offsetof(DirectHolder, callbackId_) == 12, "holder id");
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace bench
