// Steam's answers about the app, the user, the user's friends and the
// computer, from the scenario, by Valve's documented rules (isteamapps.h,
// isteamuser.h, isteamfriends.h, isteamutils.h and the Steamworks pages of
// each interface).
#include "user_app_calls.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "call_line.h"
#include "event_reports.h"
#include "model_lock.h"
#include "record_queue.h"
#include "rich_presence.h"
#include "schema.h"
#include "session.h"
#include "stable_text.h"

namespace offline_steam {
namespace {

// EFriendFlags: k_EFriendFlagImmediate, a "regular" friend (k_EFriendFlagAll includes it).
constexpr int kFriendFlagImmediate = 0x04;
// EUserHasLicenseForAppResult.
constexpr int kHasLicense = 0;
constexpr int kDoesNotHaveLicense = 1;
constexpr int kNoAuth = 2;
// EUniverse: k_EUniversePublic.
constexpr int kUniversePublic = 1;
// GetCurrentBatteryPower: 255 means AC power, which a desk has.
constexpr uint8_t kOnAcPower = 255;

const Dlc* FindDlc(uint32_t appId) {
    for (const Dlc& dlc : ActiveScenario().dlc)
        if (dlc.appId == appId) return &dlc;
    return nullptr;
}

const Friend* FindFriend(uint64_t steamId) {
    for (const Friend& person : ActiveScenario().friends)
        if (person.steamId == steamId) return &person;
    return nullptr;
}

bool IsUser(uint64_t steamId) { return steamId == TheSession().UserId(); }

// Installed: the game itself, or an owned DLC that is installed (in its folder).
bool IsInstalled(uint32_t appId) {
    if (appId == TheSession().AppId()) return true;
    const Dlc* dlc = FindDlc(appId);
    return dlc != nullptr && dlc->owned && dlc->installed;
}

// A key or value in a warning: a long one cut.
std::string Shown(const char* text) {
    if (text == nullptr) return "a null key";
    const std::string whole(text);
    return "\"" + (whole.size() > 24 ? whole.substr(0, 24) + "..." : whole) + "\"";
}

}  // namespace

bool UserOwnsApp(uint32_t appId) {
    if (appId == TheSession().AppId()) return true;
    const Dlc* dlc = FindDlc(appId);
    return dlc != nullptr && dlc->owned;
}

}  // namespace offline_steam

namespace offline_steam::calls {

// ---- ISteamApps -----------------------------------------------------------------

bool AppsIsDlcInstalled(bool live, uint32_t appId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_BIsDlcInstalled").UnsignedInteger(appId).Log();
    const Dlc* dlc = live ? FindDlc(appId) : nullptr;
    return dlc != nullptr && dlc->owned && dlc->installed;
}

int AppsDlcCount(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetDLCCount").Log();
    // Every DLC of the game, owned or not, as the store lists them.
    return live ? static_cast<int>(ActiveScenario().dlc.size()) : 0;
}

bool AppsDlcDataByIndex(bool live, int index, uint32_t* appId, bool* available, char* name,
                        int nameSize) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_BGetDLCDataByIndex").Integer(index).Integer(nameSize).Log();
    const std::vector<Dlc>& list = ActiveScenario().dlc;
    const bool known = live && index >= 0 && static_cast<std::size_t>(index) < list.size();
    const Dlc* dlc = known ? &list[static_cast<std::size_t>(index)] : nullptr;
    if (appId != nullptr) *appId = dlc != nullptr ? dlc->appId : 0;
    // Available: on the store, which every DLC the scenario lists is.
    if (available != nullptr) *available = dlc != nullptr;
    CopyText(dlc != nullptr ? dlc->name : std::string(), name, nameSize);
    return dlc != nullptr;
}

uint64_t AppsAppOwner(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetAppOwner").Log();
    // No Family Sharing offline: the user owns the game.
    return live ? TheSession().UserId() : 0;
}

int AppsAppBuildId(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetAppBuildId").Log();
    return live ? static_cast<int>(ActiveScenario().buildId) : 0;
}

bool AppsCurrentBetaName(bool live, char* name, int nameSize) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetCurrentBetaName").Integer(nameSize).Log();
    // The default branch ("public") answers false and an empty name.
    const std::string& beta = live ? ActiveScenario().betaName : std::string();
    CopyText(beta, name, nameSize);
    return !beta.empty();
}

bool AppsIsSubscribedFromFreeWeekend(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_BIsSubscribedFromFreeWeekend").Log();
    return live && ActiveScenario().freeWeekend;
}

bool AppsIsVacBanned(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_BIsVACBanned").Log();
    return live && ActiveScenario().vacBanned;
}

const char* AppsLaunchQueryParam(bool live, const char* key) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetLaunchQueryParam").Text(key).Log();
    (void)live;  // not started through a steam://run URL: no parameters
    return "";
}

