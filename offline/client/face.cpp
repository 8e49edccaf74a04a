// The client face's side of the model (offline/model/face.h).
#include "face.h"

#include "client_state.h"

namespace steam_sim {

int faceProfile() { return kClientFaceProfile; }

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
