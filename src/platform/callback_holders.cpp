// The base entries of a holder; every holder the bridge makes overrides them.
#include "platform/callback_holders.h"

namespace steambridge {

void CCallbackBase::Run(void*, bool, SteamAPICall_t) {}
void CCallbackBase::Run(void*) {}
int CCallbackBase::GetCallbackSizeBytes() { return 0; }

}  // namespace steambridge
