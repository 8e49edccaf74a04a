// The simulated client library's controls the demo shows, when present.
#pragma once

#include <cstdint>
#include <string>

// Each control is looked up at every use: the client library is loaded by
// steamInit and released by steamFree, and a real one has none of them.
namespace sim_controls {

// The simulator's export profile (157 or 163); 0 for another client library.
int Profile();
// The profile the stand-in Steam client answers, beneath Valve's library.
constexpr int kSteamClientProfile = 1;

// False when the control is missing; otherwise the dialog of the last overlay
// opened ("" when none).
bool LastOverlayDialog(std::string* dialog);

enum class ScoreLookup { NoControl, NoScore, Kept };
// The score Steam keeps for the user on the board named `board` (its narrow name).
ScoreLookup LeaderboardScore(const std::string& board, int32_t* score);

}  // namespace sim_controls
