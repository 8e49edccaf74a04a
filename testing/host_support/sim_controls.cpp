// The lookups of the simulator's controls the demo shows.
#include "host_support/sim_controls.h"

namespace sim_controls {

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
