// The flat face's side of the model: its export profile decides the rest.
#include "face.h"

#include "callback_registry.h"
#include "client_export.h"
#include "delivery.h"
#include "interfaces.h"

namespace offline_steam {

int FaceProfile() { return STEAM_SIM_PROFILE; }

bool StatsArriveOnRequest() { return SIM_HAS_REQUEST_CURRENT_STATS; }

int RegisteredCallbackCount(int callbackId) {
    return TheCallbackRegistry().RegisteredCallbackCount(callbackId);
}

int PendingCallResultCount() { return TheCallbackRegistry().PendingCallResultCount(); }

namespace {
bool g_shutdownClearsHolderFlags = false;
}

void SetShutdownClearsHolderFlags(bool clears) { g_shutdownClearsHolderFlags = clears; }

void ShutdownCallbackRegistry() {
    if (g_shutdownClearsHolderFlags) TheCallbackRegistry().DropCallbacks();
}

void ResetFace() {
    g_shutdownClearsHolderFlags = false;
    TheCallbackRegistry().Reset();
    ResetDelivery();
}

}  // namespace offline_steam
