// The flat face's side of the model: its export profile decides the rest.
#include "callback_registry.h"
#include "client_export.h"
#include "delivery.h"
#include "face.h"
#include "interfaces.h"

namespace steam_sim {

int faceProfile() { return STEAM_SIM_PROFILE; }

bool statsArriveOnRequest() { return SIM_HAS_REQUEST_CURRENT_STATS; }

int registeredCallbackCount(int callbackId) {
    return callbackRegistry().registeredCallbackCount(callbackId);
}

int pendingCallResultCount() { return callbackRegistry().pendingCallResultCount(); }

namespace {
bool g_shutdownClearsHolderFlags = false;
}

void setShutdownClearsHolderFlags(bool clears) { g_shutdownClearsHolderFlags = clears; }

void shutdownCallbackRegistry() {
    if (g_shutdownClearsHolderFlags) callbackRegistry().dropCallbacks();
}

void resetFace() {
    g_shutdownClearsHolderFlags = false;
    callbackRegistry().reset();
    resetDelivery();
}

}  // namespace steam_sim
