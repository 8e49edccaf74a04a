/* Control interface of the simulated client library, for tests and the demo. */
#ifndef STEAM_SIM_H
#define STEAM_SIM_H

#include <stdbool.h>
#include <stdint.h>

#if defined(_WIN32) && defined(STEAM_SIM_BUILDING)
#define STEAM_SIM_API __declspec(dllexport)
#define STEAM_SIM_CALL __cdecl
#elif defined(_WIN32)
#define STEAM_SIM_API __declspec(dllimport)
#define STEAM_SIM_CALL __cdecl
#else
#define STEAM_SIM_API __attribute__((visibility("default")))
#define STEAM_SIM_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Which export profile this build of the simulator is: 157, 158, 163, or 0 for
   the profile that lacks a required function; STEAM_SIM_CLIENT_FACE_PROFILE
   for the stand-in steamclient.dll beneath Valve's library. */
#define STEAM_SIM_CLIENT_FACE_PROFILE 1
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_Profile(void);

/* ---- Session -------------------------------------------------------------
   Reset restores every default of the scenario in force (our game's,
   offline/examples/game_schema.json, unless an offline run named another):
   start succeeds, user logged on with ID 76561197960287930, app ID 480,
   current language "english", available "english,german,french,japanese",
   no stat set and no achievement unlocked, empty call log, nothing queued,
   clock 1700000000. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_Reset(void);
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetStartSucceeds(bool succeeds);
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetLoggedOn(bool loggedOn);
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetAppId(uint32_t appId);
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetUserId(uint64_t steamId);
/* Both texts are UTF-8 and copied; null makes the getter return null. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetLanguages(const char* current, const char* available);
/* Interface by its unversioned name ("SteamUser", "SteamUserStats", "SteamUtils",
   "SteamApps", "SteamFriends", "SteamClient"): when set, the client refuses its
   version and its accessor returns null. A start that needs it fails: the
   client and utils always, the user from 1.58 on. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetAccessorNull(const char* accessor, bool returnsNull);
/* 1 between a successful start and shutdown. */
/* A library that, at SteamAPI_Shutdown, drops every callback registration and
   clears the holders' registered flags (flat face only). */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetShutdownClearsHolderFlags(bool clears);
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_IsRunning(void);
/* Dialog name of the last overlay opened, "" when none. */
STEAM_SIM_API const char* STEAM_SIM_CALL SteamSim_LastOverlayDialog(void);

/* ---- Call log ------------------------------------------------------------
   Every exported client function appends one line: its export name, then the
   arguments in parentheses separated by ", " (texts unquoted, bools 0/1,
   floats with %g), e.g. "SteamAPI_ISteamUserStats_SetStatInt32(STAT_KILLS, 5)".
   Output pointers and the interface pointer are left out; a holder appears as
   its callback id or call handle; a null text as (null); the details array of
   UploadLeaderboardScore as its values in brackets, e.g. "[3 7]". */
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_CallLogSize(void);
/* Null when index is out of range; the text stays valid until the log is cleared. */
STEAM_SIM_API const char* STEAM_SIM_CALL SteamSim_CallLogEntry(int index);
/* Number of logged calls of one export, by its exact export name. */
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_CallCount(const char* exportName);
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_ClearCallLog(void);

/* ---- Callback registry and delivery -------------------------------------- */
/* Registered holders for a callback id (flag bit 0 set and not unregistered). */
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_RegisteredCallbacks(int callbackId);
/* Call results registered and not yet delivered or unregistered. */
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_PendingCallResults(void);
/* Records not delivered because a holder's size entry did not match. */
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_SizeMismatches(void);
/* Queue a raw record for every holder registered for callbackId, delivered
   at the next SteamAPI_RunCallbacks. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_PostCallback(int callbackId, const void* record,
                                                        int size);
/* Game ID carried by the records the simulator makes itself; 0 (the default)
   means this app's own ID. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetRecordGameId(uint64_t gameId);
/* Number of SteamAPI_RunCallbacks calls so far. */
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_Frame(void);

/* ---- Stats and achievements ---------------------------------------------- */
/* Profile 1.57: frames between RequestCurrentStats and its stats-received
   record (default 1: delivered at the next SteamAPI_RunCallbacks), and the
   result code it carries (default 1). */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetStatsReceivedDelay(int frames);
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetStatsReceivedResult(int result);
/* Queue a stats-received record now (any profile), with this result. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_PostStatsReceived(int result);
/* The next StoreStats answers with this result code whatever it validated
   (it still commits what it validated). */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_ForceNextStoreResult(int result);
/* The next StoreStats answers false, as Steam does when it cannot take a store:
   nothing is committed and no record follows. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_RefuseNextStore(void);
/* Valid range of a stat (the schema's, 0 to 2000000000 in ours); a stored
   value outside it is rejected and the store answers 8. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetStatRange(const char* statName, int32_t minimum,
                                                        int32_t maximum);
/* Set the value on the server, as another device would: the client's view
   changes too, no callback is posted. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetStatFromOtherDevice(const char* statName,
                                                                  int32_t value);
STEAM_SIM_API void STEAM_SIM_CALL
SteamSim_SetAchievementFromOtherDevice(const char* achievementName, bool achieved);
/* Server values; false when the name is unknown. */
STEAM_SIM_API bool STEAM_SIM_CALL SteamSim_ServerStat(const char* statName, int32_t* value);
STEAM_SIM_API bool STEAM_SIM_CALL SteamSim_ServerAchievement(const char* achievementName,
                                                             bool* achieved, uint32_t* unlockTime);
/* Clock for unlock times, seconds since 1970. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetClock(uint32_t unixTime);
/* Override one display attribute ("name", "desc", "hidden"); null makes
   GetAchievementDisplayAttribute return null for it. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetDisplayAttribute(const char* achievementName,
                                                               const char* key, const char* value);

/* ---- Leaderboards -------------------------------------------------------- */
/* Faults for the next leaderboard call (find or upload) only. */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_FailNextCallHandle(void); /* returns call handle 0 */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_FailNextCallIo(void);   /* answer with I/O failure set */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_NextFindNotFound(void); /* found = 0, handle 0 */
/* Frames between a leaderboard call and its call result (default 1). */
STEAM_SIM_API void STEAM_SIM_CALL SteamSim_SetCallResultLatency(int frames);
/* Board handle by name, 0 when no such board. */
STEAM_SIM_API uint64_t STEAM_SIM_CALL SteamSim_LeaderboardHandle(const char* boardName);
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_LeaderboardSortMethod(const char* boardName);
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_LeaderboardDisplayType(const char* boardName);
/* The logged-on user's score on a board; false when there is none. */
STEAM_SIM_API bool STEAM_SIM_CALL SteamSim_LeaderboardScore(const char* boardName, int32_t* score);
STEAM_SIM_API int STEAM_SIM_CALL SteamSim_LeaderboardCount(void);

#ifdef __cplusplus
}
#endif

#endif
