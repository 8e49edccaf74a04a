// Delivery of due records to registered holders, the work of SteamAPI_RunCallbacks.
#pragma once

namespace offline_steam {

// Advances the frame and, while the session runs, delivers every record due.
void RunCallbackFrame();

void ResetDelivery();

}  // namespace offline_steam
