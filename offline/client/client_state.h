// The stand-in client's own state beside the model: pipes, the global user,
// the callbacks waiting for Steam_BGetCallback, refused interfaces (finished
// call results wait in the model, call_results.h, for Steam_GetAPICallResult
// and the game's ISteamUtils polling alike). Callers hold the ModelGuard.
#pragma once

namespace offline_steam::client {

// Pipes: numbered from 1; 0 is never a pipe.
int OpenPipe();
bool ClosePipe(int pipe);  // false when it was not open
bool IsPipeOpen(int pipe);
bool AnyPipeOpen();

// The global user: connecting starts the model's session, releasing stops it.
constexpr int kGlobalUser = 1;
int ConnectGlobalUser(int pipe);  // 0 when the pipe is not open or the start is refused
void ReleaseUser(int pipe, int user);
bool IsConnectedUser(int user);

// ISteamUtils::RunFrame, first in each SteamAPI_RunCallbacks: advances the
// model's frame and turns due records into callback messages (a call result
// becomes a SteamAPICallCompleted_t message and a stored payload).
void RunClientFrame();

// Valve's library asked for this interface version; remembers whether it is
// STEAMUSERSTATS_INTERFACE_VERSION013 (stats there before the game starts).
void NoteInterfaceServed(const char* version);
bool LibraryExpectsStatsAtStart();

// Steam_GetAPICallResult calls refused for a wrong size or callback id.
int CallResultMismatches();

void ResetClientState();

}  // namespace offline_steam::client
