// Controls of the leaderboards: faults, latency and inspection of boards.
#define STEAM_SIM_BUILDING
#include "leaderboards.h"
#include "sim_lock.h"
#include "steam_sim.h"

using namespace steam_sim;

void STEAM_SIM_CALL SteamSim_FailNextCallHandle(void) {
    SimGuard guard;
    leaderboards().failNextCallHandle();
}

void STEAM_SIM_CALL SteamSim_FailNextCallIo(void) {
    SimGuard guard;
    leaderboards().failNextCallIo();
}

void STEAM_SIM_CALL SteamSim_NextFindNotFound(void) {
    SimGuard guard;
    leaderboards().nextFindNotFound();
}

void STEAM_SIM_CALL SteamSim_SetCallResultLatency(int frames) {
    SimGuard guard;
    leaderboards().setCallResultLatency(frames);
}

uint64_t STEAM_SIM_CALL SteamSim_LeaderboardHandle(const char* boardName) {
    SimGuard guard;
    return leaderboards().handleOf(boardName);
}

int STEAM_SIM_CALL SteamSim_LeaderboardSortMethod(const char* boardName) {
    SimGuard guard;
    return leaderboards().sortMethodOf(boardName);
}

int STEAM_SIM_CALL SteamSim_LeaderboardDisplayType(const char* boardName) {
    SimGuard guard;
    return leaderboards().displayTypeOf(boardName);
}

bool STEAM_SIM_CALL SteamSim_LeaderboardScore(const char* boardName, int32_t* score) {
    SimGuard guard;
    return leaderboards().scoreOf(boardName, score);
}

int STEAM_SIM_CALL SteamSim_LeaderboardCount(void) {
    SimGuard guard;
    return leaderboards().count();
}
