// Typed access to the simulated client library's controls from a host that
// only has the library loaded at run time: the controls themselves, and the
// few lookups the demo shows, which answer for a library without them too.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "host_support/bridge_library.h"
#include "steam_sim.h"

// SIM_CONTROL(SteamSim_Profile): the control of the loaded client library,
// typed by its declaration in steam_sim.h; null where there is none (Valve's
// library, or none loaded).
#define SIM_CONTROL(name) (FindClientLibraryFunction<decltype(&name)>(#name))

template <class Function>
Function RequiredSimControl(Function function, const char* name) {
    if (!function) throw std::runtime_error(std::string("client library lacks ") + name);
    return function;
}

// SIM(SteamSim_Reset)() calls the control, which a test cannot do without.
#define SIM(name) (RequiredSimControl(SIM_CONTROL(name), #name))

// Each control is looked up at every use: the client library is loaded by
// steamInit and released by steamFree, and a real one has none of them.
namespace sim_controls {

// The simulator's export profile (157 or 163, STEAM_SIM_CLIENT_FACE_PROFILE
// for the stand-in Steam client); 0 for another client library.
int Profile();

// False when the control is missing; otherwise the dialog of the last overlay
// opened ("" when none).
bool LastOverlayDialog(std::string* dialog);

enum class ScoreLookup { NoControl, NoScore, Kept };
// The score Steam keeps for the user on the board named `board` (its narrow name).
ScoreLookup LeaderboardScore(const std::string& board, int32_t* score);

}  // namespace sim_controls
