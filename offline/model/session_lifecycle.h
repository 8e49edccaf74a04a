// Starting, stopping and resetting the whole simulated client.
#pragma once

namespace offline_steam {

// False (and nothing starts) when the simulator is set to refuse the start.
bool StartSession();
// Stops the session and drops every record not yet delivered.
void StopSession();
// Every default back, as SteamSim_Reset documents.
void ResetSimulator();

}  // namespace offline_steam
