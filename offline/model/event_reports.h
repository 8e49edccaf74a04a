// The model's side of its events (model_events.h): each report gathers what
// the installed sink receives from the model's state, and does nothing while
// none is installed. Callers hold the ModelGuard.
#pragma once

#include <string>

#include "model_events.h"
#include "stats_server.h"

namespace offline_steam {

void ReportStart(bool ok, const std::string& reason);
void ReportStatsReceived(int result);
// Also warns of rejected stats and of stores more frequent than Valve
// advises, and reports the state after an accepted store.
void ReportStore(const StatsServer::StoreOutcome& outcome, const char* when);
// Also reports the state when the score changed.
void ReportScore(const char* board, int score, bool changed, bool success);
void ReportUnserved(const std::string& method);
// Once per version and answer.
void ReportInterfaceAsked(const std::string& version, bool served);
// Once per code and text: what real Steam would refuse or punish.
void Warn(WarningCode code, const std::string& text);
// Steam's side now.
void ReportState();
// Reports the state, then the shutdown ("api" or "exit").
void ReportShutdown(const char* how);
// The user's rich presence as it is now (after a change).
void ReportRichPresence();

}  // namespace offline_steam
