// Controls of the callback registry and of delivery.
#define STEAM_SIM_BUILDING
#include "callback_registry.h"
#include "delivery.h"
#include "record_queue.h"
#include "session.h"
#include "sim_lock.h"
#include "steam_sim.h"

using namespace steam_sim;

int STEAM_SIM_CALL SteamSim_RegisteredCallbacks(int callbackId) {
    SimGuard guard;
    return callbackRegistry().registeredCallbackCount(callbackId);
}

int STEAM_SIM_CALL SteamSim_PendingCallResults(void) {
    SimGuard guard;
    return callbackRegistry().pendingCallResultCount();
}

int STEAM_SIM_CALL SteamSim_SizeMismatches(void) {
    SimGuard guard;
    return sizeMismatchCount();
}

void STEAM_SIM_CALL SteamSim_PostCallback(int callbackId, const void* record, int size) {
    SimGuard guard;
    if (size < 0 || (record == nullptr && size > 0)) return;
    const auto* bytes = static_cast<const unsigned char*>(record);
    recordQueue().postCallback(callbackId, RecordBytes(bytes, bytes + size), 1);
}

void STEAM_SIM_CALL SteamSim_SetRecordGameId(uint64_t gameId) {
    SimGuard guard;
    session().setRecordGameId(gameId);
}

int STEAM_SIM_CALL SteamSim_Frame(void) {
    SimGuard guard;
    return session().frame();
}
