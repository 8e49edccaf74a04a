// Coordinates the parts of the simulator when the session starts, stops or is reset.
#include "session_lifecycle.h"

#include "call_log.h"
#include "face.h"
#include "leaderboards.h"
#include "offline_run.h"
#include "record_queue.h"
#include "schema.h"
#include "session.h"
#include "stats_server.h"

namespace steam_sim {

bool startSession() {
    if (session().running()) return true;
    std::string refusal;
    if (!offline::startAllowed(&refusal)) {
        offline::noteStart(false, refusal);
        return false;
    }
    if (!session().startSucceeds()) {
        offline::noteStart(false, "Steam is not running (the scenario's steamNotRunning fault)");
        return false;
    }
    session().setRunning(true);
    statsServer().beginSession();
    offline::noteStart(true, std::string());
    return true;
}

void stopSession() {
    if (!session().running()) return;
    // Steam stores what the game set and did not store when it shuts down.
    if (statsServer().hasPendingChanges())
        offline::noteStore(statsServer().store(session().clock()), "shutdown");
    offline::noteShutdown("api");
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
