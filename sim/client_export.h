// Export decoration and per-profile switches for the client functions the simulator provides.
#pragma once

#ifndef STEAM_SIM_PROFILE
#error "STEAM_SIM_PROFILE must be defined to 157, 163 or 0"
#endif
#if STEAM_SIM_PROFILE != 157 && STEAM_SIM_PROFILE != 163 && STEAM_SIM_PROFILE != 0
#error "STEAM_SIM_PROFILE must be 157, 163 or 0"
#endif

// Plain C names with the default (cdecl) convention, as the real library exports them.
#if defined(_WIN32)
#define SIM_CLIENT_EXPORT extern "C" __declspec(dllexport)
#else
#define SIM_CLIENT_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Profile 0 is the 1.57 export set with StoreStats missing, to exercise a
// library that lacks a function the bridge requires.
#define SIM_HAS_LEGACY_INIT (STEAM_SIM_PROFILE != 163)
#define SIM_HAS_FLAT_INIT (STEAM_SIM_PROFILE == 163)
#define SIM_HAS_REQUEST_CURRENT_STATS (STEAM_SIM_PROFILE != 163)
#define SIM_HAS_STORE_STATS (STEAM_SIM_PROFILE != 0)

namespace steam_sim {
// From 1.61 on, the client has synchronised the user's stats before the game starts.
constexpr bool kStatsNeedRequest = SIM_HAS_REQUEST_CURRENT_STATS;
}  // namespace steam_sim
