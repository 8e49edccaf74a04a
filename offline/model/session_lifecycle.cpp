// Coordinates the parts of the simulator when the session starts, stops or is reset.
#include "session_lifecycle.h"

#include "achievement_icons.h"
#include "call_log.h"
#include "call_results.h"
#include "event_reports.h"
#include "face.h"
#include "global_stats.h"
#include "leaderboards.h"
#include "record_queue.h"
#include "schema.h"
#include "session.h"
#include "stats_server.h"

namespace offline_steam {
namespace {

std::string& StartRefusal() {
    static std::string& reason = *new std::string;  // never destroyed: see TheSession
    return reason;
}

// What the library did between the user's connection and its first frame.
struct StartWatch {
    int frame = 0;        // the frame the session started at
    std::string refused;  // the last version refused since, when nothing was served after it
    std::string unknown;  // the last version the 1.59+ check found unknown
    bool failed = false;  // the library failed the start after all: no shutdown follows
};

StartWatch& Watch() {
    static StartWatch& watch = *new StartWatch;
    return watch;
}

// The library checks its start's versions (1.59+): then a NULL before the
// first frame is an accessor's, and fails nothing.
bool& LibraryChecksStart() {
    static bool checks = false;
    return checks;
}

bool BeforeFirstFrame() { return TheSession().Running() && TheSession().Frame() == Watch().frame; }

// The "start" line that takes back the successful one: the library gave up.
void FailStart(const std::string& version) {
    Watch().failed = true;
    ReportStart(false, "the library refused the start: No " + version);
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
    Watch() = StartWatch{TheSession().Frame(), std::string(), std::string(), false};
    TheStatsServer().BeginSession();
    TheGlobalStats().BeginSession();
    TheAchievementIcons().BeginSession();
    ReportStart(true, std::string());
    return true;
}

void RefuseStarts(const std::string& reason) { StartRefusal() = reason; }

void NoteInterfaceAsked(const char* version, bool served) {
    const std::string name = version != nullptr ? version : "(null)";
    ReportInterfaceAsked(name, served);
    if (!BeforeFirstFrame() || Watch().failed || LibraryChecksStart()) return;
    Watch().refused = served ? std::string() : name;
}

void NoteInterfaceChecked(const char* version, bool known) {
    LibraryChecksStart() = true;
    Watch().refused.clear();
    NoteInterfaceAsked(version, known);
    Watch().unknown = known || version == nullptr ? std::string() : version;
}

void NoteMethodCalled() { Watch().refused.clear(); }

void NoteMissingInterface(const char* version) {
    // The library also names a version an accessor got NULL for, after its
    // start; only the one its start's check found unknown fails the start.
    if (version == nullptr) return;
    if (Watch().unknown != version) {
        if (Watch().refused == version) Watch().refused.clear();
        return;
    }
    Watch().unknown.clear();
    if (!(Watch().failed && TheSession().Running())) FailStart(version);
}

void StopSession() {
    if (!TheSession().Running()) return;
    if (!Watch().failed && !Watch().refused.empty() && BeforeFirstFrame())
        FailStart(Watch().refused);
    // A start the library gave up was never the game's session: nothing to store or shut down.
    if (!Watch().failed) {
        StorePending("shutdown");
        ReportShutdown("api");
    }
    TheSession().SetRunning(false);
    TheRecordQueue().Clear();
    TheFinishedCalls().Clear();
}

void EndSessionAtExit() {
    if (!TheSession().Running()) return;
    if (!Watch().failed) {
        StorePending("exit");
        ReportShutdown("exit");
    }
    // The process is ending: a thread still calling Steam now finds the
    // session stopped, as after a shutdown, and changes nothing more.
    TheSession().SetRunning(false);
}

void ResetSimulator() {
    TheSession().Reset();
    Watch() = StartWatch{};
    TheCallLog().Clear();
    TheRecordQueue().Clear();
    TheFinishedCalls().Clear();
    ResetFace();
    TheStatsServer().Reset();
    TheLeaderboards().Reset();
    TheGlobalStats().Reset();
    TheAchievementIcons().Reset();
}

}  // namespace offline_steam
