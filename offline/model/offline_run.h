// The offline Steam's run: a process whose environment names a scenario, a
// state file or a journal. The scenario then replaces the built-in one, the
// user's state lasts between runs in the state file, and what the game did
// goes to the journal (journal.h). Without those variables nothing here acts.
//   STEAMBRIDGE_OFFLINE_SCENARIO  the scenario file
//   STEAMBRIDGE_OFFLINE_STATE     the state file: read at start, written after each accepted store
//   STEAMBRIDGE_OFFLINE_JOURNAL   the journal, appended to
// Callers hold the ModelGuard.
#pragma once

#include <string>

#include "stats_server.h"

namespace offline_steam::run {

// Once per process, before the library's first request: loads the files the
// environment names. Harmless to call again.
void Prepare();
// Whether the start may go on; false once a file was refused, with why.
bool StartAllowed(std::string* reason);

bool Active();
// Journal lines; each is a no-op outside an offline run.
void NoteStart(bool ok, const std::string& reason);
void NoteStatsReceived(int result);
void NoteStore(const StatsServer::StoreOutcome& outcome, const char* when);
void NoteScore(const char* board, int score, bool changed, bool success);
void NoteUnserved(const std::string& method);
// Once per code and text: what real Steam would refuse or punish.
void Warn(const char* code, const std::string& text);
// Steam's side now, in the journal and in the state file.
void SaveState();
// The game shut Steam down ("api") or the process ended with it up ("exit").
void NoteShutdown(const char* how);

}  // namespace offline_steam::run
