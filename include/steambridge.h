/* steambridge: Steam for a game through one small DLL. The game (the host)
   calls steamInit once, steamCallBacks every frame, the others on game events
   and steamFree last, all from one thread. Texts reach the host as UTF-16 in
   buffers it owns, through host slots: the address of a host pointer variable
   that holds the address of the buffer. */
#ifndef STEAMBRIDGE_H
#define STEAMBRIDGE_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

/* STEAMBRIDGE_VERSION_MAJOR, _MINOR and _PATCH: generated from the build's
   version and shipped beside this header. */
#include "steambridge_version.h"

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

/* ---- The host's numbers ------------------------------------------------------ */

#define STEAMBRIDGE_ACHIEVEMENT_COUNT 61 /* achievements, numbered 1 to 61 */
#define STEAMBRIDGE_STAT_COUNT 24        /* integer stats, indexed 0 to 23 */

/* Sizes of the host's UTF-16 buffers in units, terminators included: the
   bridge never writes more into a buffer than its size here. */
#define STEAMBRIDGE_LANGUAGE_UNITS 64             /* steamInit: the current language */
#define STEAMBRIDGE_AVAILABLE_LANGUAGES_UNITS 512 /* steamInit: the available ones */
#define STEAMBRIDGE_NAME_UNITS 128                /* AchievementInfo: display name */
#define STEAMBRIDGE_DESCRIPTION_UNITS 256         /* AchievementInfo: description */
#define STEAMBRIDGE_STAT_NAME_UNITS 32            /* AchievementInfo: stat's API name */

/* Starts Steam. True when the client library was found and started. On
   success writes the current game language into the buffer of
   `languageSlot` and the game's available languages (comma-separated, as
   Steam gives them) into that of `availableLanguagesSlot`, each terminated
   and within its size above: a longer text is cut after the last whole
   language name that fits (a single name that does not fit leaves an empty
   text). A null slot, or one holding null, is skipped. On failure nothing is
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

/* ---- Achievements: numbered 1 to 61 ---------------------------------------- */

/* Unlocks achievement `number` on Steam and stores it. Returns what Steam's
   store answered; false before the user's stats have arrived, for a number
   outside 1..61 (nothing is called) and when not running. The unlock time
   follows with the next answered store. */
STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamAchievement(int32_t number);

/* Opens the Steam overlay on the achievements page. Nothing when not running. */
STEAMBRIDGE_API void STEAMBRIDGE_CALL steamAchievementsOverlay(void);

/* Resets every stat and achievement of the user on Steam and clears the
   local states, unlock times and values (texts stay). Nothing when not
   running. */
STEAMBRIDGE_API void STEAMBRIDGE_CALL steamResetAchievements(void);

/* ---- Stats: indexed 0 to 23, all integers --------------------------------- */

/* Sets stat `index` locally and, once the stats have arrived, sends all 24
   stats and stores them. Returns what Steam's store answered; false before
   the stats arrive (the value stays local and is replaced by Steam's when
   they come), for an index outside 0..23 (nothing changes) and when not
   running. */
STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamStat(int32_t index, int32_t value);

/* As steamStat, adding `delta` (32-bit, wrapping) to the local value. */
STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamStatIncrease(int32_t index, int32_t delta);

/* 1 once the user's stats and achievements have arrived from Steam, else 0. */
STEAMBRIDGE_API int32_t STEAMBRIDGE_CALL steamStatus(void);

/* 61 once the stats have arrived (as steamStatus), else 0. */
STEAMBRIDGE_API int32_t STEAMBRIDGE_CALL steamAchievementsCount(void);

/* ---- Achievement details --------------------------------------------------- */

