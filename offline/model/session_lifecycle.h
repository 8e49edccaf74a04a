// Starting, stopping and resetting the whole simulated client.
#pragma once

namespace steam_sim {

// False (and nothing starts) when the simulator is set to refuse the start.
bool startSession();
// Stops the session and drops every record not yet delivered.
void stopSession();
// Every default back, as SteamSim_Reset documents.
void resetSimulator();

}  // namespace steam_sim
