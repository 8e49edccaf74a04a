// The client face's side of the model (sim/model/face.h).
#include "face.h"

#include "client_state.h"
#include "steam_sim.h"

namespace steam_sim {

// SteamSim_Profile's answer for the stand-in steamclient.dll.
int faceProfile() { return STEAM_SIM_CLIENT_FACE_PROFILE; }

// Valve's 1.61+ libraries ask for STEAMUSERSTATS_INTERFACE_VERSION013, which
// has no RequestCurrentStats: the stats are there at once.
bool statsArriveOnRequest() { return !client::libraryExpectsStatsAtStart(); }

void resetFace() { client::resetClientState(); }

// The holders live inside Valve's library; this face never sees them.
int registeredCallbackCount(int) { return 0; }
int pendingCallResultCount() { return 0; }

// Call results Steam_GetAPICallResult refused: the library asked with a size
// or callback id other than the record's.
int sizeMismatchCount() { return client::callResultMismatches(); }

void setShutdownClearsHolderFlags(bool) {}


}  // namespace steam_sim
