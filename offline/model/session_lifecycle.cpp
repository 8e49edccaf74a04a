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

namespace offline_steam {

bool StartSession() {
    if (TheSession().Running()) return true;
    std::string refusal;
    if (!run::StartAllowed(&refusal)) {
        run::NoteStart(false, refusal);
        return false;
    }
    if (!TheSession().StartSucceeds()) {
        run::NoteStart(false, "Steam is not running (the scenario's steamNotRunning fault)");
        return false;
    }
    TheSession().SetRunning(true);
    TheStatsServer().BeginSession();
    run::NoteStart(true, std::string());
    return true;
}

void StopSession() {
    if (!TheSession().Running()) return;
    // Steam stores what the game set and did not store when it shuts down.
    if (TheStatsServer().HasPendingChanges())
        run::NoteStore(TheStatsServer().Store(TheSession().Clock()), "shutdown");
    run::NoteShutdown("api");
    TheSession().SetRunning(false);
    TheRecordQueue().Clear();
}

void ResetSimulator() {
    TheSession().Reset();
    TheCallLog().Clear();
    TheRecordQueue().Clear();
    ResetFace();
    TheStatsServer().Reset();
    TheLeaderboards().Reset();
}

}  // namespace offline_steam
