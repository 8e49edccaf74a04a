// The offline Steam's run: a process whose environment names a scenario, a
// state file or a journal. The scenario then replaces the built-in one, the
// user's state lasts between runs in the state file, and what the game did
// goes to the journal (journal.h). Without those variables nothing here acts.
//   STEAMBRIDGE_OFFLINE_SCENARIO  the scenario file
//   STEAMBRIDGE_OFFLINE_STATE     the state file: read at start, written after each accepted store
//   STEAMBRIDGE_OFFLINE_JOURNAL   the journal, appended to
// Callers hold the SimGuard.
#pragma once

#include <string>

#include "stats_server.h"

namespace steam_sim::offline {

// Once per process, before the library's first request: loads the files the
// environment names. Harmless to call again.
void prepare();
// Whether the start may go on; false once a file was refused, with why.
bool startAllowed(std::string* reason);

bool active();
// Journal lines; each is a no-op outside an offline run.
void noteStart(bool ok, const std::string& reason);
void noteStatsReceived(int result);
void noteStore(const StatsServer::StoreOutcome& outcome, const char* when);
void noteScore(const char* board, int score, bool changed, bool success);
void noteUnserved(const std::string& method);
// Once per code and text: what real Steam would refuse or punish.
void warn(const char* code, const std::string& text);
// Steam's side now, in the journal and in the state file.
void saveState();
// The game shut Steam down ("api") or the process ended with it up ("exit").
void noteShutdown(const char* how);

}  // namespace steam_sim::offline
