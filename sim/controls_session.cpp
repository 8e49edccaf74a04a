// Controls of the session: reset, start behaviour, user, app, languages, accessors.
#define STEAM_SIM_BUILDING
#include "client_export.h"
#include "interfaces.h"
#include "session.h"
#include "session_lifecycle.h"
#include "sim_lock.h"
#include "steam_sim.h"

using namespace steam_sim;

int STEAM_SIM_CALL SteamSim_Profile(void) { return STEAM_SIM_PROFILE; }

void STEAM_SIM_CALL SteamSim_Reset(void) {
    SimGuard guard;
    resetSimulator();
}

void STEAM_SIM_CALL SteamSim_SetStartSucceeds(bool succeeds) {
    SimGuard guard;
    session().setStartSucceeds(succeeds);
}

void STEAM_SIM_CALL SteamSim_SetLoggedOn(bool loggedOn) {
    SimGuard guard;
    session().setLoggedOn(loggedOn);
}

void STEAM_SIM_CALL SteamSim_SetAppId(uint32_t appId) {
    SimGuard guard;
    session().setAppId(appId);
}

void STEAM_SIM_CALL SteamSim_SetUserId(uint64_t steamId) {
    SimGuard guard;
    session().setUserId(steamId);
}

void STEAM_SIM_CALL SteamSim_SetLanguages(const char* current, const char* available) {
    SimGuard guard;
    session().setLanguages(current, available);
}

void STEAM_SIM_CALL SteamSim_SetAccessorNull(const char* accessor, bool returnsNull) {
    SimGuard guard;
    setAccessorReturnsNull(accessor, returnsNull);
}

int STEAM_SIM_CALL SteamSim_IsRunning(void) {
    SimGuard guard;
    return session().running() ? 1 : 0;
}

const char* STEAM_SIM_CALL SteamSim_LastOverlayDialog(void) {
    SimGuard guard;
    return session().lastOverlayDialog();
}

void STEAM_SIM_CALL SteamSim_SetClock(uint32_t unixTime) {
    SimGuard guard;
    session().setClock(unixTime);
}
