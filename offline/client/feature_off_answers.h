// What a method the client does not serve answers: what Steam answers a
// logged-on user for whom that feature is off or empty. Zero, false, a null
// object and an empty text, except where the declared return type or the
// method says that zero would mean yes, or is no documented value at all.
//
// FEATURE_OFF_BY_TYPE(M): M("return type", answer), the type as the generated
// tables name it (interface_tables.h, returnType).
// FEATURE_OFF_BY_METHOD(M): M(Class, Method, answer), ahead of the type's rule.
// An answer is taken as the slot's return kind takes it: truncated to 32 bits
// for an Int32 slot, converted for a Float or Double one.
#pragma once

#include <cstdint>

namespace offline_steam::client {

// clang-format off
#define FEATURE_OFF_BY_TYPE(M)                                                        \
    M("EResult", 2)                        /* k_EResultFail */                        \
    M("EUserHasLicenseForAppResult", 1)    /* k_EUserHasLicenseResultDoesNotHaveLicense */ \
    M("EBeginAuthSessionResult", 1)        /* k_EBeginAuthSessionResultInvalidTicket */ \
    M("EUniverse", 1)                      /* k_EUniversePublic */                    \
    M("EVoiceResult", 2)                   /* k_EVoiceResultNotRecording */           \
    M("EGCResults", 1)                     /* k_EGCResultNoMessage */                 \
    M("EGameSearchErrorCode_t", 7)         /* k_EGameSearchErrorCode_Failed_Offline */ \
    M("ESteamAPICallFailure", 2)           /* k_ESteamAPICallFailureInvalidHandle */  \
    M("ESteamNetworkingGetConfigValueResult", -1) /* ..._BadValue */                  \
    M("UGCHandle_t", -1)                   /* k_UGCHandleInvalid */                   \
    M("UGCQueryHandle_t", -1)              /* k_UGCQueryHandleInvalid */              \
    M("UGCUpdateHandle_t", -1)             /* k_UGCUpdateHandleInvalid */             \
    M("UGCFileWriteStreamHandle_t", -1)    /* k_UGCFileStreamHandleInvalid */         \
    M("PublishedFileUpdateHandle_t", -1)   /* k_PublishedFileUpdateHandleInvalid */   \
    M("SteamInventoryUpdateHandle_t", -1)  /* k_SteamInventoryUpdateHandleInvalid */  \
    M("HServerQuery", -1)                  /* HSERVERQUERY_INVALID */                 \
    M("FriendsGroupID_t", -1)              /* k_FriendsGroupID_Invalid */

#define FEATURE_OFF_BY_METHOD(M)                                                      \
    M(ISteamUserStats, GetMostAchievedAchievementInfo, -1)     /* no data */          \
    M(ISteamUserStats, GetNextMostAchievedAchievementInfo, -1) /* no more */          \
    M(ISteamUtils, GetCurrentBatteryPower, 255)                /* on AC power */      \
    M(ISteamInput, GetGamepadIndexForController, -1)           /* not emulating one */ \
    M(ISteamController, GetGamepadIndexForController, -1)
// clang-format on

}  // namespace offline_steam::client
