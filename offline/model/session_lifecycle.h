// Starting, stopping and resetting the whole simulated client.
#pragma once

#include <string>

namespace offline_steam {

// False (and nothing starts) when the simulator is set to refuse the start.
bool StartSession();
// Every later start fails with `reason` (a file of an offline run was
// refused); a reset keeps it.
void RefuseStarts(const std::string& reason);
// Stops the session and drops every record not yet delivered.
void StopSession();
// The process ends with the session up: Steam stores what was set and not
// stored, as it does when the game shuts it down.
void EndSessionAtExit();
// Every default back, as SteamSim_Reset documents.
void ResetSimulator();

}  // namespace offline_steam