uint32_t AppsAppInstallDir(bool live, uint32_t appId, char* folder, uint32_t folderSize) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetAppInstallDir")
        .UnsignedInteger(appId)
        .UnsignedInteger(folderSize)
        .Log();
    std::string path;
    if (live && IsInstalled(appId)) {
        path = TheSession().InstallDir();
        if (path.empty()) {  // no scenario read: the working folder now
            std::error_code failure;
            const std::filesystem::path here = std::filesystem::current_path(failure);
            if (!failure) path = here.string();
        }
    }
    return static_cast<uint32_t>(CopyText(path, folder, folderSize));
}

uint32_t AppsEarliestPurchaseUnixTime(bool live, uint32_t appId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamApps_GetEarliestPurchaseUnixTime").UnsignedInteger(appId).Log();
    if (!live || !UserOwnsApp(appId)) return 0;
    const uint32_t time = ActiveScenario().purchaseTime;
    return time != 0 ? time : TheSession().StartClock();
}

// ---- ISteamUser -----------------------------------------------------------------

int UserPlayerSteamLevel(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUser_GetPlayerSteamLevel").Log();
    return live ? ActiveScenario().steamLevel : 0;
}

int UserHasLicenseForApp(bool live, uint64_t steamId, uint32_t appId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUser_UserHasLicenseForApp")
        .UnsignedInteger(steamId)
        .UnsignedInteger(appId)
        .Log();
    // Another user's licences are known only through an auth session, which
    // the offline Steam never has.
    if (!live || !IsUser(steamId)) return kNoAuth;
    return UserOwnsApp(appId) ? kHasLicense : kDoesNotHaveLicense;
}

// ---- ISteamFriends ----------------------------------------------------------------

int FriendsPersonaState(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetPersonaState").Log();
    const bool online = live && TheSession().LoggedOn();
    return static_cast<int>(online ? PersonaState::Online : PersonaState::Offline);
}

int FriendsFriendCount(bool live, int flags) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetFriendCount").Integer(flags).Log();
    // Every friend is a regular one: none blocked, requested, in a clan or ignored.
    if (!live || (flags & kFriendFlagImmediate) == 0) return 0;
    return static_cast<int>(ActiveScenario().friends.size());
}

uint64_t FriendsFriendByIndex(bool live, int index, int flags) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetFriendByIndex").Integer(index).Integer(flags).Log();
    const std::vector<Friend>& friends = ActiveScenario().friends;
    if (!live || (flags & kFriendFlagImmediate) == 0 || index < 0 ||
        static_cast<std::size_t>(index) >= friends.size())
        return 0;  // k_steamIDNil
    return friends[static_cast<std::size_t>(index)].steamId;
}

const char* FriendsFriendPersonaName(bool live, uint64_t steamId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetFriendPersonaName").UnsignedInteger(steamId).Log();
    // Never null: "" for no user at all, "[unknown]" for one not known to the user.
    if (!live || steamId == 0) return "";
    if (IsUser(steamId)) return StableText(TheSession().PersonaName());
    const Friend* person = FindFriend(steamId);
    return person != nullptr ? StableText(person->personaName) : "[unknown]";
}

int FriendsFriendPersonaState(bool live, uint64_t steamId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetFriendPersonaState").UnsignedInteger(steamId).Log();
    if (!live) return static_cast<int>(PersonaState::Offline);
    if (IsUser(steamId))
        return static_cast<int>(TheSession().LoggedOn() ? PersonaState::Online
                                                        : PersonaState::Offline);
    const Friend* person = FindFriend(steamId);
    return static_cast<int>(person != nullptr ? person->personaState : PersonaState::Offline);
}

int FriendsFriendSteamLevel(bool live, uint64_t steamId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetFriendSteamLevel").UnsignedInteger(steamId).Log();
    // A friend's level is not in the scenario: 0, Steam's answer while it is not known.
    return live && IsUser(steamId) ? ActiveScenario().steamLevel : 0;
}

bool FriendsHasFriend(bool live, uint64_t steamId, int flags) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_HasFriend").UnsignedInteger(steamId).Integer(flags).Log();
    return live && (flags & kFriendFlagImmediate) != 0 && FindFriend(steamId) != nullptr;
}

bool FriendsSetRichPresence(bool live, const char* key, const char* value) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_SetRichPresence").Text(key).Text(value).Log();
    if (!live) return false;
    const RichPresence::Outcome outcome = TheSession().UserRichPresence().Set(key, value);
    const std::string call = "SetRichPresence(" + Shown(key) + "): ";
    switch (outcome) {
        case RichPresence::Outcome::Set:
        case RichPresence::Outcome::Deleted:
            ReportRichPresence();
            return true;
        case RichPresence::Outcome::Unchanged:
            return true;
        case RichPresence::Outcome::NoKey:
            Warn(WarningCode::kRichPresenceRefused, call + "a key must not be empty");
            break;
        case RichPresence::Outcome::KeyTooLong:
            Warn(WarningCode::kRichPresenceRefused,
                 call + "the key is " + std::to_string(std::strlen(key)) +
                     " bytes; Steam takes at most " + std::to_string(RichPresence::kKeyBytes - 1));
            break;
        case RichPresence::Outcome::ValueTooLong:
            Warn(WarningCode::kRichPresenceRefused,
                 call + "the value is " + std::to_string(std::strlen(value)) +
                     " bytes; Steam takes at most " +
                     std::to_string(RichPresence::kValueBytes - 1));
            break;
        case RichPresence::Outcome::TooManyKeys:
            Warn(WarningCode::kRichPresenceRefused, call + "a new key beyond the " +
                                                        std::to_string(RichPresence::kMaxKeys) +
                                                        " Steam keeps");
            break;
    }
    return false;
}

