// Controls that read and clear the call log.
#define STEAM_SIM_BUILDING
#include "call_log.h"
#include "sim_lock.h"
#include "steam_sim.h"

using namespace steam_sim;

int STEAM_SIM_CALL SteamSim_CallLogSize(void) {
    SimGuard guard;
    return callLog().size();
}

const char* STEAM_SIM_CALL SteamSim_CallLogEntry(int index) {
    SimGuard guard;
    return callLog().entry(index);
}

int STEAM_SIM_CALL SteamSim_CallCount(const char* exportName) {
    SimGuard guard;
    return callLog().countOf(exportName);
}

void STEAM_SIM_CALL SteamSim_ClearCallLog(void) {
    SimGuard guard;
    callLog().clear();
}
