// Coordinates the parts of the simulator when the session starts, stops or is reset.
#include "session_lifecycle.h"

#include "call_log.h"
#include "event_reports.h"
#include "face.h"
#include "leaderboards.h"
#include "record_queue.h"
#include "schema.h"
#include "session.h"
#include "stats_server.h"

namespace offline_steam {
namespace {

std::string& StartRefusal() {
    static std::string reason;
    return reason;
}

// Steam stores what the game set and did not store when it shuts down.
void StorePending(const char* when) {
    if (TheStatsServer().HasPendingChanges())
        ReportStore(TheStatsServer().Store(TheSession().Clock()), when);
}

}  // namespace

bool StartSession() {
    if (TheSession().Running()) return true;
    if (!StartRefusal().empty()) {
        ReportStart(false, StartRefusal());
        return false;
    }
    if (!TheSession().StartSucceeds()) {
        ReportStart(false, "Steam is not running (the scenario's steamNotRunning fault)");
        return false;
    }
    TheSession().SetRunning(true);
    TheStatsServer().BeginSession();
    ReportStart(true, std::string());
    return true;
}

void RefuseStarts(const std::string& reason) { StartRefusal() = reason; }

void StopSession() {
    if (!TheSession().Running()) return;
    StorePending("shutdown");
    ReportShutdown("api");
    TheSession().SetRunning(false);
    TheRecordQueue().Clear();
}

void EndSessionAtExit() {
    if (!TheSession().Running()) return;
    StorePending("exit");
    ReportShutdown("exit");
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