/* One achievement for the host to show. The host owns the record and the
   buffers its slots name, of STEAMBRIDGE_NAME_UNITS,
   STEAMBRIDGE_DESCRIPTION_UNITS and STEAMBRIDGE_STAT_NAME_UNITS.

   32-bit layout (steambridge.dll), offsets in bytes:
     0 index, 4 nameSlot, 8 descriptionSlot, 12 achieved, 13 hasStat,
     14-15 never touched, 16 statMin, 20 statMax, 24 statValue,
     28 statNameSlot, 32 unlockTime; 36 bytes in all, nothing after
     offset 35 is touched.
   64-bit layout (steambridge64.dll, and the Linux build), the natural one of
   the same declaration: 0 index, 8 nameSlot, 16 descriptionSlot,
   24 achieved, 25 hasStat, 26-27 never touched, 28 statMin, 32 statMax,
   36 statValue, 40 statNameSlot, 48 unlockTime; 56 bytes in all, nothing
   after offset 51 is touched. */
/* clang-format off */
typedef struct AchievementInfo {
    int32_t index;                              /* written: number - 1 */
    SteamBridgeChar16* const* nameSlot;         /* read: display name */
    SteamBridgeChar16* const* descriptionSlot;  /* read: description */
    uint8_t achieved;                           /* written: 1 unlocked, 0 not */
    uint8_t hasStat;                            /* written: 1 when linked to a stat */
    uint8_t reserved[2];                        /* never touched */
    int32_t statMin;                            /* written when hasStat: 0 */
    int32_t statMax;                            /* written when hasStat: the target */
    int32_t statValue;                          /* written when hasStat: local value */
    SteamBridgeChar16* const* statNameSlot;     /* read when hasStat: stat's API name */
    uint32_t unlockTime;                        /* written when achieved: seconds since 1970 */
} AchievementInfo;
/* clang-format on */

/* Fills `info` for achievement `number`: the fields marked written above,
   the conditional ones only under their condition, and the texts through
   the slots (a null slot, or one holding null, is skipped). It shows what
   the bridge mirrors for the process: until the stats first arrive the name
   is the game's own title and the description empty; a later session shows
   the last texts and states Steam gave until its own stats arrive. Writes
   nothing before a successful steamInit, for a number outside 1..61 or a
   null record. Never calls Steam. */
STEAMBRIDGE_API void STEAMBRIDGE_CALL steamAchievementData(int32_t number, AchievementInfo* info);

/* ---- Leaderboard: one board at a time -------------------------------------- */

/* Forgets the current board and starts finding (or creating) the board named
   `name`, a terminated UTF-16 text converted to a narrow name under the
   process's current C locale. True when the search was started. False when
   not running, and when the name is null, needs more than 127 bytes, or holds
   a character the locale cannot convert: then no search starts and the
   current board stays as it was. */
STEAMBRIDGE_API bool STEAMBRIDGE_CALL steamSetLeaderBoardName(const SteamBridgeChar16* name);

/* 1 once the board of the last name given has been found, else 0. */
STEAMBRIDGE_API int32_t STEAMBRIDGE_CALL steamLeaderBoardFound(void);

/* Uploads `score` to the current board, keeping the user's best. 1 when it
   was sent (whatever Steam later answers); 0 when no board is known or not
   running, and then nothing is sent. */
STEAMBRIDGE_API int32_t STEAMBRIDGE_CALL steamUploadScore(int32_t score);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#define STEAMBRIDGE_LAYOUT_CHECK static_assert
#else
#define STEAMBRIDGE_LAYOUT_CHECK _Static_assert
#endif
#if UINTPTR_MAX == 0xFFFFFFFFu
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, nameSlot) == 4, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, descriptionSlot) == 8, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, achieved) == 12, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, hasStat) == 13, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, statMin) == 16, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, statMax) == 20, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, statValue) == 24, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, statNameSlot) == 28, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, unlockTime) == 32, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(sizeof(AchievementInfo) == 36, "AchievementInfo layout");
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, nameSlot) == 8, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, descriptionSlot) == 16,
                         "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, achieved) == 24, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, hasStat) == 25, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, statMin) == 28, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, statMax) == 32, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, statValue) == 36, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, statNameSlot) == 40, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(offsetof(AchievementInfo, unlockTime) == 48, "AchievementInfo layout");
STEAMBRIDGE_LAYOUT_CHECK(sizeof(AchievementInfo) == 56, "AchievementInfo layout");
#endif
#undef STEAMBRIDGE_LAYOUT_CHECK

#endif
