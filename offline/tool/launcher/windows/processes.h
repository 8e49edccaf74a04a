// The game's process on Windows, and the console's events while it runs.
#pragma once

namespace offline_tool {

// From now on Ctrl-C and Ctrl-Break are left to the game, and a closing
// console puts the registry key back (StopStandingIn) before the launcher ends.
void WatchConsoleEvents();

}  // namespace offline_tool
