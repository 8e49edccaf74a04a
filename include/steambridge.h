/* steambridge: Steam for a game through one small DLL. The game (the host)
   calls steamInit once, steamCallBacks every frame, the others on game events
   and steamFree last, all from one thread. Texts reach the host as UTF-16 in
   buffers it owns, through host slots: the address of a host pointer variable
   that holds the address of the buffer. */
#ifndef STEAMBRIDGE_H
#define STEAMBRIDGE_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(_WIN32)
#define STEAMBRIDGE_CALL __cdecl
#if defined(STEAMBRIDGE_BUILDING)
#define STEAMBRIDGE_API __declspec(dllexport)
#elif defined(STEAMBRIDGE_STATIC)
#define STEAMBRIDGE_API
#else
#define STEAMBRIDGE_API __declspec(dllimport)
#endif
#else
#define STEAMBRIDGE_CALL
#define STEAMBRIDGE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
/* One UTF-16 code unit, on every platform (never Linux's 32-bit wchar_t). */
typedef char16_t SteamBridgeChar16;
extern "C" {
#else
typedef uint_least16_t SteamBridgeChar16;
#endif

/* Starts Steam. True when the client library was found and started. On
   success writes the current game language into the buffer of
   `languageSlot` and the game's available languages (comma-separated, as
   Steam gives them) into that of `availableLanguagesSlot`, each terminated;
   a null slot, or one holding null, is skipped. On failure nothing is
   written and every other export answers as not ready. Called again while
   running, it starts nothing, writes the two texts again and returns true. */
STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamInit(SteamBridgeChar16* const* languageSlot,
                                                SteamBridgeChar16* const* availableLanguagesSlot);

/* Shuts Steam down and releases everything steamInit made. Always true; does
   nothing when not running. Afterwards every export answers as not ready. */
STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamFree(void);

/* Delivers Steam's pending callbacks; call once per frame. Nothing when not
   running. */
STEAMBRIDGE_API void STEAMBRIDGE_CALL steamCallBacks(void);

/* The logged-on user's 64-bit Steam ID; 0 when not running. */
STEAMBRIDGE_API uint64_t STEAMBRIDGE_CALL steamUserID(void);

#ifdef __cplusplus
}
#endif

#endif
