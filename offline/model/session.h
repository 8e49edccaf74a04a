// The client session: whether it runs, who is logged on, the app, languages and clock.
#pragma once

#include <cstdint>
#include <ctime>
#include <set>
#include <string>

#include "rich_presence.h"

namespace offline_steam {

class Session {
public:
    // Every default back, taken from the scenario in force.
    void Reset();

    bool StartSucceeds() const { return startSucceeds_; }
    void SetStartSucceeds(bool succeeds) { startSucceeds_ = succeeds; }
    bool Running() const { return running_; }
    void SetRunning(bool running) {
        if (running && !running_) startClock_ = Clock();
        running_ = running;
        ++epoch_;
    }
    // The clock when the session last started (GetSecondsSinceAppActive).
    uint32_t StartClock() const { return startClock_; }
    // Changes on every start, stop and reset, so delivery can notice a session it no longer serves.
    unsigned Epoch() const { return epoch_; }

    bool LoggedOn() const { return loggedOn_; }
    void SetLoggedOn(bool loggedOn) { loggedOn_ = loggedOn; }
    uint32_t AppId() const { return appId_; }
    void SetAppId(uint32_t appId) { appId_ = appId; }
    uint64_t UserId() const { return userId_; }
    void SetUserId(uint64_t userId) { userId_ = userId; }

    // This app's game ID: the app ID in the low 32 bits.
    uint64_t OwnGameId() const { return appId_; }
    // Game ID put in the records the simulator makes.
    uint64_t RecordGameId() const { return recordGameId_ != 0 ? recordGameId_ : OwnGameId(); }
    void SetRecordGameId(uint64_t gameId) { recordGameId_ = gameId; }

    const char* CurrentLanguage() const {
        return hasCurrentLanguage_ ? currentLanguage_.c_str() : nullptr;
    }
    const char* AvailableLanguages() const {
        return hasAvailableLanguages_ ? availableLanguages_.c_str() : nullptr;
    }
    void SetLanguages(const char* current, const char* available);

    const char* PersonaName() const { return personaName_.c_str(); }
    // The user's rich presence: kept while the process runs, cleared by a reset.
    RichPresence& UserRichPresence() { return richPresence_; }
    // GetAppInstallDir: the scenario's, else the working folder when the files were read.
    const std::string& InstallDir() const { return installDir_; }

    const char* LastOverlayDialog() const { return lastOverlayDialog_.c_str(); }
    void SetLastOverlayDialog(const char* dialog) { lastOverlayDialog_ = dialog; }

    // Seconds since 1970: fixed, or the wall clock where an offline run asks for it.
    uint32_t Clock() const {
        return followsWallClock_ ? static_cast<uint32_t>(std::time(nullptr)) : clock_;
    }
    void SetClock(uint32_t unixTime) {
        clock_ = unixTime;
        followsWallClock_ = false;
    }
    void FollowWallClock() { followsWallClock_ = true; }

    int Frame() const { return frame_; }
    void AdvanceFrame() { ++frame_; }

    // Interfaces refused as a client that lacks their version would:
    // "SteamClient", "SteamUser", "SteamUserStats", "SteamUtils", "SteamApps",
    // "SteamFriends". Both faces ask here.
    bool InterfaceRefused(const char* unversionedName) const {
        return unversionedName != nullptr && refusedInterfaces_.count(unversionedName) != 0;
    }
    void SetInterfaceRefused(const char* unversionedName, bool refused);

private:
    bool startSucceeds_ = true;
    bool running_ = false;
    bool loggedOn_ = true;
    uint32_t appId_ = 480;
    uint64_t userId_ = 76561197960287930ULL;
    uint64_t recordGameId_ = 0;
    bool hasCurrentLanguage_ = true;
    std::string currentLanguage_ = "english";
    bool hasAvailableLanguages_ = true;
    std::string availableLanguages_ = "english,german,french,japanese";
    std::string personaName_;
    RichPresence richPresence_;
    std::string installDir_;
    uint32_t startClock_ = 0;
    std::string lastOverlayDialog_;
    uint32_t clock_ = 1700000000;
    bool followsWallClock_ = false;
    int frame_ = 0;
    unsigned epoch_ = 0;
    std::set<std::string> refusedInterfaces_;
};

Session& TheSession();

}  // namespace offline_steam