void FriendsClearRichPresence(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_ClearRichPresence").Log();
    if (live && TheSession().UserRichPresence().Clear()) ReportRichPresence();
}

const char* FriendsFriendRichPresence(bool live, uint64_t steamId, const char* key) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetFriendRichPresence")
        .UnsignedInteger(steamId)
        .Text(key)
        .Log();
    // Friends' rich presence is not in the scenario: they set none.
    if (!live || !IsUser(steamId)) return "";
    return StableText(TheSession().UserRichPresence().Get(key));
}

int FriendsFriendRichPresenceKeyCount(bool live, uint64_t steamId) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetFriendRichPresenceKeyCount").UnsignedInteger(steamId).Log();
    return live && IsUser(steamId) ? TheSession().UserRichPresence().KeyCount() : 0;
}

const char* FriendsFriendRichPresenceKeyByIndex(bool live, uint64_t steamId, int index) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamFriends_GetFriendRichPresenceKeyByIndex")
        .UnsignedInteger(steamId)
        .Integer(index)
        .Log();
    return live && IsUser(steamId) ? StableText(TheSession().UserRichPresence().KeyAt(index)) : "";
}

// ---- ISteamUtils -------------------------------------------------------------------

const char* UtilsSteamUiLanguage(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetSteamUILanguage").Log();
    return live ? StableText(ActiveScenario().uiLanguage) : "";
}

bool UtilsIsOverlayEnabled(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_IsOverlayEnabled").Log();
    return live && ActiveScenario().overlayEnabled;
}

const char* UtilsIpCountry(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetIPCountry").Log();
    return live ? StableText(ActiveScenario().ipCountry) : "";
}

uint32_t UtilsSecondsSinceAppActive(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetSecondsSinceAppActive").Log();
    if (!live) return 0;
    const uint32_t now = TheSession().Clock();
    const uint32_t since = TheSession().StartClock();
    return now > since ? now - since : 0;
}

uint32_t UtilsSecondsSinceComputerActive(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetSecondsSinceComputerActive").Log();
    (void)live;  // the developer is at the computer
    return 0;
}

bool UtilsIsSteamRunningOnSteamDeck(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_IsSteamRunningOnSteamDeck").Log();
    return live && ActiveScenario().onSteamDeck;
}

bool UtilsIsSteamInBigPictureMode(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_IsSteamInBigPictureMode").Log();
    return live && ActiveScenario().bigPicture;
}

uint8_t UtilsCurrentBatteryPower(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetCurrentBatteryPower").Log();
    return live ? kOnAcPower : 0;
}

int UtilsConnectedUniverse(bool live) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetConnectedUniverse").Log();
    return live ? kUniversePublic : 0;  // k_EUniverseInvalid when dead
}

bool UtilsIsApiCallCompleted(bool live, uint64_t call, bool* failed) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_IsAPICallCompleted").UnsignedInteger(call).Log();
    if (!live) {
        if (failed != nullptr) *failed = true;
        return false;
    }
    return TheFinishedCalls().Completed(call, failed);
}

CallFailure UtilsApiCallFailureReason(bool live, uint64_t call) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetAPICallFailureReason").UnsignedInteger(call).Log();
    return live ? TheFinishedCalls().FailureReason(call) : CallFailure::SteamGone;
}

bool UtilsApiCallResult(bool live, uint64_t call, void* buffer, int size, int expectedCallbackId,
                        bool* failed) {
    ModelGuard guard;
    CallLine("SteamAPI_ISteamUtils_GetAPICallResult")
        .UnsignedInteger(call)
        .Integer(size)
        .Integer(expectedCallbackId)
        .Log();
    if (!live) {
        if (failed != nullptr) *failed = true;
        return false;
    }
    const FinishedCalls::Read read =
        TheFinishedCalls().Take(call, buffer, size, expectedCallbackId, failed);
    if (read == FinishedCalls::Read::Done) return true;
    // Not there, or asked for as another callback: it failed, and
    // GetAPICallFailureReason says how (a pending call answers false, not failed).
    if (failed != nullptr)
        *failed = read == FinishedCalls::Read::Mismatch || !TheRecordQueue().HoldsCallResult(call);
    return false;
}

}  // namespace offline_steam::calls
