/* The exported interface compiles as C (C11), with its layout checks. */
#include "steambridge.h"

int steambridge_header_compiles_as_c(void) {
    AchievementInfo info = {0};
    return (int)sizeof info + (int)sizeof(SteamBridgeChar16);
}
