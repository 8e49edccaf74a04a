// Export decoration and per-profile switches for the client functions the simulator provides.
#pragma once

#ifndef STEAM_SIM_PROFILE
#error "STEAM_SIM_PROFILE must be defined to 157, 158, 163 or 0"
#endif
#if STEAM_SIM_PROFILE != 157 && STEAM_SIM_PROFILE != 158 && STEAM_SIM_PROFILE != 163 && \
    STEAM_SIM_PROFILE != 0
#error "STEAM_SIM_PROFILE must be 157, 158, 163 or 0"
#endif

// Plain C names with the default (cdecl) convention, as the real library exports them.
#if defined(_WIN32)
#define SIM_CLIENT_EXPORT extern "C" __declspec(dllexport)
#else
#define SIM_CLIENT_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Profile 0 is the 1.57 export set with StoreStats missing, to exercise a
// library that lacks a function the bridge requires.
// Profile 158 starts only through SteamInternal_SteamAPI_Init, as 1.58 does.
#define SIM_HAS_LEGACY_INIT (STEAM_SIM_PROFILE == 157 || STEAM_SIM_PROFILE == 0)
#define SIM_HAS_INTERNAL_INIT (STEAM_SIM_PROFILE == 158)
#define SIM_HAS_FLAT_INIT (STEAM_SIM_PROFILE == 163)
#define SIM_HAS_REQUEST_CURRENT_STATS (STEAM_SIM_PROFILE != 163)
#define SIM_HAS_STORE_STATS (STEAM_SIM_PROFILE != 0)
