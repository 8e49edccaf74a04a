// The client session: whether it runs, who is logged on, the app, languages and clock.
#pragma once

#include <cstdint>
#include <ctime>
#include <set>
#include <string>

namespace steam_sim {

class Session {
public:
    // Every default back, taken from the scenario in force.
    void reset();

    bool startSucceeds() const { return startSucceeds_; }
    void setStartSucceeds(bool succeeds) { startSucceeds_ = succeeds; }
    bool running() const { return running_; }
    void setRunning(bool running) {
        running_ = running;
        ++epoch_;
    }
    // Changes on every start, stop and reset, so delivery can notice a session it no longer serves.
    unsigned epoch() const { return epoch_; }

    bool loggedOn() const { return loggedOn_; }
    void setLoggedOn(bool loggedOn) { loggedOn_ = loggedOn; }
    uint32_t appId() const { return appId_; }
    void setAppId(uint32_t appId) { appId_ = appId; }
    uint64_t userId() const { return userId_; }
    void setUserId(uint64_t userId) { userId_ = userId; }

    // This app's game ID: the app ID in the low 32 bits.
    uint64_t ownGameId() const { return appId_; }
    // Game ID put in the records the simulator makes.
    uint64_t recordGameId() const { return recordGameId_ != 0 ? recordGameId_ : ownGameId(); }
    void setRecordGameId(uint64_t gameId) { recordGameId_ = gameId; }

    const char* currentLanguage() const {
        return hasCurrentLanguage_ ? currentLanguage_.c_str() : nullptr;
    }
    const char* availableLanguages() const {
        return hasAvailableLanguages_ ? availableLanguages_.c_str() : nullptr;
    }
    void setLanguages(const char* current, const char* available);

    const char* personaName() const { return personaName_.c_str(); }

    const char* lastOverlayDialog() const { return lastOverlayDialog_.c_str(); }
    void setLastOverlayDialog(const char* dialog) { lastOverlayDialog_ = dialog; }

    // Seconds since 1970: fixed, or the wall clock where an offline run asks for it.
    uint32_t clock() const {
        return followsWallClock_ ? static_cast<uint32_t>(std::time(nullptr)) : clock_;
    }
    void setClock(uint32_t unixTime) {
        clock_ = unixTime;
        followsWallClock_ = false;
    }
    void followWallClock() { followsWallClock_ = true; }

    int frame() const { return frame_; }
    void advanceFrame() { ++frame_; }

    // Interfaces refused as a client that lacks their version would:
    // "SteamClient", "SteamUser", "SteamUserStats", "SteamUtils", "SteamApps",
    // "SteamFriends". Both faces ask here.
    bool interfaceRefused(const char* unversionedName) const {
        return unversionedName != nullptr && refusedInterfaces_.count(unversionedName) != 0;
    }
    void setInterfaceRefused(const char* unversionedName, bool refused);

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
    std::string lastOverlayDialog_;
    uint32_t clock_ = 1700000000;
    bool followsWallClock_ = false;
    int frame_ = 0;
    unsigned epoch_ = 0;
    std::set<std::string> refusedInterfaces_;
};

Session& session();

}  // namespace steam_sim
