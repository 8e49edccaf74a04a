// Coordinates the parts of the simulator when the session starts, stops or is reset.
#include "session_lifecycle.h"

#include "call_log.h"
#include "face.h"
#include "leaderboards.h"
#include "record_queue.h"
#include "session.h"
#include "stats_server.h"

namespace steam_sim {

bool startSession() {
    if (session().running()) return true;
    if (!session().startSucceeds()) return false;
    session().setRunning(true);
    statsServer().beginSession();
    return true;
}

void stopSession() {
    if (!session().running()) return;
    session().setRunning(false);
    recordQueue().clear();
}

void resetSimulator() {
    session().reset();
    callLog().clear();
    recordQueue().clear();
    resetFace();
    statsServer().reset();
    leaderboards().reset();
}

}  // namespace steam_sim
