// The client face's side of the model (offline/model/face.h).
#include "face.h"

#include "client_state.h"

namespace offline_steam {

int FaceProfile() { return kClientFaceProfile; }

// Valve's 1.61+ libraries ask for STEAMUSERSTATS_INTERFACE_VERSION013, which
// has no RequestCurrentStats: the stats are there at once.
bool StatsArriveOnRequest() { return !client::LibraryExpectsStatsAtStart(); }

void ResetFace() { client::ResetClientState(); }

// The holders live inside Valve's library; this face never sees them.
int RegisteredCallbackCount(int) { return 0; }
int PendingCallResultCount() { return 0; }

// Call results Steam_GetAPICallResult refused: the library asked with a size
// or callback id other than the record's.
int SizeMismatchCount() { return client::CallResultMismatches(); }

void SetShutdownClearsHolderFlags(bool) {}
}  // namespace offline_steam
