// What each face of the simulated Steam (the flat client library, the Steam
// client beneath Valve's library) provides to the shared model and controls.
// Each face's library defines these once.
#pragma once

namespace offline_steam {

// The client face's profile number; the controls publish it to tests as
// STEAM_SIM_CLIENT_FACE_PROFILE.
constexpr int kClientFaceProfile = 1;

// SteamSim_Profile's answer: the export profile of a flat face, or
// kClientFaceProfile.
int FaceProfile();
// False where the client has the user's stats before the game starts
// (1.61 and later): they are there at once and no request is needed.
bool StatsArriveOnRequest();
// The face's own state back to its defaults, on SteamSim_Reset.
void ResetFace();
// Holders registered for a callback id, and call results still awaited, as
// far as the face sees registrations (the client face never does).
int RegisteredCallbackCount(int callbackId);
int PendingCallResultCount();
// Records a flat face did not deliver because a holder's size entry disagreed.
int SizeMismatchCount();
// Makes a flat face's shutdown drop every callback registration and clear
// the holders' registered flags, as a library may; the client face never
// sees registrations, so there it changes nothing.
void SetShutdownClearsHolderFlags(bool clears);

}  // namespace offline_steam
