// The model's face (offline/model/face.h) for the cases that run the model
// itself, with no client library around it: stats arrive on request, and
// there are no holders or call results to count.
#include "face.h"

namespace offline_steam {

int FaceProfile() { return kClientFaceProfile; }
bool StatsArriveOnRequest() { return true; }
void ResetFace() {}
int RegisteredCallbackCount(int) { return 0; }
int PendingCallResultCount() { return 0; }
int SizeMismatchCount() { return 0; }
void SetShutdownClearsHolderFlags(bool) {}

}  // namespace offline_steam
