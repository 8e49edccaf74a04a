// Delivery of due records to registered holders, the work of SteamAPI_RunCallbacks.
#pragma once

namespace steam_sim {

// Advances the frame and, while the session runs, delivers every record due.
void runCallbackFrame();

void resetDelivery();

}  // namespace steam_sim
