// Typed lookups of the simulator's controls in the loaded client library.
#include "sim_controls.h"

#include <cstring>

#include "bridge_library.h"
#include "steam_sim.h"

namespace sim_controls {
namespace {

template <class Function>
Function Control(const char* name) {
    void* address = FindClientLibraryExport(name);
    Function function = nullptr;
    if (address) std::memcpy(&function, &address, sizeof function);
    return function;
}

#define SIM_CONTROL(name) Control<decltype(&name)>(#name)

}  // namespace

int Profile() {
    const auto profile = SIM_CONTROL(SteamSim_Profile);
    return profile ? profile() : 0;
}

bool LastOverlayDialog(std::string* dialog) {
    const auto lastDialog = SIM_CONTROL(SteamSim_LastOverlayDialog);
    if (!lastDialog) return false;
    const char* text = lastDialog();
    *dialog = text ? text : "";
    return true;
}

ScoreLookup LeaderboardScore(const std::string& board, int32_t* score) {
    const auto userScore = SIM_CONTROL(SteamSim_LeaderboardScore);
    if (!userScore) return ScoreLookup::NoControl;
    return userScore(board.c_str(), score) ? ScoreLookup::Kept : ScoreLookup::NoScore;
}

}  // namespace sim_controls
