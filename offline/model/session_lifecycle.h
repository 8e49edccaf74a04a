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
// stored, as it does when the game shuts it down. The session is stopped
// after, so a call from another thread during the exit changes nothing.
// Called under the model's lock.
void EndSessionAtExit();
// The library or the game asked for an interface `version` and got it or not.
// Valve's library before 1.59 asks for each version during its start and, on
// NULL, releases the user before any frame and fails "No <version>": a refusal
// after the user connected and before the first frame, with nothing served
// and no method called after it, makes a release before any frame the
// start's failure. A library that checks its start's versions (1.59+ through
// SteamInternal_SteamAPI_Init, below) is judged by that check alone.
void NoteInterfaceAsked(const char* version, bool served);
// From 1.59 the library's start checks each version of its list
// (Steam_IsKnownInterface); for an unknown one it names it
// (Steam_NotifyMissingInterface) and fails the start. It also names a version
// an accessor got NULL for after its start, which fails nothing.
void NoteInterfaceChecked(const char* version, bool known);
// A method of a served interface was called: the start went on.
void NoteMethodCalled();
void NoteMissingInterface(const char* version);
// Every default back, as SteamSim_Reset documents.
void ResetSimulator();

}  // namespace offline_steam
