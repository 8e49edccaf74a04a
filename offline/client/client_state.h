// The stand-in client's own state beside the model: pipes, the global user,
// the callbacks waiting for Steam_BGetCallback, finished call results waiting
// for Steam_GetAPICallResult, refused interfaces. Callers hold the SimGuard.
#pragma once

namespace steam_sim::client {

// Pipes: numbered from 1; 0 is never a pipe.
int openPipe();
bool closePipe(int pipe);  // false when it was not open
bool isPipeOpen(int pipe);
bool anyPipeOpen();

// The global user: connecting starts the model's session, releasing stops it.
constexpr int kGlobalUser = 1;
int connectGlobalUser(int pipe);  // 0 when the pipe is not open or the start is refused
void releaseUser(int pipe, int user);
bool isConnectedUser(int user);

// ISteamUtils::RunFrame, first in each SteamAPI_RunCallbacks: advances the
// model's frame and turns due records into callback messages (a call result
// becomes a SteamAPICallCompleted_t message and a stored payload).
void runClientFrame();

// Valve's library asked for this interface version; remembers whether it is
// STEAMUSERSTATS_INTERFACE_VERSION013 (stats there before the game starts).
void noteInterfaceServed(const char* version);
bool libraryExpectsStatsAtStart();

// Steam_GetAPICallResult calls refused for a wrong size or callback id.
int callResultMismatches();

void resetClientState();

}  // namespace steam_sim::client
